#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringView>

namespace vaha::lookup {

// Text rules of the user's locale for the search: comparison that ignores letter case and
// upper-casing, both treating Czech letters (č, ř, š, ž, á …) as letters of the alphabet.
class LocaleText {
public:
    explicit LocaleText(const QLocale& locale = QLocale());

    QString upper(const QString& text) const { return m_locale.toUpper(text); }
    // < 0, 0, > 0 as a sorts before, with or after b; letter case ignored.
    int compare(QStringView a, QStringView b) const { return m_collator.compare(a, b); }

private:
    QLocale m_locale;
    QCollator m_collator;
};

} // namespace vaha::lookup
