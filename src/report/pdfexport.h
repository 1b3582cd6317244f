#pragma once

#include "report/prepared.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

namespace vaha::report {

// Document information of an exported file; this program names itself as creator and producer.
struct PdfInfo {
    QString title;
    QString subject;
    QString creator = QStringLiteral("vahaPLX");
    QString producer = QStringLiteral("vahaPLX");
};

// Called after each page with the pages done and the page count.
using PdfProgress = std::function<void(int done, int count)>;

// The pages as a PDF document: real text in embedded fonts, one PDF page per prepared page.
QByteArray pdfDocument(const PreparedReport& report, const PdfInfo& info,
                       const PdfProgress& progress = {});

// Writes the document to a file, replacing an existing one without asking; the file appears
// only when complete. Throws vaha::Error when it cannot be written.
void writePdfFile(const QString& path, const PreparedReport& report, const PdfInfo& info,
                  const PdfProgress& progress = {});

// Appends an update that replaces the document information dictionary (exposed for tests).
QByteArray withDocumentInfo(const QByteArray& pdf, const PdfInfo& info, const QDateTime& moment);

} // namespace vaha::report
