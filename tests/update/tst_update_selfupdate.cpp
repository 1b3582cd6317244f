// The menu "Kontrola nové verze" with its busy window and messages, and the installer: built,
// published, fetched by the check and run, it replaces an older installed program.
#include "app/tfvaha.h"
#include "app/tpracuji.h"
#include "db/appcontext.h"
#include "installedprogram.h"
#include "localhttpserver.h"
#include "support/testdatabase.h"
#include "support/testutil.h"
#include "update/selfupdate.h"
#include "update/versioncheck.h"
#include "util/widgets/messages.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using namespace vaha::update;
using vaha::app::Tpracuji;
using vaha::app::WaitingGradient;
using vaha::test::kInstalledTime;
using vaha::test::LocalHttpServer;
using vaha::test::localText;
using vaha::test::readFile;
using vaha::test::setMtime;
using vaha::test::writeFile;
using vaha::ui::BoxKind;

namespace {

qint64 mtime(const QString& path) {
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

// Runs a program to its end; the test fails with its error output when it does not succeed.
bool run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return false;
    }
    return true;
}

QString sourceDir() {
    return vaha::test::TestDatabase::sourceDir();
}

bool hasDarkPixel(const QImage& image) {
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, image.height() / 2);
        if (c.red() < 40 && c.green() < 40 && c.blue() < 40)
            return true;
    }
    return false;
}

// Records the busy windows shown and the order of what the handler does.
class Observer : public QObject {
public:
    QStringList events;
    QStringList busyTexts;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* busy = qobject_cast<Tpracuji*>(watched))
                busyTexts << busy->Label1->text();
        return false;
    }
};

} // namespace

class TestSelfUpdate : public QObject {
    Q_OBJECT
    LocalHttpServer m_server;

private Q_SLOTS:
    void cleanup() { selfUpdateEnvironment() = {}; }

