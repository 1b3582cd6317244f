#include "report/pdfexport.h"

#include "report/layout.h"
#include "report/render.h"
#include "util/error.h"
#include "util/fileutil.h"

#include <QBuffer>
#include <QDateTime>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>

namespace vaha::report {
namespace {

// A PDF text string: UTF-16BE with its byte order mark, written in hex.
QByteArray pdfString(const QString& text) {
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

QByteArray pdfDate(const QDateTime& moment) {
    const int offset = moment.offsetFromUtc() / 60;
    const QString sign = offset < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return QStringLiteral("(D:%1%2%3'%4')")
        .arg(moment.toString(QStringLiteral("yyyyMMddHHmmss")), sign)
        .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
        .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

} // namespace

QByteArray withDocumentInfo(const QByteArray& pdf, const PdfInfo& info, const QDateTime& moment) {
    // Qt names itself as the producer; an incremental update (a new information dictionary,
    // its cross-reference section and a trailer pointing back to the original) replaces it.
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startXrefAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startXrefAt < trailerAt)
        throw Error(QStringLiteral("PDF bez závěrečného slovníku."));
    const QString trailer = QString::fromLatin1(pdf.mid(trailerAt));
    static const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression rootRe(QStringLiteral("/Root\\s+(\\d+)\\s+(\\d+)\\s+R"));
    static const QRegularExpression xrefRe(QStringLiteral("startxref\\s+(\\d+)"));
    const auto size = sizeRe.match(trailer);
    const auto root = rootRe.match(trailer);
    const auto xref = xrefRe.match(trailer);
    if (!size.hasMatch() || !root.hasMatch() || !xref.hasMatch())
        throw Error(QStringLiteral("PDF s neznámým závěrečným slovníkem."));
    const int infoObject = size.captured(1).toInt();

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    const qsizetype infoOffset = out.size();
    out += QByteArray::number(infoObject) + " 0 obj\n<<\n";
    out += "/Title " + pdfString(info.title) + '\n';
    if (!info.subject.isEmpty())
        out += "/Subject " + pdfString(info.subject) + '\n';
    out += "/Creator " + pdfString(info.creator) + '\n';
    out += "/Producer " + pdfString(info.producer) + '\n';
    out += "/CreationDate " + pdfDate(moment) + '\n';
    out += ">>\nendobj\n";
    const qsizetype xrefOffset = out.size();
    out += "xref\n0 1\n0000000000 65535 f \n";
    out += QByteArray::number(infoObject) + " 1\n";
    out += QByteArray::number(infoOffset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(infoObject + 1) + "\n/Root " +
           root.captured(1).toLatin1() + ' ' + root.captured(2).toLatin1() + " R\n/Info " +
           QByteArray::number(infoObject) + " 0 R\n/Prev " + xref.captured(1).toLatin1() +
           "\n>>\nstartxref\n" + QByteArray::number(xrefOffset) + "\n%%EOF\n";
    return out;
}

QByteArray pdfDocument(const PreparedReport& report, const PdfInfo& info,
                       const PdfProgress& progress) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(int(kLayoutDpi));
        writer.setCreator(info.creator);
        writer.setTitle(info.title);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        const QSizeF first = report.pages.empty() ? QSizeF(210, 297) : report.pages.front().size;
        writer.setPageSize(QPageSize(first, QPageSize::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            throw Error(QStringLiteral("PDF nelze vytvořit."));
        const double pixelsPerMm = writer.resolution() / 25.4;
        const int count = int(report.pages.size());
        for (int i = 0; i < count; ++i) {
            const PreparedPage& page = report.pages[std::size_t(i)];
            if (i > 0) {
                writer.setPageSize(QPageSize(page.size, QPageSize::Millimeter));
                writer.newPage();
            }
            renderPage(painter, page, pixelsPerMm);
            if (progress)
                progress(i + 1, count);
        }
        painter.end();
    }
    return withDocumentInfo(bytes, info, QDateTime::currentDateTime());
}

void writePdfFile(const QString& path, const PreparedReport& report, const PdfInfo& info,
                  const PdfProgress& progress) {
    const QByteArray bytes = pdfDocument(report, info, progress);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(fileErrorText(FileFailure::Create, path, file.errorString()));
}

} // namespace vaha::report
