// DownloadToFile against a local HTTP server: what is stored, what counts as "opened", and
// that a failed or broken-off download never leaves something that passes for the file.
#include "localhttpserver.h"
#include "support/testutil.h"
#include "update/download.h"
#include "util/error.h"

#include <QDir>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using vaha::test::LocalHttpServer;
using vaha::test::readFile;
using vaha::test::writeFile;
using vaha::update::DownloadToFile;

namespace {
QByteArray everyByteValue(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + i / 256) & 0xff);
    return bytes;
}
} // namespace

class TestDownload : public QObject {
    Q_OBJECT
    LocalHttpServer m_server;

private Q_SLOTS:
    void outcome_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("breakOffAfter");
        QTest::addColumn<bool>("stored");
        QTest::newRow("body stored byte for byte") << 200 << everyByteValue(300000) << -1 << true;
        QTest::newRow("empty body empties the file") << 200 << QByteArray() << -1 << true;
        QTest::newRow("404 page is not stored")
            << 404 << QByteArray("<h1>Not Found</h1>") << -1 << false;
        QTest::newRow("500 page is not stored") << 500 << QByteArray("oops\r\n") << -1 << false;
        QTest::newRow("broken-off transfer is not stored")
            << 200 << everyByteValue(200000) << 70000 << false;
    }
    void outcome() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(int, breakOffAfter);
        QFETCH(bool, stored);
        QTemporaryDir tmp;
        const QString target = tmp.path() + "/setupvahaplx.ver";
        writeFile(target, "the earlier file");
        m_server.setReply("/soubory/x", {status, body, breakOffAfter});

        QCOMPARE(DownloadToFile(m_server.baseUrl() + "x", target), stored);
        QCOMPARE(readFile(target), stored ? body : QByteArray("the earlier file"));
        // No temporary file is left behind.
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"setupvahaplx.ver"});
    }

    void unreachableServerCreatesNothing() {
        quint16 port = 0;
        {
            QTcpServer probe; // a port that was just free
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        QTemporaryDir tmp;
        const QString target = tmp.path() + "/f";
        QVERIFY(!DownloadToFile(QString("http://127.0.0.1:%1/soubory/f").arg(port), target));
        QVERIFY(!QFile::exists(target));
    }

    void alwaysAsksTheServerNotACache() {
        QTemporaryDir tmp;
        m_server.setFile("/soubory/fresh", "x");
        QVERIFY(DownloadToFile(m_server.baseUrl() + "fresh", tmp.path() + "/fresh"));
        const QString request = m_server.requests().constLast();
        QVERIFY2(request.startsWith("GET /soubory/fresh "), qPrintable(request));
        QVERIFY2(request.contains("Cache-Control: no-cache", Qt::CaseInsensitive),
                 qPrintable(request));
        QVERIFY2(request.contains("Pragma: no-cache", Qt::CaseInsensitive), qPrintable(request));
    }

    // The address is opened first; only content that arrived needs a file.
    void fileThatCannotBeCreated_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("raises");
        QTest::newRow("content arrived: the create error") << 200 << true;
        QTest::newRow("address not opened: just false") << 404 << false;
    }
    void fileThatCannotBeCreated() {
        QFETCH(int, status);
        QFETCH(bool, raises);
        QTemporaryDir tmp;
        const QString target = tmp.path() + "/no/such/folder/f";
        m_server.setReply("/soubory/c", {status, "content", -1});
        try {
            QVERIFY(!DownloadToFile(m_server.baseUrl() + "c", target));
            QVERIFY(!raises);
        } catch (const Error& e) {
            QVERIFY2(raises, qPrintable(e.message()));
            QVERIFY2(e.message().startsWith("Cannot create file \"" + target + "\"."),
                     qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_update_download.moc"
