#pragma once
// What the renderer needs of the program around it: the window it tells
// about frames (UWM_STATUS_TICK, UWM_EXPOSURE_STARTED and the pause command),
// the open camera and data transfer it reads, and the folder a series is
// saved into. The application state is the viewer's host; the renderer
// itself knows nothing of the shell.
#include <windows.h>

#include <string>

#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"

namespace Render {

class RendererHost {
public:
    // Called from the worker thread as well as the GUI thread.
    virtual HWND MainWindow() = 0;
    virtual DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* OpenSystem() = 0;
    virtual DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* OpenTransfer() = 0;
    virtual std::wstring CaptureFolder() = 0;

protected:
    ~RendererHost() = default;
};

}  // namespace Render
