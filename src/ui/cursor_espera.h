#pragma once

#include <QApplication>

namespace kv::ui {

// The wait cursor for as long as it lives: work that keeps the window busy
// for a noticeable moment without a progress window of its own.
class Cursor_Espera {
public:
    Cursor_Espera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Cursor_Espera() { QApplication::restoreOverrideCursor(); }
    Cursor_Espera(const Cursor_Espera &) = delete;
    Cursor_Espera &operator=(const Cursor_Espera &) = delete;
};

} // namespace kv::ui
