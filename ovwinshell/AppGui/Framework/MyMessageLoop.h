#pragma once
// The program's message loop: filters are asked in the order they were added
// (first added first) and the first that takes a message stops it.
#include "MessageLoop.h"

namespace Glob {

class CMyMessageLoop : public MessageLoop {
public:
    // The one loop of the GUI thread (created on first use).
    static CMyMessageLoop& Instance();

    bool PreTranslateMessage(MSG* message) override;
};

}  // namespace Glob
