#pragma once

#include <QTest>
#include <QWidget>

namespace vaha::test {

// Types text key by key, Czech letters included (QTest::keyClicks passes Latin-1 only).
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

} // namespace vaha::test
