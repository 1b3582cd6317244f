#pragma once

#include "report/prepared.h"
#include "report/template.h"

namespace vaha::report {

// Inner distance of a text from the left and right (X) and upper and lower (Y) edge of its box.
inline constexpr double kTextPaddingX = 0.5;
inline constexpr double kTextPaddingY = 0.25;

// Lays out the printed text of an object whose band starts at `bandOrigin` on the page.
// Lines break at '\n'; words wrap only in a box tall enough for more than one line. A line
// wider than its box is narrowed to fit, never cut; text taller than its box runs on below it.
PreparedText layoutText(const TextObject& object, const QString& text, QPointF bandOrigin);

// Layout works in units of this resolution, so widths do not depend on the output device.
inline constexpr double kLayoutDpi = 1200;
inline constexpr double kLayoutUnitsPerMm = kLayoutDpi / 25.4;

} // namespace vaha::report
