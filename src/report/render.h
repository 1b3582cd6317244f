#pragma once

#include "report/prepared.h"

class QPainter;

namespace vaha::report {

// Draws a prepared page with its top-left corner at the painter's origin, at `pixelsPerMm`
// device pixels to the millimetre. Texts stay texts (a PDF device keeps them searchable).
void renderPage(QPainter& painter, const PreparedPage& page, double pixelsPerMm);

} // namespace vaha::report
