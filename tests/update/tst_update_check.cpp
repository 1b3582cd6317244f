// CheckNewVersion against a local HTTP server: the published time against the program file's
// time, verze.log, the installer download and its hash, and the cases without a version file.
#include "installedprogram.h"
#include "localhttpserver.h"
#include "support/testutil.h"
#include "update/selfupdate.h"
#include "update/versioncheck.h"
#include "util/cp1250.h"
#include "util/error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using namespace vaha::update;
using vaha::test::kInstalledTime;
using vaha::test::LocalHttpServer;
using vaha::test::localText;
using vaha::test::readFile;
using vaha::test::setMtime;
using vaha::test::writeFile;

namespace {

// "{LOCAL}" is the program file's time as text, "{LOCAL+1}" one second later, "{LOCAL16}"
// its first 16 characters.
QString expand(QString text) {
    text.replace("{LOCAL+1}", localText(kInstalledTime + 1));
    text.replace("{LOCAL16}", localText(kInstalledTime).left(16));
    text.replace("{LOCAL}", localText(kInstalledTime));
    return text;
}

// A program directory with the installed program file.
struct Installation {
    QTemporaryDir tmp;
    QString dir() const { return tmp.path() + '/'; }
    QString path(const QString& name) const { return dir() + name; }
    explicit Installation(bool withProgram = true) {
        if (withProgram) {
            writeFile(path("vahaPLX"), "installed program");
            setMtime(path("vahaPLX"), kInstalledTime);
        }
    }
};

QByteArray versionFile(const QString& secondLine, const QByteArray& more = {}) {
    return "[vahaPLX]\r\n" + cp1250::encode(expand(secondLine)) + "\r\n" + more;
}

QByteArray sha256Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

const QByteArray kInstaller = "#!/bin/sh\necho new build\n";

} // namespace

class TestCheckNewVersion : public QObject {
    Q_OBJECT
    LocalHttpServer m_server;

    QString check(const Installation& inst, bool download) {
        return CheckNewVersion(inst.dir(), m_server.baseUrl(), "setupvahaplx", "vahaPLX", download);
    }

private Q_SLOTS:
    void cleanup() { selfUpdateEnvironment() = {}; }

    void init() {
        m_server.remove("/soubory/setupvahaplx.ver");
        m_server.remove("/soubory/setupvahaplx.run");
    }

    // Without downloading the installer: the texts, the comparison and the report.
    void versionTexts_data() {
        QTest::addColumn<QString>("secondLine");
        QTest::addColumn<bool>("programInstalled");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("local");
        QTest::newRow("equal texts") << "vahaPLX {LOCAL}.000" << true << "N"
                                     << "{LOCAL}"
                                     << "{LOCAL}";
        QTest::newRow("one second later") << "vahaPLX {LOCAL+1}.000" << true << "A"
                                          << "{LOCAL+1}"
                                          << "{LOCAL}";
        QTest::newRow("program name in another case marks too")
            << "VAHAplx {LOCAL+1}.000" << true << "A"
            << "{LOCAL+1}"
            << "{LOCAL}";
        QTest::newRow("blanks and tabs around the parts")
            << " vahaPLX \t{LOCAL} .000 \t" << true << "N"
            << "{LOCAL}"
            << "{LOCAL}";
        QTest::newRow("without the program name the text is empty")
            << "{LOCAL+1}.000" << true << "N"
            << ""
            << "{LOCAL}";
        QTest::newRow("without the program name: what follows the first .000")
            << "x.000 2099-01-01 00:00:00" << true << "A"
            << "2099-01-01 00:00:00"
            << "{LOCAL}";
        QTest::newRow("missing program file counts as 1899-12-30")
            << "vahaPLX 2000-01-01 00:00:00.000" << false << "A"
            << "2000-01-01 00:00:00"
            << "1899-12-30 00:00:00";
        QTest::newRow("compared as text, not as a date")
            << "vahaPLX 2024-5-1 00:00:00.000" << true << "A"
            << "2024-5-1 00:00:00"
            << "{LOCAL}";
        QTest::newRow("a prefix is smaller") << "vahaPLX {LOCAL16}.000" << true << "N"
                                             << "{LOCAL16}"
                                             << "{LOCAL}";
        QTest::newRow("Windows-1250 text in the report") << "vahaPLX verze č. 2.000" << true << "A"
                                                         << "verze č. 2"
                                                         << "{LOCAL}";
    }
    void versionTexts() {
        QFETCH(QString, secondLine);
        QFETCH(bool, programInstalled);
        QFETCH(QString, result);
        QFETCH(QString, remote);
        QFETCH(QString, local);
        Installation inst(programInstalled);
        m_server.setFile("/soubory/setupvahaplx.ver", versionFile(secondLine));

        QCOMPARE(check(inst, false), result);
        QCOMPARE(readFile(inst.path("verze.log")),
                 cp1250::encode("Verze programu: " + expand(local) +
                                "\r\nVerze internet: " + expand(remote) + "\r\n"));
        QVERIFY(!QFile::exists(inst.path("setupvahaplx.run")));
    }

