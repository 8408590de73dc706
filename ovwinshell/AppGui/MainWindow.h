#pragma once
// The main window: menu, toolbars in a rebar, status bar, the split client
// area (options | frame view over output), the camera's life cycle and the
// hub of the program's private messages.
#include <windows.h>

#include <memory>
#include <string>

#include "AppGui/Framework/MessageFilter.h"
#include "AppGui/Framework/ScrollableWindow.h"
#include "AppGui/Framework/SplittedWindow.h"
#include "AppGui/Framework/ZoomWindow.h"
#include "AppGui/Panes/CamOptionsChildPane.h"
#include "AppGui/Panes/ViewFrameChildPane.h"
#include "AppGui/Panes/ViewOutputPane.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"

namespace AppGui {

using FrameZoomWindow = ZoomWindow<ViewFrameChildPane>;
using FrameAndOutput = SplittedWindow<FrameZoomWindow, ViewOutputPane, Splitter<0>>;
using ClientSplitter = SplittedWindow<ScrollableWindow<CamOptionsChildPane>, FrameAndOutput, Splitter<1>>;

class MainWindow : public Window, public Glob::IIdleHandler {
public:
    explicit MainWindow(std::wstring profilePath);
    ~MainWindow() override;

    // Creates the top-level window with menu and icon 101 (class "OvWinShell").
    HWND CreateMain();

    bool IsSystemOpen() const { return systemOpen_; }
    bool IsPaused() const { return paused_; }
    bool Series() const { return series_; }
    bool ShowStatistics() const { return showStatistics_; }
    ClientSplitter* Client() { return client_.get(); }
    FrameZoomWindow* FrameZoom() { return client_ ? &client_->SecondPane().FirstPane() : nullptr; }
    CamOptionsChildPane* OptionsPane() { return client_ ? &OptionsHost().Child() : nullptr; }
    ViewOutputPane* OutputPane() { return client_ ? &client_->SecondPane().SecondPane() : nullptr; }
    std::wstring StatusText(int part) const;
    HWND StatusBar() const { return statusBar_; }
    HWND MainToolbar() const { return mainToolbar_; }
    HWND ZelToolbar() const { return zelToolbar_; }

    // The Save command after its file dialog: the profile of the open camera under `chosen` (".ovp" put in).
    void SaveProfileAs(const std::wstring& chosen);

    bool OnIdle() override;

protected:
    WindowClassInfo ClassInfo() const override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnCreate();
    void OnDestroy();
    void OnSize();
    void OnCommand(UINT id);
    void OnTimer(UINT_PTR id);
    LRESULT OnNotify(NMHDR* header);

    void NewCamera();
    void OpenProfile();
    void LoadProfile(const std::wstring& path);
    void SaveProfile();
    void CloseCamera();
    void BuildSystemUi();
    void SetPaneWidths();
    void ToggleSeries();
    void ToggleStatistics();
    void TogglePause();
    void SetZoom(int zoom);
    void ExposureChanged();
    void StatusTick();
    void UpdateUi();
    // Status bar and event log; the first failure of a series also in a box.
    void ReportFrameNotSaved(bool series, DWORD error);

    ScrollableWindow<CamOptionsChildPane>& OptionsHost() { return client_->FirstPane(); }
    FrameAndOutput* FrameAndOutputSplit() { return client_ ? &client_->SecondPane() : nullptr; }

    void CreateZelToolbar();
    void AddBand(HWND toolbar);
    int RebarHeight() const;
    int ClientHeightBelowRebar() const;
    void SetStatusText(int part, const std::wstring& text);
    void StartRenderer(uint32_t command);

    HMENU menu_ = nullptr;
    HWND mainToolbar_ = nullptr;
    HWND zelToolbar_ = nullptr;
    HWND rebar_ = nullptr;
    HWND statusBar_ = nullptr;
    std::unique_ptr<ClientSplitter> client_;
    DllModule::Lib3Wrapper::OvTypeLib::IOvEnumOption* syncMode_ = nullptr;
    DllModule::Lib3Wrapper::OvTypeLib::IOvScalarOption* exposure_ = nullptr;
    bool systemOpen_ = false;
    bool paused_ = false;
    bool showStatistics_ = false;
    bool series_ = false;
    std::wstring profilePath_;
    int exposureMs_ = 0;
    int countdownMs_ = 0;
    DWORD lastStatusTick_ = 0;
    bool statusTicked_ = false;
    std::wstring tooltip_;
};

}  // namespace AppGui
