// "Náhled" on the main window: the note of the selected ticket in the preview, the designer
// with "/ES", the stated failures, and the preview's and designer's own commands.
#include "app/tfvaha.h"
#include "db/appcontext.h"
#include "report/deliverynote.h"
#include "report/designcanvas.h"
#include "report/modal.h"
#include "report/report.h"
#include "report/tdesignerform.h"
#include "report/templatefile.h"
#include "report/tpreviewform.h"
#include "support/testdatabase.h"
#include "support/testutil.h"
#include "util/fileutil.h"
#include "util/widgets/messages.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace vaha;
using namespace vaha::report;
using vaha::test::TestDatabase;

namespace {

template <typename T> T* child(QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

const PreparedText* textNamed(const PreparedPage* page, const char* name) {
    if (!page)
        return nullptr;
    for (const PreparedText& t : page->texts) {
        if (t.name == QLatin1String(name))
            return &t;
    }
    return nullptr;
}

// What a run of "Náhled" showed.
struct Shown {
    QStringList dialogs;
    int pages = -1;
    QString number;  // the ticket number printed (Memo4)
    QString partner; // the partner printed (Memo12)
    bool maximized = false;
    double zoom = 0;
    bool queryOpen = false; // ZQuery2 while the window is shown
    QStringList fields;     // the data set's columns the designer offers
};

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    QTemporaryDir m_dir;

    // The main window on the test database with every ticket listed (no show sequence).
    struct Main {
        AppContext context;
        std::unique_ptr<app::TFvaha> window;
        ui::BoxRecorder boxes;
    };
    std::unique_ptr<Main> mainWindow(const QStringList& arguments = {}) {
        auto m = std::make_unique<Main>();
        auto& c = m->context.connection;
        c.setHost(TestDatabase::host());
        c.setPort(TestDatabase::port());
        c.setUser(QStringLiteral("root"));
        c.setDatabase(m_db->name());
        m->context.arguments = arguments;
        m->window = std::make_unique<app::TFvaha>(m->context);
        m->window->list().orderClause = QStringLiteral("order by id");
        m->window->list().udelejSQL(false, false, 0);
        return m;
    }

    static QString templatePath() { return deliveryNoteTemplatePath(); }

    // Clicks "Náhled" and records what the preview or designer showed.
    Shown preview(Main& m, const std::function<void(QDialog&)>& inside = {}) {
        Shown shown;
        DialogInterceptor interceptor;
        interceptor.onDialog = [&](QDialog& dialog) {
            shown.queryOpen = m.window->ZQuery2().isOpen();
            if (auto* p = qobject_cast<TPreviewForm*>(&dialog)) {
                shown.pages = p->pageCount();
                shown.maximized = p->windowState() & Qt::WindowMaximized;
                shown.zoom = p->zoom();
                if (const PreparedText* t = textNamed(p->shownPage(), "Memo4"))
                    shown.number = t->text;
                if (const PreparedText* t = textNamed(p->shownPage(), "Memo12"))
                    shown.partner = t->text;
            }
            if (dialog.objectName() == u"frxDesignerForm") {
                auto* tree = child<QTreeWidget>(&dialog, "DataTree");
                for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                    QTreeWidgetItem* top = tree->topLevelItem(i);
                    for (int k = 0; k < top->childCount(); ++k)
                        shown.fields << top->text(0) + u'.' + top->child(k)->text(0);
                }
            }
            if (inside)
                inside(dialog);
            return int(QDialog::Accepted);
        };
        child<QPushButton>(m.window.get(), "Button4")->click();
        shown.dialogs = interceptor.dialogs;
        return shown;
    }

private Q_SLOTS:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(
            QStringLiteral("insert into vazlab (id, cislodokla, datum, nazevpodni, netto) values "
                           "(51, 15, '2024-05-07', 'Zemědělská společnost Čejč a.s.', 20300),"
                           "(52, 16, '2024-05-08', 'Farma Žeravice s.r.o.', 18750)"));
    }

    // Every test starts from the supplied template beside the program.
    void init() {
        QDir().mkpath(ProgramDirectory() + QStringLiteral("fr3"));
        QDir(templatePath()).removeRecursively();
        QFile::remove(templatePath());
        QVERIFY(QFile::copy(TestDatabase::sourceDir() + QStringLiteral("/fr3/vaha1.fr3"),
                            templatePath()));
        QFile::setPermissions(templatePath(), QFile::ReadOwner | QFile::WriteOwner);
    }

    void twoRunsShowEachTheirTicket() {
        auto m = mainWindow();
        auto& list = m->window->list().ZQuery1;
        QVERIFY(list.locate(u"id", QStringLiteral("51")));
        const Shown first = preview(*m);
        QVERIFY(list.locate(u"id", QStringLiteral("52")));
        const Shown second = preview(*m);

        QCOMPARE(first.dialogs, QStringList{QStringLiteral("frxPreviewForm")});
        QCOMPARE(first.pages, 1);
        QCOMPARE(first.number, QStringLiteral("15"));
        QCOMPARE(first.partner, QStringLiteral("Zemědělská společnost Čejč a.s."));
        QCOMPARE(second.number, QStringLiteral("16"));
        QCOMPARE(second.partner, QStringLiteral("Farma Žeravice s.r.o."));
        // Modal, maximized, 100 %; the query open while shown and closed afterwards.
        QVERIFY(first.maximized);
        QCOMPARE(first.zoom, 1.0);
        QVERIFY(first.queryOpen);
        QVERIFY(!m->window->ZQuery2().isOpen());
        QCOMPARE(m->window->ZQuery2().sql(), (QStringList{QStringLiteral("select * from vazlab"),
                                                          QStringLiteral(" where id=52")}));
        QVERIFY(m->boxes.boxes().isEmpty());
    }

    void designerOnlyWithExactSwitch_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("/ES") << QStringList{"/ES"} << "frxDesignerForm";
        QTest::newRow("/es") << QStringList{"/es"} << "frxPreviewForm";
        QTest::newRow("none") << QStringList{} << "frxPreviewForm";
        QTest::newRow("/ES second") << QStringList{"x", "/ES"} << "frxPreviewForm";
    }
    void designerOnlyWithExactSwitch() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, dialog);
        auto m = mainWindow(arguments);
        const Shown shown = preview(*m);
        QCOMPARE(shown.dialogs, QStringList{dialog});
        if (dialog == u"frxDesignerForm") {
            // The selected ticket is there to design with, through frxDBDataset1.
            QVERIFY(shown.queryOpen);
            QVERIFY(shown.fields.contains(QStringLiteral("frxDBDataset1.NETTO")));
            QVERIFY(shown.fields.contains(QStringLiteral("frxDBDataset1.CISLODOKLA")));
        }
        QVERIFY(!m->window->ZQuery2().isOpen());
        QVERIFY(m->boxes.boxes().isEmpty());
    }

    // Without the template the preview shows no page and nothing is said; the designer starts a
    // new A4 page and its first save asks where, offering the template's place.
    void missingTemplate() {
        QVERIFY(QFile::remove(templatePath()));
        auto m = mainWindow();
        const Shown empty = preview(*m);
        QCOMPARE(empty.dialogs, QStringList{QStringLiteral("frxPreviewForm")});
        QCOMPARE(empty.pages, 0);
        QVERIFY(m->boxes.boxes().isEmpty());

        m->context.arguments = QStringList{QStringLiteral("/ES")};
        QString offered;
        const Shown designed = preview(*m, [&](QDialog& dialog) {
            DialogInterceptor answers;
            answers.onSaveFileName = [&](const QString&, const QString& suggested) {
                offered = suggested;
                return QString(suggested).chopped(4); // the user drops ".fr3"; it comes back
            };
            auto& designer = static_cast<TDesignerForm&>(dialog);
            const Page& page = designer.editor().page();
            QCOMPARE(QSizeF(page.width, page.height), QSizeF(210, 297));
            QCOMPARE(page.marginTop, 10.0);
            child<QAction>(&dialog, "InsertTextB")->trigger();
            child<QPlainTextEdit>(&dialog, "TextE")
                ->setPlainText(QStringLiteral("List [frxDBDataset1.\"CISLODOKLA\"]"));
            child<QAction>(&dialog, "SaveB")->trigger();
        });
        QCOMPARE(designed.dialogs, QStringList{QStringLiteral("frxDesignerForm")});
        QCOMPARE(offered, templatePath());
        QVERIFY(m->boxes.boxes().isEmpty());

        m->context.arguments.clear();
        const Shown again = preview(*m);
        QCOMPARE(again.pages, 1);
    }

    void failures_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("queryOpenAfter");
        QTest::newRow("no current row") << "empty list"
                                        << "SQL syntax" << false;
        QTest::newRow("preparation") << "unknown variable"
                                     << "neznámá proměnná \"cer9\"" << false;
        QTest::newRow("unreadable template") << "unreadable"
                                             << "Cannot open file" << true;
        QTest::newRow("not a template") << "not xml"
                                        << "Šablona" << true;
    }
    void failures() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        QFETCH(bool, queryOpenAfter);
        auto m = mainWindow();
        if (fault == u"empty list") {
            m->window->list().udelejSQL(false, true, toDateTimeValue(QDate(1990, 1, 1)));
        } else if (fault == u"unknown variable") {
            QFile file(templatePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray xml = file.readAll().replace("[cer1]", "[cer9]");
            file.close();
            test::writeFile(templatePath(), xml);
        } else if (fault == u"unreadable") {
            // There, but no file to read (permissions would not stop the tests' root user).
            QVERIFY(QFile::remove(templatePath()));
            QVERIFY(QDir().mkpath(templatePath()));
        } else {
            test::writeFile(templatePath(), "DODACÍ LIST");
        }
        const Shown shown = preview(*m);
        QVERIFY(shown.dialogs.isEmpty()); // nothing shown
        QCOMPARE(m->boxes.boxes().size(), 1);
        QCOMPARE(m->boxes.boxes()[0].kind, ui::BoxKind::Error);
        QVERIFY2(m->boxes.boxes()[0].text.contains(message), qPrintable(m->boxes.boxes()[0].text));
        QCOMPARE(m->window->ZQuery2().isOpen(), queryOpenAfter);
    }

    // The designer moves an object with the keys and the mouse and places it exactly; what it
    // saves loads again as the same report, and the next preview shows the object moved.
    void designerEditSavedAndShown() {
        auto m = mainWindow({QStringLiteral("/ES")});
        QVERIFY(m->window->list().ZQuery1.locate(u"id", QStringLiteral("51")));
        ReportTemplate edited;
        preview(*m, [&](QDialog& dialog) {
            auto& designer = static_cast<TDesignerForm&>(dialog);
            DesignCanvas& canvas = designer.canvas();
            // Click the quantity (band at the 10 mm margin; object at 111, 127).
            QTest::mouseClick(&canvas, Qt::LeftButton, {},
                              canvas.toWidget({10 + 115, 10 + 129}).toPoint());
            QVERIFY(designer.editor().selectedObject());
            QCOMPARE(designer.editor().selectedObject()->name, QStringLiteral("Memo23"));
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(&canvas, Qt::Key_Right);                 // 1 mm each
            QTest::keyClick(&canvas, Qt::Key_Down, Qt::ControlModifier); // 0.1 mm
            QTest::keyClick(&canvas, Qt::Key_Right, Qt::ShiftModifier);  // 1 mm wider
            const QPoint from = canvas.toWidget({10 + 118, 10 + 129.6}).toPoint();
            const QPoint to = from + QPoint(0, qRound(5 * canvas.pixelsPerMm()));
            QTest::mousePress(&canvas, Qt::LeftButton, {}, from);
            QTest::mouseMove(&canvas, to);
            QTest::mouseRelease(&canvas, Qt::LeftButton, {}, to);
            const TextObject* o = designer.editor().selectedObject();
            QCOMPARE(o->left, 114.0);
            QCOMPARE(o->top, 132.1);
            QCOMPARE(o->width, 26.0);
            // The exact position typed in millimetres.
            auto* top = child<QDoubleSpinBox>(&dialog, "TopE");
            top->setValue(133.25);
            QCOMPARE(o->top, 133.25);
            child<QPlainTextEdit>(&dialog, "TextE")
                ->setPlainText(QStringLiteral("[frxDBDataset1.\"NETTO\" / 1000] tun"));
            child<QAction>(&dialog, "SaveB")->trigger();
            edited = designer.editor().report();
        });
        QCOMPARE(m->boxes.boxes().size(), 0);
        QVERIFY(readTemplateFile(templatePath()) == edited);

        m->context.arguments.clear();
        PreparedText quantity;
        preview(*m, [&](QDialog& dialog) {
            quantity = *textNamed(static_cast<TPreviewForm&>(dialog).shownPage(), "Memo23");
        });
        QCOMPARE(quantity.rect, QRectF(10 + 114, 10 + 133.25, 26, 5));
        QCOMPARE(quantity.text, QStringLiteral("20,3 tun"));
    }

    // The preview's own commands: zoom, export to PDF replacing a file without asking, print
    // through the print dialog.
    void previewCommands() {
        auto m = mainWindow();
        const QString pdf = m_dir.filePath(QStringLiteral("note.pdf"));
        const QString printed = m_dir.filePath(QStringLiteral("printed.pdf"));
        test::writeFile(pdf, "old");
        QStringList asked;
        QStringList inner;
        preview(*m, [&](QDialog& dialog) {
            auto& preview = static_cast<TPreviewForm&>(dialog);
            child<QAction>(&dialog, "ZoomInB")->trigger();
            QCOMPARE(preview.zoom(), 1.5);
            child<QAction>(&dialog, "ZoomOutB")->trigger();
            child<QAction>(&dialog, "ZoomOutB")->trigger();
            QCOMPARE(preview.zoom(), 0.75);
            child<QAction>(&dialog, "NextB")->trigger(); // one page: stays
            QCOMPARE(preview.currentPage(), 0);

            DialogInterceptor printing;
            printing.onDialog = [&](QDialog& d) {
                inner << d.objectName();
                auto& print = static_cast<QPrintDialog&>(d);
                print.printer()->setOutputFormat(QPrinter::PdfFormat);
                print.printer()->setOutputFileName(printed);
                return int(QDialog::Accepted);
            };
            printing.onSaveFileName = [&](const QString& caption, const QString&) {
                asked << caption;
                return pdf;
            };
            child<QAction>(&dialog, "PdfB")->trigger();
            child<QAction>(&dialog, "PrintB")->trigger();
        });
        QCOMPARE(asked, QStringList{QStringLiteral("Export do PDF")});
        QCOMPARE(inner, QStringList{QStringLiteral("PrintDialog")});
        QVERIFY(test::readFile(pdf).startsWith("%PDF"));
        QVERIFY(test::readFile(printed).startsWith("%PDF"));
        QVERIFY(m->boxes.boxes().isEmpty());
    }

    // A PDF export that cannot write its file says why and leaves no hourglass behind.
    void failedExportLeavesNoHourglass() {
        auto m = mainWindow();
        preview(*m, [&](QDialog& dialog) {
            DialogInterceptor answers;
            answers.onSaveFileName = [&](const QString&, const QString&) {
                return m_dir.filePath(QStringLiteral("missing/note.pdf"));
            };
            child<QAction>(&dialog, "PdfB")->trigger();
            QVERIFY(!QApplication::overrideCursor());
        });
        QCOMPARE(m->boxes.boxes().size(), 1);
        QCOMPARE(m->boxes.boxes()[0].kind, ui::BoxKind::Error);
        QVERIFY2(m->boxes.boxes()[0].text.contains(QStringLiteral("Cannot create file")),
                 qPrintable(m->boxes.boxes()[0].text));
    }

    // The designer's preview shows the template as edited; one that cannot be prepared says why
    // and shows no preview.
    void designerPreview() {
        auto m = mainWindow({QStringLiteral("/ES")});
        QStringList inner;
        preview(*m, [&](QDialog& dialog) {
            auto& designer = static_cast<TDesignerForm&>(dialog);
            DialogInterceptor previews;
            previews.onDialog = [&](QDialog& d) {
                inner << d.objectName();
                return int(QDialog::Accepted);
            };
            QVERIFY(designer.editor().selectByName(QStringLiteral("Memo23")));
            auto* text = child<QPlainTextEdit>(&dialog, "TextE");
            text->setPlainText(QStringLiteral("[cer9]"));
            child<QAction>(&dialog, "PreviewB")->trigger();
            QVERIFY(inner.isEmpty());
            text->setPlainText(QStringLiteral("[cer1]"));
            child<QAction>(&dialog, "PreviewB")->trigger();
        });
        QCOMPARE(inner, QStringList{QStringLiteral("frxPreviewForm")});
        QCOMPARE(m->boxes.boxes().size(), 1);
        QCOMPARE(m->boxes.boxes()[0].kind, ui::BoxKind::Error);
        QVERIFY2(m->boxes.boxes()[0].text.startsWith(QStringLiteral("Sestavu nelze připravit:")),
                 qPrintable(m->boxes.boxes()[0].text));
        QVERIFY(m->boxes.boxes()[0].text.contains(QStringLiteral("neznámá proměnná \"cer9\"")));
    }

    void cleanupTestCase() {
        init(); // leave the supplied template in place
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_report_windows.moc"
