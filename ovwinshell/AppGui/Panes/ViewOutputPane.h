#pragma once
// The output pane below the frame view: a tab control with the event log, the
// VEXT recording panel (when there is one) and, on demand, the statistics tab.
#include <memory>

#include "AppGui/Framework/Window.h"
#include "AppGui/Panes/ViewLogChildPane.h"
#include "AppGui/Panes/ViewStatisticChildPane.h"

namespace AppGui {

class VextCommandBar;

class ViewOutputPane : public Window {
public:
    ViewOutputPane();
    ~ViewOutputPane() override;

    HWND Tabs() const { return tabs_; }
    ViewLogChildPane& LogPane() { return log_; }
    ViewStatisticChildPane* StatisticPane() const { return statistics_.get(); }
    VextCommandBar* RecordingPanel() const { return recordingPanel_.get(); }
    // The height that shows the recording panel whole (0 without one).
    int RecordingPanelHeight() const;
    // The window of the selected tab.
    HWND SelectedWindow() const { return current_; }

    static constexpr UINT kTabsId = 0x40A;

protected:
    WindowClassInfo ClassInfo() const override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnCreate();
    void OnDestroy();
    void ToggleStatistics();
    void ShowSelectedTab();
    void FitSelectedWindow();

    HWND tabs_ = nullptr;
    ViewLogChildPane log_;
    std::unique_ptr<ViewStatisticChildPane> statistics_;
    // The VEXT recording panel, for a VEXT camera only.
    std::unique_ptr<VextCommandBar> recordingPanel_;
    int panelHeight_ = 0;
    HWND current_ = nullptr;
};

}  // namespace AppGui
