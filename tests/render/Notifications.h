#pragma once
// A window on the test's thread that counts what the renderer tells it.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "Render/PrivateRenderer.h"
#include "Render/RenderMessages.h"
#include "support/MessagePump.h"

namespace ovtest {

class Notifications {
public:
    Notifications() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Notifications::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OvTestNotifications";
        RegisterClassW(&wc);
        window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Notifications() { DestroyWindow(window); }
    void Pump() { ovtest::Pump(); }
    template <class Pred>
    bool PumpUntil(Pred pred) {
        return ovtest::PumpUntil(pred);
    }

    HWND window;
    int statusTicks = 0, pauseCommands = 0, frameIndexes = 0, sequenceEnds = 0;
    std::vector<int32_t> indexes;    // of every UWM_FRAME_INDEX, in order
    std::vector<WPARAM> endReasons;  // of every UWM_SEQUENCE_END, in order

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Notifications*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) {
            if (message == UWM_STATUS_TICK) ++self->statusTicks;
            if (message == WM_COMMAND && LOWORD(wParam) == Render::kPauseResumeCommand) ++self->pauseCommands;
            if (message == UWM_FRAME_INDEX) {
                ++self->frameIndexes;
                self->indexes.push_back(int32_t(lParam));
            }
            if (message == UWM_SEQUENCE_END) {
                ++self->sequenceEnds;
                self->endReasons.push_back(wParam);
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

}  // namespace ovtest