    // A newer build with the download flag: the installer and what makes it unusable.
    void installer_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("breakOffAfter");
        QTest::addColumn<QByteArray>("hashLine");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QByteArray>("installerAfter"); // null: no installer file
        const QByteArray stale = "stale installer";
        const QByteArray good = sha256Hex(kInstaller);
        const QByteArray wrong = sha256Hex("something else");
        QTest::newRow("fetched") << 200 << -1 << QByteArray() << "A" << kInstaller;
        QTest::newRow("hash matches") << 200 << -1 << good + "  setupvahaplx.run"
                                      << "A" << kInstaller;
        QTest::newRow("bare hash in capitals") << 200 << -1 << good.toUpper() << "A" << kInstaller;
        QTest::newRow("hash of another file ignored") << 200 << -1 << wrong + "  setupvahaplx.exe"
                                                      << "A" << kInstaller;
        QTest::newRow("hash differs") << 200 << -1 << wrong + "  setupvahaplx.run"
                                      << "E" << QByteArray();
        QTest::newRow("installer 404 keeps the stale one, not used")
            << 404 << -1 << QByteArray() << "E" << stale;
        QTest::newRow("installer broken off") << 200 << 10 << QByteArray() << "E" << stale;
    }
    void installer() {
        QFETCH(int, status);
        QFETCH(int, breakOffAfter);
        QFETCH(QByteArray, hashLine);
        QFETCH(QString, result);
        QFETCH(QByteArray, installerAfter);
        Installation inst;
        writeFile(inst.path("setupvahaplx.run"), "stale installer");
        m_server.setFile("/soubory/setupvahaplx.ver",
                         versionFile("vahaPLX {LOCAL+1}.000", hashLine + "\r\n"));
        m_server.setReply("/soubory/setupvahaplx.run", {status, kInstaller, breakOffAfter});

        QCOMPARE(check(inst, true), result);
        QVERIFY(QFile::exists(inst.path("verze.log")));
        if (installerAfter.isNull()) {
            QVERIFY(!QFile::exists(inst.path("setupvahaplx.run")));
        } else {
            QCOMPARE(readFile(inst.path("setupvahaplx.run")), installerAfter);
            if (result == "A") // ready to be started
                QVERIFY(QFileInfo(inst.path("setupvahaplx.run")).isExecutable());
        }
    }

    void downloadFlagClearedFetchesNoInstaller() {
        Installation inst;
        m_server.setFile("/soubory/setupvahaplx.ver", versionFile("vahaPLX {LOCAL+1}.000"));
        m_server.setFile("/soubory/setupvahaplx.run", kInstaller);
        const qsizetype before = m_server.requests().size();
        QCOMPARE(check(inst, false), "A");
        QCOMPARE(m_server.requests().size(), before + 1); // the version file only
        QVERIFY(!QFile::exists(inst.path("setupvahaplx.run")));
    }

    // No version file obtained: "N", nothing written, an old version file never used.
    void noVersionFile_data() {
        QTest::addColumn<bool>("serverRunning");
        QTest::newRow("version file 404, an older one lying there") << true;
        QTest::newRow("no server") << false;
    }
    void noVersionFile() {
        QFETCH(bool, serverRunning);
        Installation inst;
        writeFile(inst.path("setupvahaplx.ver"), versionFile("vahaPLX 2099-01-01 00:00:00.000"));
        QString baseUrl = m_server.baseUrl();
        if (!serverRunning) {
            QTcpServer probe; // a port that was just free
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            baseUrl = QString("http://127.0.0.1:%1/soubory/").arg(probe.serverPort());
        }
        QCOMPARE(CheckNewVersion(inst.dir(), baseUrl, "setupvahaplx", "vahaPLX", true), "N");
        QVERIFY(!QFile::exists(inst.path("setupvahaplx.ver")));
        QVERIFY(!QFile::exists(inst.path("verze.log")));
        QVERIFY(!QFile::exists(inst.path("setupvahaplx.run")));
    }

    void versionFileWithoutSecondLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("one line") << QByteArray("vahaPLX 2099-01-01 00:00:00.000\r\n");
        QTest::newRow("empty") << QByteArray();
    }
    void versionFileWithoutSecondLine() {
        QFETCH(QByteArray, content);
        Installation inst;
        m_server.setFile("/soubory/setupvahaplx.ver", content);
        try {
            check(inst, true);
            QFAIL("no error");
        } catch (const Error& e) {
            QCOMPARE(e.message(), "List index out of bounds (1)");
        }
        QVERIFY(!QFile::exists(inst.path("verze.log")));
    }

    // The address comes from [UPDATE] BaseURL of vahaPLX.ini beside the program.
    void baseAddressFromProgramConfiguration() {
        Installation inst;
        SelfUpdateEnvironment& env = selfUpdateEnvironment();
        env.programDirectory = inst.dir();
        QCOMPARE(updateBaseUrl(), "http://localhost/soubory/");

        writeFile(inst.path("vahaPLX.ini"),
                  "[VAHA]\r\ncestaVaha=/mnt/vaha\r\n[UPDATE]\r\nBaseURL=" +
                      m_server.baseUrl().toLatin1() + "\r\n");
        m_server.setFile("/soubory/setupvahaplx.ver", versionFile("vahaPLX {LOCAL}.000"));
        QCOMPARE(CheckNewVersion("setupvahaplx", "vahaPLX", true), "N");
        QVERIFY(QFile::exists(inst.path("verze.log")));
    }
};

QTEST_GUILESS_MAIN(TestCheckNewVersion)
#include "tst_update_check.moc"
