#include "report/pdfcommand.h"

#include <cstdio>

namespace vaha::report {

// Placeholder until the report engine is built.
int runPdfCommand(const QStringList&) {
    std::fputs("vahaPLX: --pdf is not available in this build\n", stderr);
    return 2;
}

} // namespace vaha::report
