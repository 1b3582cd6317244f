#pragma once

#include "report/prepared.h"

class QPrinter;

namespace vaha::report {

// Prints the pages in the printer's page range (all when it has none), each at its true size
// from the paper's corner. False when the printer could not start.
bool printPages(QPrinter& printer, const PreparedReport& report);

// Sets the printer's paper to the size and orientation of the report's first page.
void matchPrinterToReport(QPrinter& printer, const PreparedReport& report);

} // namespace vaha::report
