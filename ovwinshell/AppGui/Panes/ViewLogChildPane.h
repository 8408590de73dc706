#pragma once
// The event log: a window that lists every reported text line by line, and
// the program's logger. While the object exists it is the logger the camera
// layer reports to (AppState::logger and the message sink). Log may be called
// from any thread: while the window exists the text is only posted to it, so
// the list and the painting stay on the GUI thread; without a window the
// caller's thread adds the lines itself.
#include <atomic>
#include <string>
#include <vector>

#include "AppGui/Framework/Window.h"
#include "Common/CritSec.h"
#include "Lib3Wrapper/OvTypeLib/IOvLogger.h"

namespace AppGui {

class ViewLogChildPane : public Window, public DllModule::Lib3Wrapper::OvTypeLib::IOvLogger {
public:
    ViewLogChildPane();
    ~ViewLogChildPane() override;

    // IOvLogger. Takes the LocalAlloc block `text` and frees it.
    bool Log(char* text, bool alert) override;
    void Clear() override;

    // The lines so far (a copy).
    std::vector<std::wstring> Lines() const;
    int WidestExtent() const { return widest_; }
    int LineHeight() const { return lineHeight_; }
    int AverageCharWidth() const { return charWidth_; }

protected:
    WindowClassInfo ClassInfo() const override;
    DWORD DefaultStyle() const override { return WS_CHILD | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS; }
    DWORD DefaultExStyle() const override { return WS_EX_STATICEDGE; }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage(HWND window) override;

private:
    // Adds the lines of `text`, frees it, and asks for the output area on an error line.
    void AddText(char* text);
    void MeasureFont();
    void ResetScrollBars();
    void Scroll(int bar, int code);
    void Paint();
    void ContextMenu();

    mutable CritSec lock_;  // the lines, for adding without a window
    std::vector<std::wstring> lines_;
    int widest_ = 0;
    int lineHeight_ = 16;
    int charWidth_ = 7;
    HFONT font_ = nullptr;
    HMENU menu_ = nullptr;
    // The window Log posts to; set while the window exists (read from any thread).
    std::atomic<HWND> window_{nullptr};
};

}  // namespace AppGui
