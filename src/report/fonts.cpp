#include "report/fonts.h"

namespace vaha::report {

QStringList standInFamilies(const QString& family) {
    const QString sans = QStringLiteral("Liberation Sans");
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    // Tahoma is a little wider than Arial: Arial's metric twin fits every box laid out for
    // Tahoma, where DejaVu Sans (a tenth wider than Tahoma) would break labels.
    static const struct {
        const char16_t* family;
        const char16_t* standIns[2];
    } table[] = {
        {u"Tahoma", {u"Liberation Sans", u"DejaVu Sans"}},
        {u"Arial", {u"Liberation Sans", u"DejaVu Sans"}},
        {u"Helvetica", {u"Liberation Sans", u"DejaVu Sans"}},
        {u"MS Sans Serif", {u"Liberation Sans", u"DejaVu Sans"}},
        {u"Verdana", {u"DejaVu Sans", u"Liberation Sans"}},
        {u"Times New Roman", {u"Liberation Serif", u"DejaVu Serif"}},
        {u"Courier New", {u"Liberation Mono", u"DejaVu Sans Mono"}},
    };
    for (const auto& row : table) {
        if (family.compare(QStringView(row.family), Qt::CaseInsensitive) == 0) {
            return {QString::fromUtf16(row.standIns[0]), QString::fromUtf16(row.standIns[1]),
                    dejaVu};
        }
    }
    return {family, sans, dejaVu};
}

QFont resolveFont(const TextFont& textFont) {
    QFont font;
    font.setFamilies(standInFamilies(textFont.family));
    font.setPointSizeF(textFont.size);
    font.setBold(textFont.bold);
    font.setItalic(textFont.italic);
    font.setUnderline(textFont.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::PreferQuality));
    return font;
}

} // namespace vaha::report
