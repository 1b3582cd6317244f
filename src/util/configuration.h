#pragma once

#include <QList>
#include <QString>

// The three plain-text inputs read at start: the shared log-on settings, the program's own
// settings and the warehouses list. None of them is ever written.
namespace vaha {

inline constexpr char16_t kSharedConfigFile[] = u"../trivon05.ini";
inline constexpr char16_t kProgramConfigFile[] = u"vahaPLX.ini";
inline constexpr char16_t kWarehousesFile[] = u"sklady.txt";

struct LogonSettings {
    QString host;
    QString user;
    QString password;
    QString database;
    QString sqlPort;
    QString openPort;
    QString workstation; // CisloPC
};

// Section LogON of the shared configuration file. `current` supplies the defaults of IP, User,
// Password and CisloPC; Database defaults to "trivon", SQLport to "3306", OPENport to "".
LogonSettings readLogonSettings(const QString& path, const LogonSettings& current);

// Key cestaVaha of section VAHA of the program configuration file; "" when absent.
QString readScaleDirectory(const QString& programConfigPath);

// Key BaseURL of section UPDATE of the program configuration file, or `defaultUrl`.
QString readUpdateBaseUrl(const QString& programConfigPath, const QString& defaultUrl);

struct Warehouse {
    QString shownText; // code + " " + name
    QString code;
};

// The warehouses list, one entry per line in file order. Throws "Cannot open file ..." when
// the file cannot be read.
QList<Warehouse> loadWarehouses(const QString& path);
Warehouse warehouseFromLine(QStringView line);

// The workstation number goes unquoted into table names and the save script, so only letters,
// digits and underscore are allowed (an empty number is allowed). Throws vaha::Error otherwise.
void validateWorkstationNumber(const QString& workstation);
bool isValidWorkstationNumber(const QString& workstation);

} // namespace vaha
