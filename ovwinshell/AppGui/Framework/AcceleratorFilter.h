#pragma once
// A message filter that turns key strokes into commands of one window
// through an accelerator table.
#include <windows.h>

#include "MessageFilter.h"

namespace Glob {

class CIsTranslateAcceleratorFilter : public IMessageFilter {
public:
    // The table is borrowed: loaded resource tables need no freeing.
    CIsTranslateAcceleratorFilter(HWND window, HACCEL table);
    // Loads the table with that resource id from the program's module.
    CIsTranslateAcceleratorFilter(HWND window, UINT tableId);

    bool PreTranslateMessage(MSG* message) override;

    HACCEL Table() const { return table_; }

private:
    HWND window_;
    HACCEL table_;
};

}  // namespace Glob
