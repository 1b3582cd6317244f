#include "report/printing.h"

#include "report/render.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace vaha::report {

void matchPrinterToReport(QPrinter& printer, const PreparedReport& report) {
    if (report.pages.empty())
        return;
    const QSizeF size = report.pages.front().size;
    const bool landscape = size.width() > size.height();
    const QSizeF portrait = landscape ? size.transposed() : size;
    printer.setPageLayout(QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

bool printPages(QPrinter& printer, const PreparedReport& report) {
    const int count = int(report.pages.size());
    int from = 1, to = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    if (from > to)
        return true;
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double pixelsPerMm = printer.resolution() / 25.4;
    for (int i = from; i <= to; ++i) {
        if (i > from)
            printer.newPage();
        renderPage(painter, report.pages[std::size_t(i - 1)], pixelsPerMm);
    }
    return painter.end();
}

} // namespace vaha::report
