#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace vaha::test {

// One word of a PDF page as poppler's pdftotext -bbox finds it, in millimetres from the
// page's top-left corner.
struct PdfWord {
    int page = 0;
    QRectF box;
    QString text;
};

// The words of every page; fails the test when pdftotext cannot read the file.
QList<PdfWord> pdfWords(const QString& pdfPath);

// Every run of consecutive words that spells `text` (blanks between words do not count), on
// one baseline unless `oneBaseline` is false: the box of each run.
QList<QRectF> findText(const QList<PdfWord>& words, const QString& text, int page = 1,
                       bool oneBaseline = true);

// The output of a poppler tool (pdfinfo, pdffonts) for a file.
QString popplerOutput(const QString& tool, const QStringList& arguments);

} // namespace vaha::test
