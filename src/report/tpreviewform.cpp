#include "report/tpreviewform.h"

#include "report/modal.h"
#include "report/printing.h"
#include "report/render.h"
#include "report/reportdocument.h"
#include "util/error.h"
#include "util/widgets/guarded.h"
#include "util/widgets/waitcursor.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace vaha::report {
namespace {

constexpr int kPageBorder = 16; // grey around the paper, in pixels
const double kZoomSteps[] = {0.25, 0.5, 0.75, 1, 1.5, 2, 3, 4};

QString zoomText(double zoom) {
    return QStringLiteral("%1 %").arg(std::lround(zoom * 100));
}

// A file name made of the title, without characters file systems refuse.
QString fileNameFor(const QString& title) {
    QString name = title.isEmpty() ? QStringLiteral("sestava") : title;
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name) {
        if (refused.contains(c))
            c = u'_';
    }
    return name + QStringLiteral(".pdf");
}

} // namespace

PageView::PageView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageView"));
}

double PageView::pixelsPerMm() const {
    return logicalDpiX() / 25.4 * m_zoom;
}

void PageView::setPage(const PreparedPage* page, double zoom) {
    m_page = page;
    m_zoom = zoom;
    resize(sizeHint());
    update();
}

QSize PageView::sizeHint() const {
    if (!m_page)
        return {2 * kPageBorder, 2 * kPageBorder};
    return {int(std::ceil(m_page->size.width() * pixelsPerMm())) + 2 * kPageBorder,
            int(std::ceil(m_page->size.height() * pixelsPerMm())) + 2 * kPageBorder};
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (!m_page)
        return;
    const QRectF paper(kPageBorder, kPageBorder, m_page->size.width() * pixelsPerMm(),
                       m_page->size.height() * pixelsPerMm());
    painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 90));
    painter.fillRect(paper, Qt::white);
    painter.translate(paper.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    renderPage(painter, *m_page, pixelsPerMm());
}

TPreviewForm::TPreviewForm(const ReportDocument& document, QWidget* parent)
    : QDialog(parent), m_document(document),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("frxPreviewForm"));
    const QString title = document.prepared().title;
    setWindowTitle(title.isEmpty() ? QStringLiteral("Náhled")
                                   : QStringLiteral("Náhled – %1").arg(title));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("PreviewScroll"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView;
    m_scroll->setWidget(m_view);
    m_scroll->viewport()->installEventFilter(this);
    layout->addWidget(m_scroll, 1);

    const auto& preview = document.reportTemplate().preview;
    resize(900, 700);
    if (preview.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_zoom = preview.zoom > 0 ? preview.zoom / 100.0 : 1.0;
    m_current = pageCount() > 0 ? 0 : -1;
    matchPrinterToReport(*m_printer, document.prepared());
    updateView();
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::buildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout()->addWidget(bar);
    auto add = [this, bar](const char* name, const QString& text, const QKeySequence& key,
                           void (TPreviewForm::*handler)()) {
        QAction* action = bar->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, ui::guarded(this, handler));
        return action;
    };
    add("PrintB", QStringLiteral("Tisk…"), QKeySequence::Print, &TPreviewForm::PrintBClick);
    add("PageSettingsB", QStringLiteral("Vzhled stránky…"), {}, &TPreviewForm::PageSettingsBClick);
    add("PdfB", QStringLiteral("Export do PDF…"), QKeySequence::Save, &TPreviewForm::PdfBClick);
    bar->addSeparator();
    add("ZoomOutB", QStringLiteral("−"), QKeySequence::ZoomOut, &TPreviewForm::ZoomOutBClick);
    m_zoomBox = new QComboBox(bar);
    m_zoomBox->setObjectName(QStringLiteral("ZoomCB"));
    for (double z : kZoomSteps)
        m_zoomBox->addItem(zoomText(z), z);
    m_zoomBox->addItem(QStringLiteral("Šířka stránky"), -1.0);
    m_zoomBox->addItem(QStringLiteral("Celá stránka"), -2.0);
    connect(m_zoomBox, &QComboBox::activated, this, ui::guarded(this, &TPreviewForm::ZoomCBChange));
    bar->addWidget(m_zoomBox);
    add("ZoomInB", QStringLiteral("+"), QKeySequence::ZoomIn, &TPreviewForm::ZoomInBClick);
    bar->addSeparator();
    add("FirstB", QStringLiteral("|◀"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        &TPreviewForm::FirstBClick);
    add("PriorB", QStringLiteral("◀"), QKeySequence(Qt::Key_PageUp), &TPreviewForm::PriorBClick);
    m_pageEdit = new QSpinBox(bar);
    m_pageEdit->setObjectName(QStringLiteral("PageE"));
    m_pageEdit->setKeyboardTracking(false);
    connect(m_pageEdit, &QSpinBox::valueChanged, this,
            ui::guarded(this, &TPreviewForm::PageEChange));
    bar->addWidget(m_pageEdit);
    m_pageCountLabel = new QLabel(bar);
    m_pageCountLabel->setObjectName(QStringLiteral("PageCountL"));
    bar->addWidget(m_pageCountLabel);
    add("NextB", QStringLiteral("▶"), QKeySequence(Qt::Key_PageDown), &TPreviewForm::NextBClick);
    add("LastB", QStringLiteral("▶|"), QKeySequence(Qt::CTRL | Qt::Key_End),
        &TPreviewForm::LastBClick);
    bar->addSeparator();
    QAction* close = bar->addAction(QStringLiteral("Zavřít"));
    close->setObjectName(QStringLiteral("CloseB"));
    connect(close, &QAction::triggered, this, &QDialog::accept);
}

int TPreviewForm::pageCount() const {
    return int(m_document.prepared().pages.size());
}

const PreparedPage* TPreviewForm::shownPage() const {
    return m_current >= 0 && m_current < pageCount()
               ? &m_document.prepared().pages[std::size_t(m_current)]
               : nullptr;
}

void TPreviewForm::updateView() {
    m_view->setPage(shownPage(), m_zoom);
    {
        const QSignalBlocker block(m_pageEdit);
        m_pageEdit->setRange(pageCount() > 0 ? 1 : 0, pageCount());
        m_pageEdit->setValue(m_current + 1);
    }
    m_pageCountLabel->setText(QStringLiteral(" / %1 ").arg(pageCount()));
    const QSignalBlocker block(m_zoomBox);
    const int index = m_zoomBox->findData(m_zoom);
    if (index >= 0) {
        m_zoomBox->setCurrentIndex(index);
    } else {
        m_zoomBox->setCurrentIndex(-1);
        m_zoomBox->setPlaceholderText(zoomText(m_zoom));
    }
    for (const char* name : {"PrintB", "PdfB"}) {
        if (auto* action = findChild<QAction*>(QString::fromLatin1(name)))
            action->setEnabled(pageCount() > 0);
    }
}

void TPreviewForm::setCurrentPage(int index) {
    if (pageCount() == 0)
        return;
    m_current = std::clamp(index, 0, pageCount() - 1);
    updateView();
}

void TPreviewForm::setZoom(double zoom) {
    m_zoom = std::clamp(zoom, 0.1, 8.0);
    updateView();
}

void TPreviewForm::ZoomInBClick() {
    for (double z : kZoomSteps) {
        if (z > m_zoom + 1e-6) {
            setZoom(z);
            return;
        }
    }
}

void TPreviewForm::ZoomOutBClick() {
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < m_zoom - 1e-6) {
            setZoom(*it);
            return;
        }
    }
}

