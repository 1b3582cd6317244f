// The warehouses list on arbitrary bytes: line splitting and the code;name rule.
#include "util/configuration.h"
#include "util/cp1250.h"
#include "util/fileutil.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& line : vaha::splitLines(vaha::cp1250::decode(bytes))) {
        const vaha::Warehouse w = vaha::warehouseFromLine(line);
        // The shown text is code, one blank, name: never shorter than the code plus one.
        if (w.shownText.size() < w.code.size() + 1)
            __builtin_trap();
    }
    return 0;
}
