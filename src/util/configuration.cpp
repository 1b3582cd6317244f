#include "util/configuration.h"

#include "util/error.h"
#include "util/fileutil.h"
#include "util/inifile.h"
#include "util/textutil.h"

#include <QCoreApplication>

namespace vaha {

LogonSettings readLogonSettings(const QString& path, const LogonSettings& current) {
    const IniFile ini(path);
    const QString section = QStringLiteral("LogON");
    LogonSettings s;
    s.host = ini.readString(section, u"IP", current.host);
    s.user = ini.readString(section, u"User", current.user);
    s.password = ini.readString(section, u"Password", current.password);
    s.database = ini.readString(section, u"Database", QStringLiteral("trivon"));
    s.sqlPort = ini.readString(section, u"SQLport", QStringLiteral("3306"));
    s.openPort = ini.readString(section, u"OPENport", QString());
    s.workstation = ini.readString(section, u"CisloPC", current.workstation);
    return s;
}

QString readScaleDirectory(const QString& programConfigPath) {
    return IniFile(programConfigPath).readString(u"VAHA", u"cestaVaha", QString());
}

QString readUpdateBaseUrl(const QString& programConfigPath, const QString& defaultUrl) {
    return IniFile(programConfigPath).readString(u"UPDATE", u"BaseURL", defaultUrl);
}

Warehouse warehouseFromLine(QStringView line) {
    const QString name = TokenAt(line, u';', 1);
    const QString code = TokenAt(line, u';', 0);
    return Warehouse{code + u' ' + name, code};
}

QList<Warehouse> loadWarehouses(const QString& path) {
    QList<Warehouse> result;
    for (const QString& line : readLinesCp1250(path))
        result.append(warehouseFromLine(line));
    return result;
}

bool isValidWorkstationNumber(const QString& workstation) {
    for (const QChar c : workstation) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') ||
                        (u >= u'A' && u <= u'Z') || u == u'_';
        if (!ok)
            return false;
    }
    // A working table name is at most 64 characters: "tmp" + number + "vaha".
    return workstation.size() <= 57;
}

void validateWorkstationNumber(const QString& workstation) {
    if (!isValidWorkstationNumber(workstation)) {
        throw Error(QCoreApplication::translate(
                        "configuration",
                        "Číslo pracoviště (CisloPC) „%1“ v souboru ..%2trivon05.ini smí obsahovat "
                        "jen písmena bez diakritiky, číslice a podtržítko (nejvýše 57 znaků). "
                        "Opravte je; do té doby nelze otevřít žádný vážní lístek.")
                        .arg(workstation, QStringLiteral("/")));
    }
}

} // namespace vaha
