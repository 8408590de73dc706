#pragma once
// The GUI thread's message loop: filters that may swallow a message before it
// is translated and dispatched, and idle handlers called when the queue is
// empty.
//
// This base asks its filters newest first. CMyMessageLoop (MyMessageLoop.h)
// is the program's loop and asks them in the order they were added.
#include <windows.h>

#include <vector>

#include "MessageFilter.h"

namespace Glob {

class MessageLoop {
public:
    MessageLoop() = default;
    virtual ~MessageLoop() = default;
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    // Adding a filter or handler twice has no effect (false); removing one
    // that is not there returns false. Both are safe from inside a filter or
    // handler call.
    bool AddMessageFilter(IMessageFilter* filter);
    bool RemoveMessageFilter(IMessageFilter* filter);
    bool AddIdleHandler(IIdleHandler* handler);
    bool RemoveIdleHandler(IIdleHandler* handler);

    // Runs until WM_QUIT; returns its exit code.
    int Run();

    // The pre-translation step: true when a filter took the message.
    virtual bool PreTranslateMessage(MSG* message);
    // Calls every idle handler; true while any wants to run again.
    virtual bool OnIdle(int idleCount);

protected:
    // Messages after which the loop goes idle again: not mouse moves or
    // timer ticks, which come all the time.
    virtual bool IsIdleMessage(const MSG& message) const;

    // The filters, in the order they were added. Hold a CallScope while
    // calling them: a filter removed meanwhile becomes a null entry, one added
    // meanwhile is appended, so index loops stay valid.
    const std::vector<IMessageFilter*>& Filters() const { return filters_; }

    class CallScope {
    public:
        explicit CallScope(MessageLoop& loop);
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        MessageLoop& loop_;
    };

private:
    template <typename T>
    static bool Add(std::vector<T*>& list, T* item);
    template <typename T>
    bool Remove(std::vector<T*>& list, T* item);
    void Compact();

    std::vector<IMessageFilter*> filters_;
    std::vector<IIdleHandler*> idleHandlers_;
    int callDepth_ = 0;  // inside filter or handler calls: removals only null the entry
};

}  // namespace Glob
