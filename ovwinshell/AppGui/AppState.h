#pragma once
// The process-wide application state: the open camera, its data transfer,
// the main window, the capture folder and the one renderer.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "AppGui/Settings/OptionSnapshot.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/IOvLogger.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "Render/RendererHost.h"

namespace Render {
class PrivateRenderer;
}

class AppState : public Render::RendererHost {
public:
    // Created on first use, destroyed at exit (after the renderer).
    static AppState& Get();
    ~AppState();

    uint32_t systemTypeId = 0;
    std::wstring systemName;
    DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* system = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* transfer = nullptr;
    // The options as they were when the camera was created through the camera-type dialog.
    AppGui::Settings::OptionSnapshots snapshots;
    DllModule::Lib3Wrapper::OvTypeLib::IOvLogger* logger = nullptr;
    HWND mainWindow = nullptr;
    std::wstring captureFolder;

    Render::PrivateRenderer& Renderer() { return *renderer_; }

    // The renderer's view of this state.
    HWND MainWindow() override { return mainWindow; }
    DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* OpenSystem() override { return system; }
    DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* OpenTransfer() override { return transfer; }
    std::wstring CaptureFolder() override { return captureFolder; }

private:
    AppState();
    bool comInitialised_ = false;
    std::unique_ptr<Render::PrivateRenderer> renderer_;
};
