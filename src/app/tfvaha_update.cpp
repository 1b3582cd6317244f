#include "app/tfvaha.h"
#include "app/tpracuji.h"
#include "update/selfupdate.h"
#include "update/updatenames.h"
#include "update/versioncheck.h"
#include "util/widgets/messages.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScopeGuard>
#include <memory>

namespace vaha::app {

// "Kontrola nové verze": the update check. With a newer build on the server the installer is
// started with the program directory and the program ends.
void TFvaha::Kontrolanovverze1Click() {
    // A busy window of its own; the one made at start stays untouched.
    const auto pracuji = std::make_unique<Tpracuji>(this);
    pracuji->Label1->setText(QStringLiteral("Váha PLX - kontrola nové verze"));
    pracuji->show();
    pracuji->raise();
    QCoreApplication::processEvents(); // painted once; the check blocks the program

    QString result;
    {
        const auto closeBusyWindow = qScopeGuard([&] { pracuji->close(); });
        result = update::CheckNewVersion(QString::fromUtf16(update::kInstallerBaseName),
                                         QString::fromUtf16(update::kProgramFileName), true);
    }

    if (result == QStringView(update::kResultNewer)) {
        ui::showMessage(
            this,
            QStringLiteral("Nyní bude aktualizován program Váha.\rBude proveden restart programu!"),
            ui::BoxKind::Information);
        QCoreApplication::processEvents();
        update::startInstaller(); // a failed start is not reported; the program ends anyway
        update::terminateApplication();
        QCoreApplication::processEvents();
        close();
    } else if (result == QStringView(update::kResultConnection)) {
        ui::showMessage(this, QStringLiteral("Chyba připojení."), ui::BoxKind::Stop);
    } else {
        ui::showMessage(this, QStringLiteral("Není nová verze."), ui::BoxKind::Information);
    }
}

} // namespace vaha::app
