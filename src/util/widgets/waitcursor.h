#pragma once

#include <QApplication>

namespace vaha::ui {

// The hourglass for the lifetime of the object, also when the work in between fails.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace vaha::ui
