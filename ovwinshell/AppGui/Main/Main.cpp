// The program's entry: the profile path from the command line, the main
// window, the message loop, and the teardown.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "AppGui/CommandLine.h"
#include "AppGui/Framework/AcceleratorFilter.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "AppGui/MainWindow.h"
#include "AppGui/Resources/resource.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    auto window =
        std::make_unique<AppGui::MainWindow>(AppGui::ProfilePathFromCommandLine(commandLine ? commandLine : L""));
    int exitCode = -1;
    if (window->CreateMain()) {
        Glob::CMyMessageLoop& loop = Glob::CMyMessageLoop::Instance();
        auto accelerators = std::make_unique<Glob::CIsTranslateAcceleratorFilter>(window->Handle(), IDR_MAINFRAME);
        loop.AddMessageFilter(accelerators.get());
        loop.AddIdleHandler(window.get());
        ShowWindow(window->Handle(), SW_MAXIMIZE);
        UpdateWindow(window->Handle());
        SetFocus(window->Handle());
        exitCode = loop.Run();
        loop.RemoveIdleHandler(window.get());
        loop.RemoveMessageFilter(accelerators.get());
    }
    window.reset();
    return exitCode;
}
