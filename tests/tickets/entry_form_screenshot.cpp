// Not a test: takes the documentation's picture of the entry form with a ticket being filled,
// on a real display (run it under xvfb-run), against a database with the demo data.
//
//   entry-form-screenshot HOST PORT DATABASE OUT.png
#include "db/appcontext.h"
#include "db/consql.h"
#include "db/query.h"
#include "lookup/tfnabadre.h"
#include "tickets/tfvstup.h"
#include "tickets/ticketeditor.h"
#include "ui_tfvstup.h"
#include "util/fileutil.h"
#include "util/pumpingdelay.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace vaha;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 5) {
        std::fputs("usage: entry-form-screenshot HOST PORT DATABASE OUT.png\n", stderr);
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    try {
        QTemporaryDir tmp;
        const QString scale = tmp.path() + QStringLiteral("/scale");
        QDir().mkpath(scale);
        writeLinesCp1250(tmp.path() + QStringLiteral("/vahaPLX.ini"),
                         {QStringLiteral("[VAHA]"), QStringLiteral("cestaVaha=") + scale});
        writeLinesCp1250(tmp.path() + QStringLiteral("/sklady.txt"),
                         {QStringLiteral("01;Sila Kyjov"), QStringLiteral("02;Sklad Čeložnice")});
        QDir::setCurrent(tmp.path());

        AppContext context;
        context.connection.setHost(args[1]);
        context.connection.setPort(args[2].toInt());
        context.connection.setUser(QStringLiteral("root"));
        context.connection.setDatabase(args[3]);
        db::prepareSession(context.connection);
        context.workstation = QStringLiteral("9");

        lookup::TFnabadre book;
        tickets::TFvstup form(context);
        form.setAddressBook(&book);
        form.FormCreate(tmp.path() + u'/');
        form.Tag = 0;
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            throw Error(QStringLiteral("The form was not shown"));
        Ui::TFvstup& u = form.ui();
        tickets::TicketEditor& t = form.logic();

        u.DBRadioGroup1_0->click();
        t.ZTable1.setString(u"ico", QStringLiteral("46900853"));
        t.partnerByIco(*book.zqAdre());
        t.ZTable1.setString(u"certifikat3", QStringLiteral("K-2025/117"));
        if (t.ZQueryKomo.locate(u"komodita", QStringLiteral("PSE"), true))
            t.takeCommodity();
        t.ZTable1.setString(u"spz", QStringLiteral("3B4 5521"));
        t.ZTable1.setString(u"vlek", QStringLiteral("3BP 1187"));
        t.ZTable1.setString(u"ridic", QStringLiteral("Josef Dvořák"));
        t.ZTable1.setString(u"mj", QStringLiteral("t"));
        t.ZTable1.setDisplayText(u"vlhkost", QStringLiteral("13,2"));
        t.ZTable1.setDisplayText(u"objem_hmot", QStringLiteral("78,5"));
        t.ZTable1.setDisplayText(u"necistoty", QStringLiteral("1,1"));
        u.RxDBComboBoxSklad->setCurrentIndex(0);
        t.ZTable1.setString(u"sklad", u.RxDBComboBoxSklad->currentText());
        t.ZTable1.setString(u"dodacilist", QStringLiteral("DL 4471"));
        u.CheckBox1->click();
        // Gross and tare as the scale program answers them.
        writeLinesCp1250(scale + QStringLiteral("/aktualni.log"),
                         {QStringLiteral("1;10.03.2025 07:41:12;30500|V1-118")});
        u.Button5->click();
        writeLinesCp1250(scale + QStringLiteral("/aktualni.log"),
                         {QStringLiteral("1;10.03.2025 07:52:40;10200|V1-119")});
        u.Button6->click();
        u.EditPOZNAMKA->setFocus();
        PumpingDelay(300);
        if (!form.grab().save(args[4]))
            throw Error(QStringLiteral("Cannot save ") + args[4]);
        form.reject();
    } catch (const Error& e) {
        std::fprintf(stderr, "entry-form-screenshot: %s\n", e.what());
        return 1;
    }
    return 0;
}
