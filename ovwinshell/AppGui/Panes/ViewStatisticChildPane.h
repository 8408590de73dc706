#pragma once
// The statistics tab: a pane of dialog controls (template 103) that switches
// the parts of a statistics surface, which draws the frame statistics and the
// histogram into the HistPane window; and the data-rate display of the
// current data transfer, refreshed once a second while its box is checked.
#include <cstdint>
#include <memory>

#include "AppGui/Framework/ModelessDialog.h"
#include "AppGui/Panes/HistPane.h"
#include "Render/StatisticSurface.h"

namespace AppGui {

class ViewStatisticChildPane : public ModelessDialog {
public:
    ViewStatisticChildPane();
    ~ViewStatisticChildPane() override;

    // Creates the pane as a child of `parent` (hidden until its tab shows it)
    // and puts its dialog-key filter into the program's message loop.
    HWND Create(HWND parent);

    Render::StatisticSurface* Surface() const { return surface_.get(); }
    HWND Histogram() const { return hist_.Handle(); }
    uint32_t HistogramBits() const { return bits_; }
    // Refreshes the data-rate texts now (what the timer does each second).
    void RefreshTransferTexts();

    static constexpr UINT_PTR kRateTimer = 112;

protected:
    bool OnInitDialog(HWND defaultFocus) override;
    void OnCommand(UINT id, UINT notifyCode, HWND control) override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void SetBits(uint32_t bits);
    void ApplyMask();
    void Layout(int width, int height);
    void UpdateScrollBar(bool reset);
    void Teardown();

    HistPane hist_;
    std::unique_ptr<Render::StatisticSurface> surface_;
    uint32_t bits_ = 9;
    bool timer_ = false;
};

}  // namespace AppGui
