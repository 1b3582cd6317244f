#pragma once

#include "report/template.h"

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

// Prepared pages: every text with its lines placed, in millimetres from the page's top-left
// corner, ready to be drawn on any device.
namespace vaha::report {

struct PreparedLine {
    double x = 0;        // left end of the line
    double baseline = 0; // baseline of the line
    double width = 0;    // drawn width, after narrowing
    double hScale = 1;   // below 1 when a line wider than its box was narrowed to fit
    QString text;
};

struct PreparedText {
    QString name; // the text object's name
    QRectF rect;  // the object's box on the page
    TextFont font;
    QString text; // the whole text with its values
    std::vector<PreparedLine> lines;
};

struct PreparedPage {
    QSizeF size; // millimetres
    std::vector<PreparedText> texts;
};

struct PreparedReport {
    QString title;
    std::vector<PreparedPage> pages;
};

} // namespace vaha::report
