#include "OptionHolders.h"

#include <algorithm>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Settings/OptionSections.h"
#include "AppGui/Settings/Profile.h"
#include "Common/AnsiText.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "OptionMath.h"
#include "Render/PrivateRenderer.h"

namespace AppGui::Options {

namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds;
constexpr uint32_t kCentringUnit = 5;
constexpr int kHalf = kHolderWidth / 2;

Render::PrivateRenderer& Renderer() { return AppState::Get().Renderer(); }

std::wstring Decimal(int64_t value) { return std::to_wstring(value); }

// The option's display name; an option that exists several times (another
// index than 0) carries its index, so that two such labels differ.
std::wstring DisplayName(OvTypeLib::IOvOption* option, const wchar_t* fallback) {
    const char* name = option ? option->GetName(1) : nullptr;
    std::wstring text = name && *name ? AnsiToWide(name) : std::wstring(fallback);
    if (option && option->GetIndex() != 0) text += L" (" + std::to_wstring(option->GetIndex()) + L")";
    return text;
}

// The width of a text in a control's font, in pixels.
int TextWidth(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

// A scalar's limits stand left and right of its track bar, in these widths.
constexpr int kLimitWidth = 56;
constexpr int kLimitGap = 4;
// What a drop-down list needs besides its text: borders and the arrow button.
constexpr int kListChrome = 28;

}  // namespace

// ---- option_holder ----

bool option_holder::OwnsControl(HWND control) const {
    return control && std::find(controls_.begin(), controls_.end(), control) != controls_.end();
}

HWND option_holder::MainControl() const { return controls_.empty() ? nullptr : controls_.front(); }

void option_holder::DestroyControls() {
    for (HWND control : controls_)
        if (IsWindow(control)) DestroyWindow(control);
    controls_.clear();
}

void option_holder::Enable(bool on) {
    enabled_ = on;
    for (HWND control : controls_) EnableWindow(control, on);
}

HWND option_holder::Control(int id) const {
    for (HWND control : controls_)
        if (GetDlgCtrlID(control) == id) return control;
    return nullptr;
}

HWND option_holder::AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int x, int y, int width,
                               int height, int id, DWORD exStyle) {
    HWND control =
        CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, pane_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        controls_.push_back(control);
    }
    return control;
}

void option_holder::PostChanged(uint32_t id) const { PostMessageW(pane_, UWM_OPTION_CHANGED, 0, LPARAM(id)); }

bool option_holder::LockCamera() const { return !system_ || system_->LockAcquisition(); }

void option_holder::UnlockCamera() const {
    if (system_) system_->UnlockAcquisition();
}

// ---- CScalarEdit ----

