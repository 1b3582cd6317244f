// The scale program's answer file (aktualni.log) on arbitrary bytes: its first line, the weight
// field with the alibi, the regional conversion of the figure and the value as the ticket keeps
// and shows it, on a Czech (decimal comma) and an English (decimal point) workstation.
#include "db/field.h"
#include "tickets/scaleexchange.h"
#include "util/cp1250.h"
#include "util/error.h"
#include "util/fileutil.h"

#include <QLocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using vaha::tickets::ScaleExchange;

// The value goes to the server as text and comes back as text: it must survive both ways.
void checkStoredValue(double value) {
    if (!std::isfinite(value))
        __builtin_trap();
    const QByteArray server = vaha::db::value::floatText(value);
    if (std::strtod(server.constData(), nullptr) != value)
        __builtin_trap();
    vaha::db::Field decimal;
    decimal.type = vaha::db::FieldType::Decimal;
    decimal.length = 16;
    decimal.decimals = 4;
    (void)vaha::db::value::displayText(decimal, QByteArrayView(server));
}

void readAnswer(const QString& line) {
    const QString field = ScaleExchange::weightField(line);
    if (field.contains(u';'))
        __builtin_trap();
    // The alibi column keeps the whole field; it came from Windows-1250 bytes, so it goes back.
    if (ScaleExchange::hasAlibi(field) && !vaha::cp1250::canEncode(field))
        __builtin_trap();
    try {
        checkStoredValue(ScaleExchange::readingValue(field));
    } catch (const vaha::Error&) {
    }
    try {
        checkStoredValue(ScaleExchange::netValue(field));
    } catch (const vaha::Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = vaha::splitLines(vaha::cp1250::decode(bytes));
    if (lines.isEmpty())
        return 0; // the program reports "List index out of bounds (0)"
    for (const QLocale& workstation : {QLocale(QLocale::Czech, QLocale::Czechia),
                                       QLocale(QLocale::English, QLocale::UnitedStates)}) {
        QLocale::setDefault(workstation);
        readAnswer(lines.first());
    }
    return 0;
}
