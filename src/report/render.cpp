#include "report/render.h"

#include "report/fonts.h"
#include "report/layout.h"

#include <QPaintDevice>
#include <QPainter>

namespace vaha::report {

void renderPage(QPainter& painter, const PreparedPage& page, double pixelsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    // Draw in layout units: fonts then take exactly the widths the layout measured.
    const double scale = pixelsPerMm / kLayoutUnitsPerMm;
    painter.scale(scale, scale);
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : kLayoutDpi;
    for (const PreparedText& text : page.texts) {
        QFont font = resolveFont(text.font);
        font.setPointSizeF(text.font.size * kLayoutDpi / deviceDpi);
        painter.setFont(font);
        for (const PreparedLine& line : text.lines) {
            painter.save();
            painter.translate(line.x * kLayoutUnitsPerMm, line.baseline * kLayoutUnitsPerMm);
            if (line.hScale != 1)
                painter.scale(line.hScale, 1);
            painter.drawText(QPointF(0, 0), line.text);
            painter.restore();
        }
    }
    painter.restore();
}

} // namespace vaha::report