void TPreviewForm::ZoomCBChange() {
    const double choice = m_zoomBox->currentData().toDouble();
    const PreparedPage* page = shownPage();
    if (choice > 0) {
        setZoom(choice);
    } else if (page) {
        const double mmToPx = logicalDpiX() / 25.4;
        const QSize area = m_scroll->viewport()->size() - QSize(2 * kPageBorder, 2 * kPageBorder);
        const double byWidth = area.width() / (page->size.width() * mmToPx);
        const double byHeight = area.height() / (page->size.height() * mmToPx);
        setZoom(choice == -1.0 ? byWidth : std::min(byWidth, byHeight));
    }
}

void TPreviewForm::FirstBClick() {
    setCurrentPage(0);
}

void TPreviewForm::PriorBClick() {
    setCurrentPage(m_current - 1);
}

void TPreviewForm::NextBClick() {
    setCurrentPage(m_current + 1);
}

void TPreviewForm::LastBClick() {
    setCurrentPage(pageCount() - 1);
}

void TPreviewForm::PageEChange() {
    setCurrentPage(m_pageEdit->value() - 1);
}

void TPreviewForm::PrintBClick() {
    if (pageCount() == 0)
        return;
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setMinMax(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (execModal(dialog) != QDialog::Accepted)
        return;
    bool printed = false;
    {
        ui::WaitCursor wait;
        printed = printPages(*m_printer, m_document.prepared());
    }
    if (!printed)
        throw Error(QStringLiteral("Tiskárna nezačala tisknout."));
}

void TPreviewForm::PageSettingsBClick() {
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setObjectName(QStringLiteral("PageSetupDialog"));
    execModal(dialog);
}

void TPreviewForm::PdfBClick() {
    if (pageCount() == 0)
        return;
    const QString suggested =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(fileNameFor(m_document.prepared().title));
    const QString path =
        askSaveFileName(this, QStringLiteral("Export do PDF"), suggested,
                        QStringLiteral("Dokument PDF (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    QProgressDialog progress(QStringLiteral("Export do PDF…"), QString(), 0, pageCount(), this);
    progress.setObjectName(QStringLiteral("PdfProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    ui::WaitCursor wait;
    m_document.exportPdf(path, [&progress](int done, int) { progress.setValue(done); });
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y();
            ui::runGuarded(this, [this, steps] {
                if (steps > 0)
                    ZoomInBClick();
                else if (steps < 0)
                    ZoomOutBClick();
            });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vaha::report
