#pragma once
// The hourglass cursor for the life of a scope (long camera operations).
#include <windows.h>

#include "WindowClass.h"

namespace AppGui {

class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(StockCursor(IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace AppGui
