// The update server's version file on arbitrary bytes: the published time, its comparison with
// the installed one, and the installer hash line.
#include "update/versioncheck.h"
#include "util/cp1250.h"
#include "util/fileutil.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = vaha::splitLines(vaha::cp1250::decode(bytes));
    if (lines.size() < 2)
        return 0;
    const QString remote = vaha::update::remoteVersionText(lines[1], u"vahaPLX");
    // An empty published time is never newer; a text is never newer than itself.
    if (remote.isEmpty() &&
        vaha::update::isNewerVersion(remote, QStringLiteral("1899-12-30 00:00:00")))
        __builtin_trap();
    if (vaha::update::isNewerVersion(remote, remote))
        __builtin_trap();
    (void)vaha::update::publishedInstallerHash(lines, u"setupvahaplx.run");
    return 0;
}
