// The frame rate the viewer itself shows: the program's own main window and
// message loop with a profile, the simulated camera in its fast mode, and
// the status bar's rate read after ten seconds.
//   ovviewerbench.exe <profile.ovp> [seconds]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "AppGui/Framework/MyMessageLoop.h"
#include "AppGui/MainWindow.h"
#include "ovlib3_sim.h"

namespace {

AppGui::MainWindow* g_window = nullptr;
std::wstring g_rate;

void CALLBACK ReadRateAndQuit(HWND, UINT, UINT_PTR, DWORD) {
    g_rate = g_window->StatusText(3);
    PostQuitMessage(0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ovviewerbench <profile.ovp> [seconds]\n");
        return 2;
    }
    const UINT seconds = argc > 2 ? UINT(_wtoi(argv[2])) : 10;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    OvSimSetFastMode(1);
    auto window = std::make_unique<AppGui::MainWindow>(argv[1]);
    if (!window->CreateMain()) return 1;
    g_window = window.get();
    Glob::CMyMessageLoop& loop = Glob::CMyMessageLoop::Instance();
    loop.AddIdleHandler(window.get());
    ShowWindow(window->Handle(), SW_MAXIMIZE);
    UpdateWindow(window->Handle());
    SetTimer(nullptr, 0, seconds * 1000, &ReadRateAndQuit);
    loop.Run();
    loop.RemoveIdleHandler(window.get());
    DestroyWindow(window->Handle());
    window.reset();
    std::printf("%ls\n", g_rate.c_str());
    return 0;
}