    void busyWindowAsStated() {
        Tpracuji pracuji;
        QCOMPARE(pracuji.objectName(), "pracuji");
        QCOMPARE(pracuji.size(), QSize(245, 65));
        QVERIFY(pracuji.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(pracuji.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        auto* label = pracuji.findChild<QLabel*>("Label1");
        QVERIFY(label);
        QCOMPARE(label->geometry(), QRect(5, 5, 236, 31));
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QVERIFY(label->wordWrap());
        auto* gradient = pracuji.findChild<WaitingGradient*>("JvWaitingGradient1");
        QVERIFY(gradient);
        QCOMPARE(gradient->x(), 20);
        QCOMPARE(gradient->y(), 45);
        QCOMPARE(gradient->width(), 201);

        pracuji.show();
        QCOMPARE(pracuji.geometry().center(),
                 QGuiApplication::primaryScreen()->availableGeometry().center());
        // The band sweeps and is drawn dark at its leading edge.
        const int first = gradient->bandLeft();
        QTRY_VERIFY(gradient->bandLeft() != first);
        QTRY_VERIFY(hasDarkPixel(gradient->grab().toImage()));
    }

    void menuOutcomes_data() {
        QTest::addColumn<QString>("published"); // second line of the version file; "" none
        QTest::addColumn<QByteArray>("installerHash");
        QTest::addColumn<int>("installerStatus");
        QTest::addColumn<int>("boxKind");
        QTest::addColumn<QString>("boxText");
        const QString later = "vahaPLX " + localText(kInstalledTime + 2) + ".000";
        const QByteArray wrong(64, 'a');
        const QString update =
            "Nyní bude aktualizován program Váha.\rBude proveden restart programu!";
        QTest::newRow("no new version")
            << "vahaPLX " + localText(kInstalledTime) + ".000" << QByteArray() << 200
            << int(BoxKind::Information) << "Není nová verze.";
        QTest::newRow("no version file")
            << "" << QByteArray() << 200 << int(BoxKind::Information) << "Není nová verze.";
        QTest::newRow("installer missing")
            << later << QByteArray() << 404 << int(BoxKind::Stop) << "Chyba připojení.";
        QTest::newRow("installer hash differs")
            << later << wrong << 200 << int(BoxKind::Stop) << "Chyba připojení.";
        QTest::newRow("newer build")
            << later << QByteArray() << 200 << int(BoxKind::Information) << update;
        QTest::newRow("version file of one line")
            << "-" << QByteArray() << 200 << int(BoxKind::Error) << "List index out of bounds (1)";
    }
    void menuOutcomes() {
        QFETCH(QString, published);
        QFETCH(QByteArray, installerHash);
        QFETCH(int, installerStatus);
        QFETCH(int, boxKind);
        QFETCH(QString, boxText);
        QTemporaryDir tmp;
        const QString dir = tmp.path() + '/';
        writeFile(dir + "vahaPLX", "installed");
        setMtime(dir + "vahaPLX", kInstalledTime);
        if (published == "-")
            m_server.setFile("/soubory/setupvahaplx.ver", "one line only\r\n");
        else if (published.isEmpty())
            m_server.remove("/soubory/setupvahaplx.ver");
        else
            m_server.setFile("/soubory/setupvahaplx.ver", "[vahaPLX]\r\n" + published.toLatin1() +
                                                              "\r\n" + installerHash + "\r\n");
        m_server.setReply("/soubory/setupvahaplx.run", {installerStatus, "#!/bin/sh\n", -1});

        Observer observer;
        SelfUpdateEnvironment& env = selfUpdateEnvironment();
        env.programDirectory = dir;
        env.baseUrl = m_server.baseUrl();
        env.startProgram = [&](const QString& commandLine) {
            observer.events << "start " + commandLine;
            return true;
        };
        env.terminateApplication = [&] {
            observer.events << "terminate";
        };

        AppContext context;
        app::TFvaha window(context);
        ui::BoxRecorder boxes;
        boxes.onBox = [&](const ui::ShownBox&) {
            observer.events << "box";
            for (const Tpracuji* busy : window.findChildren<Tpracuji*>())
                QVERIFY2(!busy->isVisible(), "busy window still shown");
        };
        qApp->installEventFilter(&observer);
        window.findChild<QAction*>("Kontrolanovverze1")->trigger();
        qApp->removeEventFilter(&observer);

        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(int(boxes.boxes()[0].kind), boxKind);
        QCOMPARE(boxes.boxes()[0].text, boxText);
        QCOMPARE(observer.busyTexts, QStringList{"Váha PLX - kontrola nové verze"});
        QVERIFY(window.findChildren<Tpracuji*>().isEmpty());
        if (boxText.startsWith("Nyní")) {
            QCOMPARE(
                observer.events,
                (QStringList{"box", "start setupvahaplx.run /DIR=\"" + dir + "\"", "terminate"}));
        } else {
            QCOMPARE(observer.events, QStringList{"box"});
        }
    }

    // The whole road: a build packed by the installer script, published, found newer by the
    // check, fetched, started; it replaces the installed program, which then counts as current.
    void publishedInstallerReplacesTheInstalledProgram() {
        QTemporaryDir tmp;
        const QString build = tmp.path() + "/build/";
        const QString served = tmp.path() + "/www/soubory/";
        const QString prog = tmp.path() + "/prog/";
        const qint64 buildTime = kInstalledTime + 86401; // odd: published down to even seconds
        const QByteArray newProgram = "#!/bin/sh\npwd > \"$(dirname \"$0\")/started.txt\"\n";
        writeFile(build + "vahaPLX", newProgram);
        QFile::setPermissions(build + "vahaPLX",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setMtime(build + "vahaPLX", buildTime);
        writeFile(build + "fr3/vaha1.fr3", "<new template/>");
        QVERIFY(run(sourceDir() + "/tools/installer/makeinstaller",
                    {"--output", build + "setupvahaplx.run", "--program", build + "vahaPLX",
                     "--files", build + "fr3"}));
        QVERIFY(run(sourceDir() + "/tools/publish", {build + "setupvahaplx.run", served}));

        const QByteArray installer = readFile(served + "setupvahaplx.run");
        QCOMPARE(readFile(served + "setupvahaplx.ver"),
                 "[vahaPLX]\r\nvahaPLX " + localText(buildTime - 1).toLatin1() + ".000\r\n" +
                     QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex() +
                     "  setupvahaplx.run\r\n");
        m_server.setFile("/soubory/setupvahaplx.ver", readFile(served + "setupvahaplx.ver"));
        m_server.setFile("/soubory/setupvahaplx.run", installer);

        writeFile(prog + "vahaPLX", "old program");
        setMtime(prog + "vahaPLX", kInstalledTime);
        writeFile(prog + "fr3/vaha1.fr3", "<the site's template/>");

        // The installer is found as the program finds it: by its bare name in the directory
        // where the check stored it, which is the current directory here.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(prog);
        bool terminated = false;
        SelfUpdateEnvironment& env = selfUpdateEnvironment();
        env.programDirectory = prog;
        env.baseUrl = m_server.baseUrl();
        env.terminateApplication = [&] {
            terminated = true;
        };
        {
            AppContext context;
            app::TFvaha window(context);
            ui::BoxRecorder boxes;
            window.Kontrolanovverze1Click();
            QCOMPARE(boxes.boxes().size(), 1);
            QVERIFY(boxes.boxes()[0].text.startsWith("Nyní bude aktualizován"));
        }
        QDir::setCurrent(previous);
        QVERIFY(terminated);

        // The new program was started by the installer, in the old program's directory.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(prog + "started.txt"), 30000);
        QTRY_COMPARE(readFile(prog + "started.txt").trimmed(),
                     QFile::encodeName(QDir(prog).canonicalPath()));
        QCOMPARE(readFile(prog + "vahaPLX"), newProgram);
        QCOMPARE(mtime(prog + "vahaPLX"), buildTime - 1);
        QCOMPARE(readFile(prog + "fr3/vaha1.fr3"), "<new template/>");
        QCOMPARE(readFile(prog + "fr3/vaha1.fr3.bak"), "<the site's template/>");
        QTRY_VERIFY(
            QDir(prog).entryList({".setupvahaplx*"}, QDir::AllEntries | QDir::Hidden).isEmpty());

        QCOMPARE(CheckNewVersion(prog, m_server.baseUrl(), "setupvahaplx", "vahaPLX", true), "N");
    }

    // The installer the build makes carries the program as built, with its build time.
    void builtInstallerHoldsTheBuiltProgram() {
        const QString bin = qEnvironmentVariable("VAHA_BINARY_DIR") + '/';
        QVERIFY(QFile::exists(bin + "setupvahaplx.run"));
        QTemporaryDir tmp;
        QVERIFY(run(bin + "setupvahaplx.run", {"/DIR=" + tmp.path() + "/", "/NOSTART"}));
        QCOMPARE(readFile(tmp.path() + "/vahaPLX"), readFile(bin + "vahaPLX"));
        const qint64 built = mtime(bin + "vahaPLX");
        QCOMPARE(mtime(tmp.path() + "/vahaPLX"), built - built % 2);
        QVERIFY(QFileInfo(tmp.path() + "/vahaPLX").isExecutable());
        const QDir templates(bin + "fr3");
        for (const QString& name : templates.entryList(QDir::Files))
            QCOMPARE(readFile(tmp.path() + "/fr3/" + name), readFile(templates.filePath(name)));
    }
};

QTEST_MAIN(TestSelfUpdate)
#include "tst_update_selfupdate.moc"
