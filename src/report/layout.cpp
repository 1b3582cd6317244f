#include "report/layout.h"

#include "report/fonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>
#include <cmath>

namespace vaha::report {
namespace {

// A paint device of the layout resolution, only for its metrics.
const QPaintDevice& layoutDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(kLayoutDpi / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

QFontMetricsF metrics(const QFont& font) {
    return QFontMetricsF(font, &layoutDevice());
}

double toMm(double units) {
    return units / kLayoutUnitsPerMm;
}

QString withoutTrailingBlanks(QStringView text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1].isSpace())
        --n;
    return text.left(n).toString();
}

// Where word wrap breaks one paragraph in the given width (layout units).
QStringList wrapParagraph(const QString& paragraph, const QFont& font, double width) {
    QTextLayout layout(paragraph, font, &layoutDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        lines << paragraph.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

} // namespace

PreparedText layoutText(const TextObject& object, const QString& text, QPointF bandOrigin) {
    PreparedText out;
    out.name = object.name;
    out.rect = object.rect().translated(bandOrigin);
    out.font = object.font;
    out.text = text;

    const QFont font = resolveFont(object.font);
    const QFontMetricsF fm = metrics(font);
    const double lineStep = toMm(fm.lineSpacing());
    const double ascent = toMm(fm.ascent());
    const double available = object.width - 2 * kTextPaddingX;
    const double innerHeight = object.height - 2 * kTextPaddingY;
    const bool wrap = object.wordWrap && innerHeight + 0.01 >= 2 * lineStep && available > 0;

    QStringList lines;
    QString paragraphs = text;
    paragraphs.remove(u'\r');
    for (const QString& paragraph : paragraphs.split(u'\n')) {
        if (wrap)
            lines << wrapParagraph(paragraph, font, available * kLayoutUnitsPerMm);
        else
            lines << paragraph;
    }
    if (text.isEmpty())
        return out;

    const double textHeight = lines.size() * lineStep;
    double y = out.rect.top() + kTextPaddingY;
    if (object.vAlign == VAlign::Center)
        y += (innerHeight - textHeight) / 2;
    else if (object.vAlign == VAlign::Bottom)
        y += innerHeight - textHeight;

    for (const QString& line : lines) {
        PreparedLine p;
        p.text = withoutTrailingBlanks(line);
        const double natural = toMm(fm.horizontalAdvance(p.text));
        p.hScale = available > 0 && natural > available ? available / natural : 1;
        p.width = natural * p.hScale;
        p.x = out.rect.left() + kTextPaddingX;
        if (object.hAlign == HAlign::Center)
            p.x += (available - p.width) / 2;
        else if (object.hAlign == HAlign::Right)
            p.x += available - p.width;
        p.baseline = y + ascent;
        y += lineStep;
        if (!p.text.isEmpty())
            out.lines.push_back(p);
    }
    return out;
}

} // namespace vaha::report
