#include "MessageLoop.h"

#include <algorithm>

namespace Glob {

template <typename T>
bool MessageLoop::Add(std::vector<T*>& list, T* item) {
    if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool MessageLoop::Remove(std::vector<T*>& list, T* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (!item || found == list.end()) return false;
    if (callDepth_ > 0)
        *found = nullptr;
    else
        list.erase(found);
    return true;
}

bool MessageLoop::AddMessageFilter(IMessageFilter* filter) { return Add(filters_, filter); }
bool MessageLoop::RemoveMessageFilter(IMessageFilter* filter) { return Remove(filters_, filter); }
bool MessageLoop::AddIdleHandler(IIdleHandler* handler) { return Add(idleHandlers_, handler); }
bool MessageLoop::RemoveIdleHandler(IIdleHandler* handler) { return Remove(idleHandlers_, handler); }

void MessageLoop::Compact() {
    if (callDepth_ > 0) return;
    std::erase(filters_, nullptr);
    std::erase(idleHandlers_, nullptr);
}

MessageLoop::CallScope::CallScope(MessageLoop& loop) : loop_(loop) {
    loop_.Compact();
    ++loop_.callDepth_;
}

MessageLoop::CallScope::~CallScope() {
    --loop_.callDepth_;
    loop_.Compact();
}

bool MessageLoop::PreTranslateMessage(MSG* message) {
    CallScope scope(*this);
    // Newest first; filters added during the calls are not asked this time.
    for (size_t i = filters_.size(); i-- > 0;) {
        if (filters_[i] && filters_[i]->PreTranslateMessage(message)) return true;
    }
    return false;
}

bool MessageLoop::OnIdle(int) {
    CallScope scope(*this);
    bool again = false;
    for (size_t i = 0; i < idleHandlers_.size(); ++i) {
        if (idleHandlers_[i] && idleHandlers_[i]->OnIdle()) again = true;
    }
    return again;
}

bool MessageLoop::IsIdleMessage(const MSG& message) const {
    switch (message.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_PAINT:
        case WM_TIMER:
        case 0x0118:  // the caret's blink timer
            return false;
        default:
            return true;
    }
}

int MessageLoop::Run() {
    bool idle = true;
    int idleCount = 0;
    MSG message{};
    for (;;) {
        while (idle && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) continue;  // an invalid window handle: nothing to do with it
        if (!got) break;          // WM_QUIT
        if (!PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (IsIdleMessage(message)) {
            idle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace Glob
