#pragma once

#include "report/template.h"

#include <QByteArray>
#include <QString>

// The template file: XML in UTF-8, lengths in millimetres (see docs/report-template.md).
namespace vaha::report {

// Throws vaha::Error naming the file and line when the text is not a template.
ReportTemplate parseTemplate(const QByteArray& xml, const QString& fileName = {});
// Throws vaha::Error, before anything is written, when a text holds a character that the file
// cannot carry (a control character such as the U+000B of pasted text).
QByteArray serializeTemplate(const ReportTemplate& report);

// Throws vaha::Error when the file cannot be read or is not a template.
ReportTemplate readTemplateFile(const QString& path);
// Replaces the file as a whole (never leaves half a template); throws when it cannot.
void writeTemplateFile(const QString& path, const ReportTemplate& report);

} // namespace vaha::report
