#include "support/testutil.h"
#include "util/error.h"
#include "util/fileutil.h"
#include "util/process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace vaha;
using vaha::test::readFile;
using vaha::test::setMtime;
using vaha::test::writeFile;

class TestFileUtil : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString path(const QString& name) const { return m_tmp.path() + u'/' + name; }

private Q_SLOTS:
    void copyKeepsContentAndEvenSecondsTime() {
        QByteArray content;
        for (int i = 0; i < 40000; ++i) // more than two buffers
            content.append(char(i * 7));
        writeFile(path("src.ini"), content);
        setMtime(path("src.ini"), 1700000001);               // odd second
        writeFile(path("dst.txt"), QByteArray(100000, 'x')); // longer file is overwritten
        QVERIFY(CopyFileKeepDate(path("src.ini"), path("dst.txt")));
        QCOMPARE(readFile(path("dst.txt")), content);
        QCOMPARE(QFileInfo(path("dst.txt")).lastModified().toSecsSinceEpoch(), 1700000000);
        QCOMPARE(fromDateTimeValue(FileAgeDate(path("dst.txt"))),
                 QDateTime::fromSecsSinceEpoch(1700000000));
    }

    void copyEmptyAndMissingSource() {
        writeFile(path("empty"), QByteArray());
        QVERIFY(CopyFileKeepDate(path("empty"), path("empty.copy")));
        QCOMPARE(QFileInfo(path("empty.copy")).size(), 0);
        QVERIFY(!CopyFileKeepDate(path("missing"), path("never")));
        QVERIFY(!QFile::exists(path("never")));
        QVERIFY(!CopyFileKeepDate(path("empty"), path("no/such/dir/x")));
    }

    void fileDatesOfDirectoriesAndMissingPaths() {
        QDir(m_tmp.path()).mkdir(QStringLiteral("sub"));
        setMtime(path("sub"), 1600000002);
        QCOMPARE(fromDateTimeValue(FindFileDate(path("sub"))),
                 QDateTime::fromSecsSinceEpoch(1600000002));
        QCOMPARE(FileAgeDate(path("sub")), 0.0);
        QCOMPARE(FindFileDate(path("nothing")), 0.0);
        QCOMPARE(FileAgeDate(path("nothing")), 0.0);
    }

    void programDirectoryEndsWithSeparator() {
        QVERIFY(ProgramDirectory().endsWith(u'/'));
        QVERIFY(QFileInfo(ProgramDirectory() + QFileInfo(programFilePath()).fileName()).isFile());
    }

    void linesReadAndWrittenInCp1250() {
        writeFile(path("lines.txt"), QByteArray("A;Sklad \xe8. 1\r\nB\n\nC\rD\r\n"));
        QCOMPARE(readLinesCp1250(path("lines.txt")),
                 (QStringList{"A;Sklad č. 1", "B", "", "C", "D"}));
        writeLinesCp1250(path("out.txt"), {QStringLiteral("BEGIN;"), QStringLiteral("Váha")});
        QCOMPARE(readFile(path("out.txt")), QByteArray("BEGIN;\r\nV\xe1ha\r\n"));
    }

    void fileErrorsCarryThePlatformTexts() {
        try {
            readLinesCp1250(path("missing.txt"));
            QFAIL("no error");
        } catch (const Error& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Cannot open file \"")),
                     qPrintable(e.message()));
        }
        try {
            writeLinesCp1250(path("no/dir/aa.txt"), {QStringLiteral("x")});
            QFAIL("no error");
        } catch (const Error& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Cannot create file \"")),
                     qPrintable(e.message()));
        }
        // A line that cp1250 cannot hold is refused before the file is touched.
        writeFile(path("keep.txt"), "old");
        QVERIFY_THROWS_EXCEPTION(Error, writeLinesCp1250(path("keep.txt"), {QStringLiteral("😀")}));
        QCOMPARE(readFile(path("keep.txt")), QByteArray("old"));
    }

    void commandLinesSplitLikeTheInstallerExpects() {
        QCOMPARE(splitCommandLine(QStringLiteral("setupvahaplx.run /DIR=\"/opt/váha plx/\"")),
                 (QStringList{"setupvahaplx.run", "/DIR=/opt/váha plx/"}));
        QCOMPARE(splitCommandLine(QStringLiteral("  a   \"\"  b ")), (QStringList{"a", "", "b"}));
    }

    void startProgramRunsAndReportsMissing() {
        const QString script = path("hello.sh");
        writeFile(script, "#!/bin/sh\necho \"$1\" > \"$2\"\n");
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        QVERIFY(StartProgram(QStringLiteral("\"%1\" \"a b\" \"%2\"").arg(script, path("out")),
                             false, true));
        QCOMPARE(readFile(path("out")), QByteArray("a b\n"));
        QVERIFY(!StartProgram(QStringLiteral("no-such-program-anywhere"), true, false));
        QVERIFY(!StartProgram(QString(), false, false));
    }
};

QTEST_GUILESS_MAIN(TestFileUtil)
#include "tst_fileutil.moc"
