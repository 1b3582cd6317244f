// The INI reader on arbitrary bytes: the shared log-on settings and the program settings.
#include "util/configuration.h"
#include "util/cp1250.h"
#include "util/inifile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const vaha::IniFile ini = vaha::IniFile::fromText(vaha::cp1250::decode(bytes));
    for (const char16_t* key :
         {u"IP", u"User", u"Password", u"Database", u"SQLport", u"OPENport", u"CisloPC"}) {
        const QString v = ini.readString(u"LogON", QStringView(key), QStringLiteral("default"));
        (void)vaha::isValidWorkstationNumber(v);
    }
    (void)ini.readString(u"VAHA", u"cestaVaha", QString());
    (void)ini.readString(u"UPDATE", u"BaseURL", QString());
    return 0;
}