namespace {

LRESULT CALLBACK ScalarEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_GETDLGCODE:
            return DefSubclassProc(edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (wParam == VK_TAB) {
                const bool back = GetKeyState(VK_SHIFT) < 0;
                if (HWND next = GetNextDlgTabItem(GetParent(edit), edit, back)) SetFocus(next);
                return 0;
            }
            if (wParam == VK_RETURN) {
                SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(1, 0), reinterpret_cast<LPARAM>(edit));
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\t' || wParam == L'\r' || wParam == L'\n') return 0;
            break;
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SendMessageW(edit, EM_SCROLLCARET, 0, 0);
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, ScalarEditProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

bool CScalarEdit::Attach(HWND edit) { return edit && SetWindowSubclass(edit, ScalarEditProc, 1, 0); }

// ---- enum_option_holder ----

enum_option_holder::enum_option_holder(HWND pane, int applyMode, OvTypeLib::IOvSystem* system,
                                       OvTypeLib::IOvEnumOption* option)
    : option_holder(pane, applyMode, system), option_(option) {
    option_->GetValue(&value_);
}

size_t enum_option_holder::ValueCount(OvTypeLib::IOvEnumOption* option) {
    OvTypeLib::IOvEnum* values = nullptr;
    size_t count = 0;
    uint32_t id = 0;
    if (option->GetValues(&values) && values)
        for (bool more = values->First(&id, nullptr, nullptr); more; more = values->Next(&id, nullptr, nullptr))
            ++count;
    return count;
}

void enum_option_holder::CreateControls(int x, int y) {
    AddControl(WC_STATICW, L"Enum Option", SS_LEFT, x, y + 3, kHalf - 4, 16, kIdLabel);
    list_ =
        AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x + kHalf, y, kHalf, 200, kIdList);
    OvTypeLib::IOvEnum* values = nullptr;
    uint32_t id = 0;
    const char* text = nullptr;
    int widest = 0;
    values_.clear();
    if (option_->GetValues(&values) && values)
        for (bool more = values->First(&id, &text, nullptr); more; more = values->Next(&id, &text, nullptr)) {
            values_.push_back(int32_t(id));
            const std::wstring name = text && *text ? AnsiToWide(text) : Decimal(int32_t(id));
            SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            widest = std::max(widest, TextWidth(list_, name));
        }
    const std::wstring label = DisplayName(option_->AsOption(), L"Enum Option");
    SetWindowTextW(Control(kIdLabel), label.c_str());
    // A long value text widens the list into the label's column as far as the label leaves room.
    const int labelWidth = TextWidth(Control(kIdLabel), label) + 4;
    const int listWidth = std::clamp(widest + kListChrome, kHalf, std::max(kHolderWidth - labelWidth, kHalf));
    SetWindowPos(list_, nullptr, x + kHolderWidth - listWidth, y, listWidth, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Control(kIdLabel), nullptr, 0, 0, kHolderWidth - listWidth - 4, 16,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(list_, CB_SETDROPPEDWIDTH, WPARAM(widest + kListChrome), 0);
    UpdateControls();
}

void enum_option_holder::UpdateControls() {
    if (applyMode_ == ApplyAtOnce) option_->GetValue(&value_);
    const auto found = std::find(values_.begin(), values_.end(), value_);
    SendMessageW(list_, CB_SETCURSEL, found == values_.end() ? WPARAM(-1) : WPARAM(found - values_.begin()), 0);
}

void enum_option_holder::Apply() {
    if (!LockCamera()) return;
    option_->SetValue(value_);
    UnlockCamera();
}

void enum_option_holder::Reread() { option_->GetValue(&value_); }

void enum_option_holder::OnCommand(UINT code, UINT, HWND control) {
    if (control != list_ || code != CBN_SELCHANGE) return;
    const LRESULT index = SendMessageW(list_, CB_GETCURSEL, 0, 0);
    if (index < 0 || size_t(index) >= values_.size()) return;
    value_ = values_[size_t(index)];
    if (applyMode_ != ApplyAtOnce) return;
    if (!LockCamera()) {
        UpdateControls();
        return;
    }
    const bool set = option_->SetValue(value_);
    UnlockCamera();
    const uint32_t id = OptionId();
    PostChanged(id);
    if (set && id != kRecordMode) {
        // The worker triggers frames itself only in software start (external and internal sync: 5, 6).
        if (value_ == kSyncSoftwareStart) Renderer().SetSoftwareStart(true);
        if (value_ == kSyncExternal || value_ == kSyncInternal) Renderer().SetSoftwareStart(false);
    }
}

void enum_option_holder::ReadProfile(const std::wstring& path) {
    Settings::ReadEnumOption(option_, value_, path);
    Apply();
}

void enum_option_holder::WriteProfile(const std::wstring& path) {
    if (applyMode_ == ApplyAtOnce) option_->GetValue(&value_);
    Settings::WriteEnumOption(option_, value_, path);
}

// ---- scalar_option_holder ----

scalar_option_holder::scalar_option_holder(HWND pane, int applyMode, OvTypeLib::IOvSystem* system,
                                           OvTypeLib::IOvScalarOption* option, bool vext)
    : option_holder(pane, applyMode, system), option_(option) {
    OvTypeLib::IOvEnum* units = nullptr;
    uint32_t id = 0;
    if (option_->GetUnits(&units) && units)
        for (bool more = units->First(&id, nullptr, nullptr); more; more = units->Next(&id, nullptr, nullptr))
            units_.push_back(id);
    if (!units_.empty()) {
        switch (option_->AsOption()->GetId()) {
            case kExposure:
                unit_ = kUnitPeriod;
                break;
            case kFrameRate:
                unit_ = vext ? kUnitFramesPerSecond : kUnitPeriod;
                break;
            case kFramePercent:
                unit_ = kUnitPercent;
                break;
            case kRateDependent:
                unit_ = 5;
                break;
            default:
                unit_ = units_.front();
                break;
        }
    }
    option_->GetValue(unit_, &value_);
}

bool scalar_option_holder::HasRange() {
    int32_t minimum = 0, maximum = 0;
    if (!option_->GetRange(unit_, &minimum, &maximum)) return false;
    return minimum != maximum;
}

void scalar_option_holder::CreateControls(int x, int y) {
    const int right = x + kHalf;
    AddControl(WC_STATICW, L"Scalar Option", SS_LEFT, x, y + 3, kHalf - 4, 16, kIdLabel);
    edit_ = AddControl(WC_EDITW, L"", ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, right, y, kHalf - 18, 20, kIdEdit,
                       WS_EX_CLIENTEDGE);
    CScalarEdit::Attach(edit_);
    upDown_ = AddControl(UPDOWN_CLASSW, L"", UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0, 0,
                         0, 0, kIdUpDown);
    SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
    unitList_ = AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, right, y + kRowHeight, kHalf,
                           200, kIdUnits);
    // Minimum, track bar and maximum share the third row, in that order.
    const int trackY = y + 2 * kRowHeight;
    AddControl(WC_STATICW, L"", SS_RIGHT, x, trackY + 7, kLimitWidth, 16, kIdMinimum);
    track_ =
        AddControl(TRACKBAR_CLASSW, L"", TBS_NOTICKS | TBS_BOTH | TBS_TOOLTIPS | WS_TABSTOP,
                   x + kLimitWidth + kLimitGap, trackY, kHolderWidth - 2 * (kLimitWidth + kLimitGap), 30, kIdTrack);
    AddControl(WC_STATICW, L"", SS_LEFT, x + kHolderWidth - kLimitWidth, trackY + 7, kLimitWidth, 16, kIdMaximum);
    for (uint32_t unit : units_) {
        const char* name = nullptr;
        const std::wstring text = option_->GetUnitName(unit, &name) && name ? AnsiToWide(name) : Decimal(int32_t(unit));
        SendMessageW(unitList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    const uint32_t id = OptionId();
    const bool specialUnit = id == kExposure || id == kFrameRate || id == kFramePercent || id == kRateDependent;
    // A list with nothing to choose is left out: no units, or one unit of an ordinary option.
    if (units_.empty() || (units_.size() == 1 && !specialUnit)) ShowWindow(unitList_, SW_HIDE);
    SetWindowTextW(Control(kIdLabel), DisplayName(option_->AsOption(), L"Scalar Option").c_str());
    UpdateControls();
}

void scalar_option_holder::SetupRange() {
    int32_t minimum = 0, maximum = 0;
    option_->GetRange(unit_, &minimum, &maximum);
    minimum_ = minimum;
    maximum_ = maximum;
    listRange_ = !IsContinuousRange(minimum_, maximum_);
    if (listRange_) {
        RECT bar{};
        GetWindowRect(track_, &bar);
        entries_ = TrackValueList(maximum_, bar.right - bar.left);
        SendMessageW(track_, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageW(track_, TBM_SETRANGEMAX, TRUE, entries_.empty() ? 0 : LPARAM(entries_.size() - 1));
    } else {
        entries_.clear();
        SendMessageW(track_, TBM_SETRANGEMIN, FALSE, LPARAM(minimum_));
        SendMessageW(track_, TBM_SETRANGEMAX, TRUE, LPARAM(maximum_));
    }
    SendMessageW(track_, TBM_SETLINESIZE, 0, 1);
    SendMessageW(track_, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(upDown_, UDM_SETRANGE32, WPARAM(minimum_), LPARAM(maximum_));
    SetWindowTextW(Control(kIdMinimum), Decimal(minimum_).c_str());
    SetWindowTextW(Control(kIdMaximum), Decimal(maximum_).c_str());
    const auto found = std::find(units_.begin(), units_.end(), unit_);
    SendMessageW(unitList_, CB_SETCURSEL, found == units_.end() ? WPARAM(-1) : WPARAM(found - units_.begin()), 0);
}

void scalar_option_holder::ShowValue() {
    SendMessageW(upDown_, UDM_SETPOS32, 0, LPARAM(value_));
    SetWindowTextW(edit_, Decimal(value_).c_str());
    SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
    const LPARAM position = listRange_ ? LPARAM(TrackPositionOf(entries_, value_)) : LPARAM(value_);
    SendMessageW(track_, TBM_SETPOS, TRUE, position);
}

void scalar_option_holder::UpdateControls() {
    if (applyMode_ == ApplyAtOnce) option_->GetValue(unit_, &value_);
    SetupRange();
    ShowValue();
}

void scalar_option_holder::Apply() {
    if (!LockCamera()) return;
    option_->SetValue(unit_, value_);
    UnlockCamera();
}

void scalar_option_holder::Reread() { option_->GetValue(unit_, &value_); }

void scalar_option_holder::SetOption(int32_t value, bool step) {
    if (!LockCamera()) {
        UpdateControls();
        return;
    }
    if (step)
        option_->StepValue(unit_, value);
    else
        option_->SetValue(unit_, value);
    UnlockCamera();
    PostChanged(OptionId());
}

void scalar_option_holder::Commit() {
    wchar_t text[261] = {};
    GetWindowTextW(edit_, text, 261);
    const int32_t value = int32_t(ParseClamped(WideToAnsi(text), minimum_, maximum_));
    if (applyMode_ == ApplyAtOnce) {
        SetOption(value, false);
        return;
    }
    value_ = value;
    ShowValue();
}

void scalar_option_holder::OnCommand(UINT code, UINT id, HWND control) {
    if (control == edit_ && id == 1 && code == 0) {  // Enter in the edit
        Commit();
        SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
    } else if (control == edit_ && code == EN_KILLFOCUS) {
        if (SendMessageW(edit_, EM_GETMODIFY, 0, 0)) {
            SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
            Commit();
        }
    } else if (control == unitList_ && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(unitList_, CB_GETCURSEL, 0, 0);
        if (index < 0 || size_t(index) >= units_.size()) return;
        unit_ = units_[size_t(index)];
        option_->GetValue(unit_, &value_);
        UpdateControls();
    }
}

LRESULT scalar_option_holder::OnNotify(NMHDR* header) {
    if (header->hwndFrom != upDown_ || header->code != UDN_DELTAPOS) return 0;
    const int delta = reinterpret_cast<NMUPDOWN*>(header)->iDelta;
    if (applyMode_ == ApplyAtOnce) {
        SetOption(delta, true);
    } else {
        value_ = int32_t(std::clamp<int64_t>(int64_t(value_) + delta, minimum_, maximum_));
        ShowValue();
    }
    return 1;  // the holder shows the new value itself
}

void scalar_option_holder::OnHScroll(UINT code, HWND control) {
    if (control != track_ || code > TB_BOTTOM || code == TB_THUMBTRACK) return;
    const LRESULT position = SendMessageW(track_, TBM_GETPOS, 0, 0);
    int32_t value = int32_t(position);
    if (listRange_) {
        if (position < 0 || size_t(position) >= entries_.size()) return;
        value = int32_t(entries_[size_t(position)]);
    }
    if (applyMode_ == ApplyAtOnce) {
        if (listRange_)
            SetOption(value - value_, true);
        else
            SetOption(value, false);
        return;
    }
    value_ = value;
    SendMessageW(upDown_, UDM_SETPOS32, 0, LPARAM(value_));
    SetWindowTextW(edit_, Decimal(value_).c_str());
}

void scalar_option_holder::ReadProfile(const std::wstring& path) {
    const uint32_t shownUnit = unit_;
    Settings::ReadScalarOption(option_, value_, unit_, path);
    // A unit the list does not hold cannot be shown: the value is taken in the unit shown.
    if (std::find(units_.begin(), units_.end(), unit_) == units_.end()) {
        int32_t converted = value_;
        if (!option_->GetValue(shownUnit, &converted)) converted = value_;
        unit_ = shownUnit;
        value_ = converted;
    }
    int32_t minimum = 0, maximum = 0;
    if (option_->GetRange(unit_, &minimum, &maximum) && minimum <= maximum)
        value_ = std::clamp(value_, minimum, maximum);
    Apply();
    if (applyMode_ == ApplyAtOnce) option_->GetValue(unit_, &value_);
}

void scalar_option_holder::WriteProfile(const std::wstring& path) {
    if (applyMode_ == ApplyAtOnce) option_->GetValue(unit_, &value_);
    Settings::WriteScalarOption(option_, value_, unit_, path);
}

// ---- rect_option_holder ----

rect_option_holder::rect_option_holder(HWND pane, int applyMode, OvTypeLib::IOvSystem* system,
                                       OvTypeLib::IOvRectOption* option, OvTypeLib::IOvScalarOption* centring)
    : option_holder(pane, applyMode, system), option_(option), centring_(centring) {
    Reread();
}

void rect_option_holder::TrackMaximum() {
    int32_t x = 0, y = 0, width = 0, height = 0;
    if (option_->GetMaxRect(&x, &y, &width, &height)) {
        maxWidth_ = std::max(maxWidth_, width);
        maxHeight_ = std::max(maxHeight_, height);
    }
    maxWidth_ = std::max(maxWidth_, x_ + width_);
    maxHeight_ = std::max(maxHeight_, y_ + height_);
}

void rect_option_holder::CreateControls(int x, int y) {
    AddControl(WC_STATICW, L"Rect Option", SS_LEFT, x, y + 3, kHalf - 4, 16, kIdLabel);
    static const wchar_t* const kNames[4] = {L"x", L"y", L"w", L"h"};
    for (int i = 0; i < 4; ++i) {
        const int left = x + kHalf + (i % 2) * (kHalf / 2);
        const int top = y + (i / 2) * kRowHeight;
        AddControl(WC_STATICW, kNames[i], SS_LEFT, left, top + 3, 10, 16, -1);
        HWND edit = AddControl(WC_EDITW, L"", ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, left + 10, top, kHalf / 2 - 12,
                               20, kIdRectX + i, WS_EX_CLIENTEDGE);
        upDowns_[i] = AddControl(UPDOWN_CLASSW, L"", UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_NOTHOUSANDS,
                                 0, 0, 0, 0, -1);
        SendMessageW(upDowns_[i], UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    }
    AddControl(WC_BUTTONW, L"Центрировать", BS_AUTOCHECKBOX | WS_TABSTOP, x, y + 2 * kRowHeight + 2, kHalf - 4, 20,
               kIdRectCentre);
    AddControl(WC_BUTTONW, L"Применить", BS_PUSHBUTTON | WS_TABSTOP, x + kHalf, y + 2 * kRowHeight, kHalf, 22,
               kIdRectApply);
    SetWindowTextW(Control(kIdLabel), DisplayName(option_->AsOption(), L"Rect Option").c_str());
    UpdateControls();
}

void rect_option_holder::UpdateControls() {
    if (applyMode_ == ApplyAtOnce) Reread();
    TrackMaximum();
    const int32_t values[4] = {x_, y_, width_, height_};
    const int32_t limits[4] = {maxWidth_, maxHeight_, maxWidth_, maxHeight_};
    for (int i = 0; i < 4; ++i) {
        SendMessageW(upDowns_[i], UDM_SETRANGE32, 0, limits[i]);
        SendMessageW(upDowns_[i], UDM_SETPOS32, 0, values[i]);
        SetWindowTextW(Control(kIdRectX + i), Decimal(values[i]).c_str());
    }
    EnableWindow(Control(kIdRectApply), FALSE);
}

void rect_option_holder::Apply() {
    if (!LockCamera()) return;
    option_->SetRect(x_, y_, width_, height_);
    UnlockCamera();
}

void rect_option_holder::Reread() { option_->GetRect(&x_, &y_, &width_, &height_); }

void rect_option_holder::ApplyButton() {
    int32_t values[4] = {};
    for (int i = 0; i < 4; ++i) values[i] = int32_t(SendMessageW(upDowns_[i], UDM_GETPOS32, 0, 0));
    if (SendMessageW(Control(kIdRectCentre), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        int32_t k = 1;
        if (!centring_ || !centring_->GetValue(kCentringUnit, &k)) k = 1;
        values[0] = int32_t(CentredOffset(uint32_t(maxWidth_), uint32_t(values[2]), uint32_t(k)));
        values[1] = int32_t(CentredOffset(uint32_t(maxHeight_), uint32_t(values[3])));
    }
    if (applyMode_ == ApplyAtOnce) {
        if (!LockCamera()) {
            UpdateControls();
            return;
        }
        option_->SetRect(values[0], values[1], values[2], values[3]);
        UnlockCamera();
    } else {
        x_ = values[0];
        y_ = values[1];
        width_ = values[2];
        height_ = values[3];
    }
    PostChanged(OptionId());
    EnableWindow(Control(kIdRectApply), FALSE);
}

void rect_option_holder::OnCommand(UINT code, UINT id, HWND control) {
    if (id >= UINT(kIdRectX) && id <= UINT(kIdRectH) && code == EN_CHANGE) {
        EnableWindow(Control(kIdRectApply), enabled_);
    } else if (id == UINT(kIdRectApply) && code == BN_CLICKED) {
        ApplyButton();
    }
}

void rect_option_holder::ReadProfile(const std::wstring& path) {
    Settings::RectValue rect{x_, y_, width_, height_};
    Settings::ReadRectOption(option_, rect, path);
    x_ = rect.x;
    y_ = rect.y;
    width_ = rect.width;
    height_ = rect.height;
    Apply();
}

void rect_option_holder::WriteProfile(const std::wstring& path) {
    if (applyMode_ == ApplyAtOnce) Reread();
    Settings::WriteRectOption(option_, Settings::RectValue{x_, y_, width_, height_}, path);
}

// ---- dig_amplify_option ----

dig_amplify_option::dig_amplify_option(HWND pane, OvTypeLib::IOvSystem* system, OvTypeLib::IOvEnumOption* bound)
    : option_holder(pane, ApplyAtOnce, system), bound_(bound) {}

int dig_amplify_option::Maximum() const {
    int32_t value = 0;
    const bool has = bound_ && bound_->GetValue(&value);
    return DigitalGainMaximum(has, value);
}

void dig_amplify_option::CreateControls(int x, int y) {
    AddControl(WC_STATICW, label_.c_str(), SS_LEFT, x, y + 3, kHalf - 4, 16, kIdLabel);
    track_ =
        AddControl(TRACKBAR_CLASSW, L"", TBS_AUTOTICKS | TBS_TOOLTIPS | WS_TABSTOP, x + kHalf, y, kHalf, 20, kIdTrack);
    UpdateControls();
}

void dig_amplify_option::UpdateControls() {
    Reread();
    SendMessageW(track_, TBM_SETRANGE, TRUE, MAKELPARAM(0, Maximum()));
    SendMessageW(track_, TBM_SETPOS, TRUE, gain_);
}

void dig_amplify_option::Apply() { Renderer().SetGainShift(uint32_t(std::max(gain_, 0))); }

void dig_amplify_option::Reread() {
    const int maximum = Maximum();
    if (gain_ <= maximum) return;
    // The camera lowered the bound: the image must not keep a gain the track bar cannot show.
    gain_ = maximum;
    Apply();
}

void dig_amplify_option::OnHScroll(UINT code, HWND control) {
    if (control != track_ || code != TB_ENDTRACK) return;
    gain_ = int(SendMessageW(track_, TBM_GETPOS, 0, 0));
    Apply();
}

void dig_amplify_option::ReadProfile(const std::wstring& path) {
    // The track bar shows 0 ... maximum: a gain outside is brought to its nearer end.
    gain_ = std::clamp(Settings::Profile(path).DigitalGain(gain_), 0, Maximum());
    Apply();
}

void dig_amplify_option::WriteProfile(const std::wstring& path) { Settings::Profile(path).WriteDigitalGain(gain_); }

// ---- binning_option ----

void binning_option::CreateControls(int x, int y) {
    AddControl(WC_STATICW, L"Бининг", SS_LEFT, x, y + 3, kHalf - 4, 16, kIdLabel);
    list_ =
        AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x + kHalf, y, kHalf, 200, kIdList);
    for (const wchar_t* text : {L"1 x 1", L"2 x 2", L"4 x 4", L"8 x 8"})
        SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    UpdateControls();
}

void binning_option::UpdateControls() { SendMessageW(list_, CB_SETCURSEL, WPARAM(BinningIndex(factor_)), 0); }

void binning_option::Apply() { Renderer().SetBinning(uint32_t(factor_)); }

void binning_option::OnCommand(UINT code, UINT, HWND control) {
    if (control != list_ || code != CBN_SELCHANGE) return;
    const LRESULT index = SendMessageW(list_, CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    factor_ = BinningFactor(int(index));
    Apply();
}

void binning_option::ReadProfile(const std::wstring& path) {
    // Only the list's factors are kept; any other (or none) is 1 x 1, which the list then shows.
    const int factor = Settings::Profile(path).Binning().value_or(1);
    factor_ = BinningFactor(BinningIndex(factor)) == factor ? factor : 1;
    Apply();
}

void binning_option::WriteProfile(const std::wstring& path) { Settings::Profile(path).WriteBinning(factor_); }

// ---- workmode_option ----

workmode_option::workmode_option(HWND pane, OvTypeLib::IOvSystem* system)
    : option_holder(pane, ApplyAtOnce, system), option_(FindSyncOption(system)) {
    Reread();
}

OvTypeLib::IOvEnumOption* workmode_option::FindSyncOption(OvTypeLib::IOvSystem* system) {
    OvTypeLib::IOvEnum* options = nullptr;
    void* item = nullptr;
    if (!system || !system->GetOptions(&options) || !options) return nullptr;
    for (bool more = options->First(nullptr, nullptr, &item); more; more = options->Next(nullptr, nullptr, &item)) {
        auto* option = static_cast<OvTypeLib::IOvOption*>(item);
        if (option->GetId() == kRecordMode || option->GetKind() != OvTypeLib::OptionKindEnum) continue;
        OvTypeLib::IOvEnumOption* candidate = option->AsEnum();
        OvTypeLib::IOvEnum* values = nullptr;
        if (!candidate || !candidate->GetValues(&values) || !values) continue;
        bool seen[3] = {};
        uint32_t id = 0;
        for (bool v = values->First(&id, nullptr, nullptr); v; v = values->Next(&id, nullptr, nullptr))
            if (id >= 4 && id <= 6) seen[id - 4] = true;
        if (seen[0] && seen[1] && seen[2]) return candidate;
    }
    return nullptr;
}

void workmode_option::CreateControls(int x, int y) {
    AddControl(WC_STATICW, L"Режим работы камеры", SS_LEFT, x, y + 3, kHolderWidth, 16, kIdLabel);
    static const wchar_t* const kTexts[4] = {L"Внутренняя синхронизация", L"Программный старт",
                                             L"Внешняя синхронизация", L"Внешняя синхронизация с блокировкой"};
    for (int i = 0; i < 4; ++i)
        AddControl(WC_BUTTONW, kTexts[i], BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), x + 8,
                   y + 20 * (i + 1), kHolderWidth - 8, 20, kIdModeInternal + i);
    UpdateControls();
}

void workmode_option::Reread() {
    int32_t value = 0;
    if (!option_ || !option_->GetValue(&value)) {
        mode_ = -1;
        return;
    }
    const int mode = WorkModeFromSync(value);
    if (!(mode == 2 && mode_ == 3)) mode_ = mode;  // both external modes set 5
}

void workmode_option::UpdateControls() {
    Reread();
    for (int i = 0; i < 4; ++i)
        SendMessageW(Control(kIdModeInternal + i), BM_SETCHECK, i == mode_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void workmode_option::Apply() {
    const int32_t value = SyncFromWorkMode(mode_);
    if (!option_ || value < 0) return;
    if (!LockCamera()) {
        UpdateControls();
        return;
    }
    // The worker triggers frames itself in software start; it follows the camera only when the camera took the mode.
    if (option_->SetValue(value)) {
        Renderer().SetSoftwareStart(mode_ == 1);
        Renderer().SetSyncBlocking(mode_ == 3);
    }
    UnlockCamera();
    PostChanged(option_->AsOption()->GetId());
}

void workmode_option::OnCommand(UINT code, UINT id, HWND) {
    if (code != BN_CLICKED || id < UINT(kIdModeInternal) || id > UINT(kIdModeBlocking)) return;
    mode_ = int(id) - kIdModeInternal;
    Apply();
}

void workmode_option::ReadProfile(const std::wstring& path) {
    mode_ = Settings::Profile(path).WorkMode();
    Apply();
}

void workmode_option::WriteProfile(const std::wstring& path) { Settings::Profile(path).WriteWorkMode(mode_); }

}  // namespace AppGui::Options
