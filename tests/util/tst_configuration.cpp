#include "support/testutil.h"
#include "util/configuration.h"
#include "util/error.h"
#include "util/inifile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using vaha::test::writeFile;

class TestConfiguration : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString path(const QString& name) const { return m_tmp.path() + u'/' + name; }
    LogonSettings current() const {
        return {QStringLiteral("localhost"),
                QStringLiteral("root"),
                QString(),
                QString(),
                QString(),
                QString(),
                QString()};
    }

private Q_SLOTS:
    void iniRules_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("case of section and key ignored")
            << QByteArray("[logon]\nsqlPORT=3307\n") << "SQLport"
            << "3307";
        QTest::newRow("blanks around value dropped")
            << QByteArray("[LogON]\nIP =  10.0.0.5  \n") << "IP"
            << "10.0.0.5";
        QTest::newRow("empty value is empty, not default")
            << QByteArray("[LogON]\nSQLport=\n") << "SQLport"
            << "";
        QTest::newRow("missing key gives default") << QByteArray("[LogON]\nIP=x\n") << "SQLport"
                                                   << "3306";
        QTest::newRow("other section ignored")
            << QByteArray("[Other]\nSQLport=1\n[LogON]\n") << "SQLport"
            << "3306";
        QTest::newRow("first duplicate wins") << QByteArray("[LogON]\nIP=a\nIP=b\n") << "IP"
                                              << "a";
        QTest::newRow("comment lines") << QByteArray("[LogON]\n;IP=a\n#IP=b\nIP=c\n") << "IP"
                                       << "c";
        QTest::newRow("quoted value")
            << QByteArray("[LogON]\nPassword=\" tajn\xe9 \"\n") << "Password"
            << " tajné ";
        QTest::newRow("cp1250 value") << QByteArray("[LogON]\nUser=\x9eofie\r\n") << "User"
                                      << "žofie";
        QTest::newRow("database default without key") << QByteArray("[LogON]\nIP=x\n") << "Database"
                                                      << "trivon";
        QTest::newRow("utf-8 signature tolerated")
            << QByteArray("\xEF\xBB\xBF[LogON]\nCisloPC=7\n") << "CisloPC"
            << "7";
    }
    void iniRules() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        writeFile(path("trivon05.ini"), ini);
        const LogonSettings s = readLogonSettings(path("trivon05.ini"), current());
        const QMap<QString, QString> values{{"IP", s.host},
                                            {"User", s.user},
                                            {"Password", s.password},
                                            {"Database", s.database},
                                            {"SQLport", s.sqlPort},
                                            {"OPENport", s.openPort},
                                            {"CisloPC", s.workstation}};
        QCOMPARE(values.value(key), expected);
    }

    void missingFileGivesDefaults() {
        LogonSettings cur = current();
        cur.workstation = QStringLiteral("9");
        const LogonSettings s = readLogonSettings(path("does-not-exist.ini"), cur);
        QCOMPARE(s.host, QStringLiteral("localhost"));
        QCOMPARE(s.user, QStringLiteral("root"));
        QCOMPARE(s.password, QString());
        QCOMPARE(s.database, QStringLiteral("trivon"));
        QCOMPARE(s.sqlPort, QStringLiteral("3306"));
        QCOMPARE(s.openPort, QString());
        QCOMPARE(s.workstation, QStringLiteral("9"));
    }

    void programSettings() {
        writeFile(path("vahaPLX.ini"),
                  "[VAHA]\ncestaVaha=/srv/vaha\nport=COM1\n[UPDATE]\nBaseURL=http://127.0.0.1:8080/"
                  "soubory/\n");
        QCOMPARE(readScaleDirectory(path("vahaPLX.ini")), QStringLiteral("/srv/vaha"));
        QCOMPARE(readUpdateBaseUrl(path("vahaPLX.ini"), QStringLiteral("x")),
                 QStringLiteral("http://127.0.0.1:8080/soubory/"));
        QCOMPARE(readScaleDirectory(path("none.ini")), QString());
        QCOMPARE(readUpdateBaseUrl(path("none.ini"), QStringLiteral("x")), QStringLiteral("x"));
    }

    void warehouses() {
        writeFile(path("sklady.txt"), "01;Sila Kyjov\r\n02;Sklad \xe8.2;nav\xed"
                                      "c\r\nbez\r\n\r\n01;Sila Kyjov\r\n");
        const QList<Warehouse> w = loadWarehouses(path("sklady.txt"));
        QStringList shown;
        for (const Warehouse& x : w)
            shown << x.shownText;
        QCOMPARE(shown,
                 (QStringList{"01 Sila Kyjov", "02 Sklad č.2", "bez ", " ", "01 Sila Kyjov"}));
        QCOMPARE(w[1].code, QStringLiteral("02"));
        QVERIFY_THROWS_EXCEPTION(Error, loadWarehouses(path("no-sklady.txt")));

        // The file is Windows-1250 by definition: one saved as UTF-8 shows its bytes as such.
        writeFile(path("sklady-utf8.txt"), "01;Kojet\xc3\xadn\r\n");
        QCOMPARE(loadWarehouses(path("sklady-utf8.txt")).value(0).shownText,
                 QStringLiteral("01 Kojet\u0102\u00adn"));
    }

    void workstationNumbers_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("valid");
        QTest::newRow("digits") << "3" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("letters underscore") << "Kancl_2" << true;
        QTest::newRow("quote") << "3'" << false;
        QTest::newRow("space") << "3 a" << false;
        QTest::newRow("semicolon") << "3;drop" << false;
        QTest::newRow("accent") << "č3" << false;
        QTest::newRow("too long") << QString(58, u'a') << false;
    }
    void workstationNumbers() {
        QFETCH(QString, number);
        QFETCH(bool, valid);
        QCOMPARE(isValidWorkstationNumber(number), valid);
        if (!valid)
            QVERIFY_THROWS_EXCEPTION(Error, validateWorkstationNumber(number));
    }
};

QTEST_GUILESS_MAIN(TestConfiguration)
#include "tst_configuration.moc"
