#pragma once
// Option holders: each owns the controls of one camera option (or of one of
// the program's own settings) inside the options pane, shows its value,
// sends edits to the camera and reads and writes its own profile section.
//
// Apply mode 0 sends every change to the camera at once; apply mode 1 only
// keeps the value in the holder until Apply() sends it as a whole.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"

namespace AppGui::Options {

namespace OvTypeLib = DllModule::Lib3Wrapper::OvTypeLib;

constexpr int kHolderWidth = 280;
constexpr int kRowHeight = 22;

// Control ids inside a holder.
enum : int {
    kIdRectX = 1001,
    kIdRectY = 1002,
    kIdRectW = 1003,
    kIdRectH = 1004,
    kIdRectApply = 1005,
    kIdRectCentre = 1006,
    kIdList = 1011,
    kIdLabel = 1012,
    kIdMinimum = 1013,
    kIdMaximum = 1014,
    kIdTrack = 1015,
    kIdUpDown = 1016,
    kIdEdit = 1017,
    kIdUnits = 1018,
    kIdModeInternal = 1122,
    kIdModeSoftware = 1123,
    kIdModeExternal = 1124,
    kIdModeBlocking = 1125,
};

enum ApplyMode : int { ApplyAtOnce = 0, ApplyAsWhole = 1 };

class option_holder {
public:
    option_holder(HWND pane, int applyMode, OvTypeLib::IOvSystem* system)
        : pane_(pane), applyMode_(applyMode), system_(system) {}
    virtual ~option_holder() = default;
    option_holder(const option_holder&) = delete;
    option_holder& operator=(const option_holder&) = delete;

    virtual bool OwnsControl(HWND control) const;
    virtual RECT PreferredSize() const = 0;
    virtual int Kind() const = 0;  // rect 2, enum 1, scalar 0, the program's own -1
    virtual HWND MainControl() const;
    virtual void UpdateControls() = 0;
    virtual void Apply() = 0;
    virtual void Reread() = 0;
    virtual void OnCommand(UINT code, UINT id, HWND control) {}
    virtual LRESULT OnNotify(NMHDR* header) { return 0; }
    virtual void OnHScroll(UINT code, HWND control) {}
    virtual void DestroyControls();
    virtual void ReadProfile(const std::wstring& path) = 0;
    virtual void WriteProfile(const std::wstring& path) = 0;
    // Holders of several rows of controls (rect, scalar, work mode).
    virtual bool MultiRow() const = 0;

    // Creates the controls with the holder's top left corner at (x, y) of the
    // pane and shows the value.
    virtual void CreateControls(int x, int y) = 0;
    // The camera option's id, 0 for the program's own settings.
    virtual uint32_t OptionId() const { return 0; }

    int ApplyModeOf() const { return applyMode_; }
    void Enable(bool on);
    HWND Control(int id) const;

protected:
    HWND AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int x, int y, int width, int height,
                    int id, DWORD exStyle = 0);
    void PostChanged(uint32_t id) const;
    bool LockCamera() const;
    void UnlockCamera() const;

    HWND pane_;
    int applyMode_;
    OvTypeLib::IOvSystem* system_;
    std::vector<HWND> controls_;
    bool enabled_ = true;
};

// An edit that takes every key: Tab and Shift+Tab move through the pane's tab
// stops, Enter sends WM_COMMAND with id 1 and the edit's handle to the parent,
// and gaining the focus selects the whole text.
class CScalarEdit {
public:
    // Subclasses an existing edit control.
    static bool Attach(HWND edit);
};

class enum_option_holder : public option_holder {
public:
    enum_option_holder(HWND pane, int applyMode, OvTypeLib::IOvSystem* system, OvTypeLib::IOvEnumOption* option);

    // Options offering a single value get no holder.
    static size_t ValueCount(OvTypeLib::IOvEnumOption* option);

    RECT PreferredSize() const override { return {0, 0, kHolderWidth, 20}; }
    int Kind() const override { return 1; }
    HWND MainControl() const override { return list_; }
    void UpdateControls() override;
    void Apply() override;
    void Reread() override;
    void OnCommand(UINT code, UINT id, HWND control) override;
    void ReadProfile(const std::wstring& path) override;
    void WriteProfile(const std::wstring& path) override;
    bool MultiRow() const override { return false; }
    void CreateControls(int x, int y) override;
    uint32_t OptionId() const override { return option_->AsOption()->GetId(); }

    int32_t Value() const { return value_; }
    const std::vector<int32_t>& Values() const { return values_; }

private:
    OvTypeLib::IOvEnumOption* option_;
    int32_t value_ = 0;
    std::vector<int32_t> values_;
    HWND list_ = nullptr;
};

class scalar_option_holder : public option_holder {
public:
    scalar_option_holder(HWND pane, int applyMode, OvTypeLib::IOvSystem* system, OvTypeLib::IOvScalarOption* option,
                         bool vext);

    // False when the option's range in the holder's unit is a single value.
    bool HasRange();

