#pragma once

#include <QRectF>
#include <QString>
#include <vector>

// The report template: pages with bands, text objects on the bands, and variables. Every
// length is in millimetres; object positions count from the top-left corner of their band.
namespace vaha::report {

enum class BandType {
    ReportTitle, // printed once, at the top of the first page's printable area
    PageFooter,  // printed at the bottom of every page's printable area
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };
enum class Orientation { Portrait, Landscape };

struct TextFont {
    QString family = QStringLiteral("Arial");
    double size = 10; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const TextFont&) const = default;
};

struct TextObject {
    QString name;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    QString text; // lines separated by '\n'; "[...]" holds an expression
    TextFont font;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool wordWrap = true;
    bool expressions = true; // false prints "[...]" literally
    QString format;          // display format of dates, e.g. "dd.mm.yyyy"; empty: regional

    QRectF rect() const { return {left, top, width, height}; }
    void setRect(const QRectF& r);
    bool operator==(const TextObject&) const = default;
};

struct Band {
    BandType type = BandType::ReportTitle;
    QString name;
    double height = 0;
    std::vector<TextObject> objects;
    bool operator==(const Band&) const = default;
};

// Windows paper numbers, as report templates and printers have always named them.
namespace paper {
inline constexpr int Custom = 256;
inline constexpr int Letter = 1;
inline constexpr int A3 = 8;
inline constexpr int A4 = 9;
inline constexpr int A5 = 11;
// Portrait size of a known paper in millimetres; an empty size for Custom and unknown numbers.
QSizeF portraitSize(int number);
} // namespace paper

struct Page {
    QString name;
    int paper = paper::A4;
    Orientation orientation = Orientation::Portrait;
    double width = 210; // as oriented
    double height = 297;
    double marginLeft = 10;
    double marginTop = 10;
    double marginRight = 10;
    double marginBottom = 10;
    std::vector<Band> bands;

    double bandWidth() const { return width - marginLeft - marginRight; }
    // Where a band prints on the page: the title at the top of the printable area, the footer
    // at its bottom.
    QRectF bandRect(const Band& band) const;
    bool operator==(const Page&) const = default;
};

struct Variable {
    QString name;
    QString value; // a text constant, printed as it is
    bool operator==(const Variable&) const = default;
};

// The variable of that name, letter case ignored; null when there is none.
const Variable* findVariable(const std::vector<Variable>& variables, QStringView name);

struct PreviewSettings {
    bool maximized = true;
    int zoom = 100; // percent
    bool operator==(const PreviewSettings&) const = default;
};

struct ReportTemplate {
    QString title; // the title of exported files; may hold "[...]"
    PreviewSettings preview;
    std::vector<Variable> variables;
    std::vector<Page> pages;

    bool isEmpty() const { return pages.empty() && variables.empty() && title.isEmpty(); }
    const Variable* variable(QStringView name) const; // letter case ignored
    bool operator==(const ReportTemplate&) const = default;
};

// A page as the designer starts it: A4 portrait, margins 10 mm, a report title over the
// printable area above a 10 mm page footer.
Page newPage(const QString& name);
// A text object as the designer adds it: Arial 10 pt, left-aligned, one line.
TextObject newTextObject(const QString& name, double left, double top);

QString bandTypeName(BandType type);

} // namespace vaha::report
