#include "app/startup.h"

#include "app/tfvaha.h"
#include "app/tpracuji.h"
#include "db/appcontext.h"
#include "lookup/tfnabadre.h"
#include "report/pdfcommand.h"
#include "tickets/tfvstup.h"
#include "util/widgets/guarded.h"

#include <QFont>

namespace vaha::app {

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
}

int runVahaPLX(int argc, char** argv) {
    report::choosePdfCommandPlatform(argc, argv); // --pdf needs no display
    ui::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vahaPLX"));
    QApplication::setApplicationDisplayName(QStringLiteral("Váha PLX"));
    installFontSubstitutes();
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));

    AppContext context;
    context.arguments = QApplication::arguments().mid(1);
    if (context.arguments.value(0) == QStringLiteral("--pdf"))
        return report::runPdfCommand(context.arguments);

    TFvaha Fvaha(context);
    tickets::TFvstup Fvstup(context, &Fvaha);
    lookup::TFnabadre Fnabadre(&Fvaha);
    Tpracuji pracuji(&Fvaha);
    Fvaha.setEntryForm(&Fvstup);
    Fvstup.setAddressBook(&Fnabadre);

    Fvaha.show();
    return QApplication::exec();
}

} // namespace vaha::app