    RECT PreferredSize() const override { return {0, 0, kHolderWidth, 80}; }
    int Kind() const override { return 0; }
    HWND MainControl() const override { return edit_; }
    void UpdateControls() override;
    void Apply() override;
    void Reread() override;
    void OnCommand(UINT code, UINT id, HWND control) override;
    LRESULT OnNotify(NMHDR* header) override;
    void OnHScroll(UINT code, HWND control) override;
    void ReadProfile(const std::wstring& path) override;
    void WriteProfile(const std::wstring& path) override;
    bool MultiRow() const override { return true; }
    void CreateControls(int x, int y) override;
    uint32_t OptionId() const override { return option_->AsOption()->GetId(); }

    int32_t Value() const { return value_; }
    uint32_t Unit() const { return unit_; }
    bool ListRange() const { return listRange_; }
    const std::vector<int64_t>& Entries() const { return entries_; }

private:
    void SetupRange();
    void ShowValue();
    void Commit();
    void SetOption(int32_t value, bool step);

    OvTypeLib::IOvScalarOption* option_;
    int32_t value_ = 0;
    uint32_t unit_ = 0;
    std::vector<uint32_t> units_;
    int64_t minimum_ = 0;
    int64_t maximum_ = 0;
    bool listRange_ = false;
    std::vector<int64_t> entries_;
    HWND edit_ = nullptr;
    HWND upDown_ = nullptr;
    HWND unitList_ = nullptr;
    HWND track_ = nullptr;
};

class rect_option_holder : public option_holder {
public:
    // `centring` supplies the horizontal centring factor (read in unit 5); may be null.
    rect_option_holder(HWND pane, int applyMode, OvTypeLib::IOvSystem* system, OvTypeLib::IOvRectOption* option,
                       OvTypeLib::IOvScalarOption* centring);

    RECT PreferredSize() const override { return {0, 0, kHolderWidth, 90}; }
    int Kind() const override { return 2; }
    HWND MainControl() const override { return Control(kIdRectX); }
    void UpdateControls() override;
    void Apply() override;
    void Reread() override;
    void OnCommand(UINT code, UINT id, HWND control) override;
    void ReadProfile(const std::wstring& path) override;
    void WriteProfile(const std::wstring& path) override;
    bool MultiRow() const override { return true; }
    void CreateControls(int x, int y) override;
    uint32_t OptionId() const override { return option_->AsOption()->GetId(); }

    RECT Value() const { return {x_, y_, x_ + width_, y_ + height_}; }

private:
    void ApplyButton();
    void TrackMaximum();

    OvTypeLib::IOvRectOption* option_;
    OvTypeLib::IOvScalarOption* centring_;
    int32_t x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    int32_t maxWidth_ = 0, maxHeight_ = 0;
    HWND upDowns_[4] = {};
};

class dig_amplify_option : public option_holder {
public:
    // `bound` is the enum option whose value sets the gain's maximum; may be null.
    dig_amplify_option(HWND pane, OvTypeLib::IOvSystem* system, OvTypeLib::IOvEnumOption* bound);

    RECT PreferredSize() const override { return {0, 0, kHolderWidth, 20}; }
    int Kind() const override { return -1; }
    HWND MainControl() const override { return track_; }
    void UpdateControls() override;
    void Apply() override;
    void Reread() override;
    void OnHScroll(UINT code, HWND control) override;
    void ReadProfile(const std::wstring& path) override;
    void WriteProfile(const std::wstring& path) override;
    bool MultiRow() const override { return false; }
    void CreateControls(int x, int y) override;

    int Gain() const { return gain_; }
    int Maximum() const;

private:
    OvTypeLib::IOvEnumOption* bound_;
    int gain_ = 0;
    std::wstring label_ = L"Цифр.усиление";
    HWND track_ = nullptr;
};

class binning_option : public option_holder {
public:
    binning_option(HWND pane, OvTypeLib::IOvSystem* system) : option_holder(pane, ApplyAtOnce, system) {}

    RECT PreferredSize() const override { return {0, 0, kHolderWidth, 20}; }
    int Kind() const override { return -1; }
    HWND MainControl() const override { return list_; }
    void UpdateControls() override;
    void Apply() override;
    void Reread() override {}
    void OnCommand(UINT code, UINT id, HWND control) override;
    void ReadProfile(const std::wstring& path) override;
    void WriteProfile(const std::wstring& path) override;
    bool MultiRow() const override { return false; }
    void CreateControls(int x, int y) override;

private:
    int factor_ = 1;
    HWND list_ = nullptr;
};

class workmode_option : public option_holder {
public:
    workmode_option(HWND pane, OvTypeLib::IOvSystem* system);

    // The first enum option (not 0x400005) offering 4, 5 and 6; null when none.
    static OvTypeLib::IOvEnumOption* FindSyncOption(OvTypeLib::IOvSystem* system);

    RECT PreferredSize() const override { return {0, 0, kHolderWidth, 104}; }
    int Kind() const override { return -1; }
    HWND MainControl() const override { return Control(kIdModeInternal); }
    void UpdateControls() override;
    void Apply() override;
    void Reread() override;
    void OnCommand(UINT code, UINT id, HWND control) override;
    void ReadProfile(const std::wstring& path) override;
    void WriteProfile(const std::wstring& path) override;
    bool MultiRow() const override { return true; }
    void CreateControls(int x, int y) override;

    OvTypeLib::IOvEnumOption* Option() const { return option_; }
    int Mode() const { return mode_; }

private:
    OvTypeLib::IOvEnumOption* option_;
    int mode_ = -1;
};

}  // namespace AppGui::Options
