#pragma once

#include "report/template.h"

#include <QFont>
#include <QStringList>

namespace vaha::report {

// The installed families that print a template's font family, best first. Templates name the
// Windows families (Tahoma, Arial ...); the Liberation fonts stand in for them with the same
// widths, so texts fit the boxes they were designed for, and DejaVu follows for any letter
// Liberation lacks. Every one of them holds the Czech letters and is embedded in PDF files.
QStringList standInFamilies(const QString& family);

// The font a text object prints with, at its size in points, unhinted so that widths are the
// same on the screen, on paper and in PDF.
QFont resolveFont(const TextFont& textFont);

} // namespace vaha::report
