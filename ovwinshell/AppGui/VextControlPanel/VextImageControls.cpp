// The recording panel's display controls on the shared image processor:
// black and white level, gamma, gain and white balance.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Resources/resource.h"
#include "AppGui/VextControlPanel/PanelLogic.h"
#include "AppGui/VextControlPanel/VextCommandBar.h"
#include "Render/ImageProcessor.h"

namespace AppGui {

namespace {

constexpr int kLevelMinimum = 1;
constexpr int kLevelMaximum = 0xFFFF;
constexpr int kBalanceSliders[] = {IDC_VEXT_WB_BLUE, IDC_VEXT_WB_GREEN, IDC_VEXT_WB_RED};

Render::ImageProcessor& Processor() { return Render::ImageProcessor::Instance(); }

int Position(HWND slider) { return int(SendMessageW(slider, TBM_GETPOS, 0, 0)); }
void SetPosition(HWND slider, int position) { SendMessageW(slider, TBM_SETPOS, TRUE, position); }
void SetRange(HWND slider, int minimum, int maximum) {
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, maximum);
}

}  // namespace

void VextCommandBar::InitImageControls() {
    HWND black = Item(IDC_VEXT_BLACK), white = Item(IDC_VEXT_WHITE);
    SetRange(black, kLevelMinimum, kLevelMaximum);
    SetRange(white, kLevelMinimum, kLevelMaximum);
    SetPosition(black, kLevelMinimum);
    SetPosition(white, kLevelMaximum);
    for (int id : kBalanceSliders) {
        SetRange(Item(id), 1, 0xFFFF);
        SetPosition(Item(id), 1);
    }
    HWND gamma = Item(IDC_VEXT_GAMMA);
    SendMessageW(gamma, TBM_SETRANGE, FALSE, MAKELPARAM(1, 25));
    SendMessageW(gamma, TBM_SETTIC, 0, 5);
    SetPosition(gamma, 5);
    SetItemText(IDC_VEXT_GAMMA_TEXT, L"1.0");
    for (int gain = 1; gain <= 8; ++gain) {
        const std::wstring text = L"x" + std::to_wstring(gain);
        SendMessageW(gainList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(gainList_, CB_SETCURSEL, 0, 0);
    // White balance starts off: its choices wait for "Вкл.".
    EnableItems(
        {IDC_VEXT_WB_BLUE, IDC_VEXT_WB_GREEN, IDC_VEXT_WB_RED, IDC_VEXT_WB_AUTO, IDC_VEXT_WB_PIXEL, IDC_VEXT_WB_MANUAL},
        false);
}

void VextCommandBar::LevelsMoved(bool whiteMoved) {
    HWND black = Item(IDC_VEXT_BLACK), white = Item(IDC_VEXT_WHITE);
    const VextPanel::Levels levels = VextPanel::PushedLevels(Position(black), Position(white), whiteMoved,
                                                             int(SendMessageW(black, TBM_GETRANGEMIN, 0, 0)),
                                                             int(SendMessageW(white, TBM_GETRANGEMAX, 0, 0)));
    SetPosition(black, levels.black);
    SetPosition(white, levels.white);
    Processor().SetLevels(uint16_t(levels.black), uint16_t(levels.white));
}

void VextCommandBar::GammaMoved() {
    const int position = Position(Item(IDC_VEXT_GAMMA));
    SetItemText(IDC_VEXT_GAMMA_TEXT, VextPanel::GammaText(position));
    if (IsDlgButtonChecked(Handle(), IDC_VEXT_GAMMA_ON) == BST_CHECKED)
        Processor().SetGamma(VextPanel::GammaForSlider(position));
}

void VextCommandBar::GammaToggled() {
    const bool on = IsDlgButtonChecked(Handle(), IDC_VEXT_GAMMA_ON) == BST_CHECKED;
    Processor().SetGamma(on ? VextPanel::GammaForSlider(Position(Item(IDC_VEXT_GAMMA))) : 1.0f);
}

void VextCommandBar::GainChanged() {
    const LRESULT selection = SendMessageW(gainList_, CB_GETCURSEL, 0, 0);
    if (selection >= 0) Processor().SetGainShift(uint32_t(selection));
}

void VextCommandBar::SendFrameView(bool pick) {
    if (HWND main = AppState::Get().mainWindow)
        SendMessageW(main, UWM_FRAME_VIEW, pick ? 1 : 0, reinterpret_cast<LPARAM>(Handle()));
}

void VextCommandBar::EnableBalanceSliders(bool enabled) {
    EnableItems({IDC_VEXT_WB_BLUE, IDC_VEXT_WB_GREEN, IDC_VEXT_WB_RED}, enabled);
}

void VextCommandBar::WhiteBalanceToggled() {
    if (IsDlgButtonChecked(Handle(), IDC_VEXT_WB_ON) != BST_CHECKED) {
        SendFrameView(false);
        Processor().SetWhiteBalanceMode(Render::WbOff);
        EnableBalanceSliders(false);
        EnableItems({IDC_VEXT_WB_AUTO, IDC_VEXT_WB_MANUAL, IDC_VEXT_WB_PIXEL}, false);
        return;
    }
    EnableItems({IDC_VEXT_WB_AUTO, IDC_VEXT_WB_MANUAL, IDC_VEXT_WB_PIXEL}, true);
    if (IsDlgButtonChecked(Handle(), IDC_VEXT_WB_AUTO) == BST_CHECKED) {
        Processor().SetWhiteBalanceMode(Render::WbAuto);
    } else if (IsDlgButtonChecked(Handle(), IDC_VEXT_WB_MANUAL) == BST_CHECKED) {
        EnableBalanceSliders(true);
        Processor().SetWhiteBalanceMode(Render::WbManual);
    } else if (IsDlgButtonChecked(Handle(), IDC_VEXT_WB_PIXEL) == BST_CHECKED) {
        SendFrameView(true);
        Processor().SetWhiteBalanceMode(Render::WbPixel);
    }
}

void VextCommandBar::WhiteBalanceMode(UINT radio) {
    switch (radio) {
        case IDC_VEXT_WB_AUTO:
            SendFrameView(false);
            EnableBalanceSliders(false);
            Processor().SetWhiteBalanceMode(Render::WbAuto);
            break;
        case IDC_VEXT_WB_PIXEL:
            SendFrameView(true);
            EnableBalanceSliders(false);
            Processor().SetWhiteBalanceMode(Render::WbPixel);
            break;
        case IDC_VEXT_WB_MANUAL: {
            SendFrameView(false);
            EnableBalanceSliders(true);
            uint16_t blue = 0, green = 0, red = 0;
            Processor().GetBalanceReferences(&blue, &green, &red);
            SetPosition(Item(IDC_VEXT_WB_BLUE), 0x10000 - blue);
            SetPosition(Item(IDC_VEXT_WB_GREEN), 0x10000 - green);
            SetPosition(Item(IDC_VEXT_WB_RED), 0x10000 - red);
            Processor().SetWhiteBalanceMode(Render::WbManual);
            break;
        }
        default:
            break;
    }
}

void VextCommandBar::BalanceSlidersMoved() {
    Processor().SetManualBalance(uint16_t(0x10000 - Position(Item(IDC_VEXT_WB_BLUE))),
                                 uint16_t(0x10000 - Position(Item(IDC_VEXT_WB_GREEN))),
                                 uint16_t(0x10000 - Position(Item(IDC_VEXT_WB_RED))));
}

}  // namespace AppGui
