#pragma once

#include <QDialog>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;

namespace vaha::report {

class ReportDocument;
struct PreparedPage;

// One prepared page drawn at a zoom, on white paper.
class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);
    void setPage(const PreparedPage* page, double zoom);
    const PreparedPage* page() const { return m_page; }
    double pixelsPerMm() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PreparedPage* m_page = nullptr;
    double m_zoom = 1;
};

// The modal preview of the prepared pages: print (default printer, print dialog), page setup,
// zoom, page navigation and export to PDF.
class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    TPreviewForm(const ReportDocument& document, QWidget* parent = nullptr);
    ~TPreviewForm() override;

    int pageCount() const;
    int currentPage() const { return m_current; } // 0-based; -1 without pages
    void setCurrentPage(int index);
    double zoom() const { return m_zoom; } // 1 = 100 %
    void setZoom(double zoom);
    const PreparedPage* shownPage() const;
    QPrinter& printer() { return *m_printer; }

    // Toolbar handlers.
    void PrintBClick();
    void PageSettingsBClick();
    void PdfBClick();
    void ZoomInBClick();
    void ZoomOutBClick();
    void ZoomCBChange();
    void FirstBClick();
    void PriorBClick();
    void NextBClick();
    void LastBClick();
    void PageEChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void updateView();

    const ReportDocument& m_document;
    std::unique_ptr<QPrinter> m_printer;
    bool m_printerSetUp = false;
    int m_current = -1;
    double m_zoom = 1;
    QScrollArea* m_scroll = nullptr;
    PageView* m_view = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QSpinBox* m_pageEdit = nullptr;
    QLabel* m_pageCountLabel = nullptr;
};

} // namespace vaha::report
