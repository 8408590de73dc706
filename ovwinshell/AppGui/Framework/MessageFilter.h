#pragma once
// What the message loop asks before it translates and dispatches a message,
// and what it calls when the queue has run dry.
#include <windows.h>

namespace Glob {

class IMessageFilter {
public:
    // True when the message has been dealt with and must not be dispatched.
    virtual bool PreTranslateMessage(MSG* message) = 0;

protected:
    ~IMessageFilter() = default;
};

class IIdleHandler {
public:
    // True while the handler wants to be called again before the next message.
    virtual bool OnIdle() = 0;

protected:
    ~IIdleHandler() = default;
};

}  // namespace Glob
