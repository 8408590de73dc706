#pragma once
// The camera options pane on the left of the main window: one group of
// controls per option of the open camera (option holders, stacked from the
// top), and the program's own settings of a ZEL camera (work mode, digital
// gain, binning). Messages: UWM_BUILD_OPTIONS, UWM_LOAD_OPTIONS,
// UWM_SAVE_OPTIONS, UWM_REAPPLY_OPTIONS, UWM_FIT_OPTIONS and
// UWM_OPTION_CHANGED (AppMessages.h).
#include <memory>
#include <string>
#include <vector>

#include "AppGui/Framework/DialogMessageFilter.h"
#include "AppGui/Framework/Window.h"
#include "AppGui/Options/OptionHolders.h"

namespace AppGui {

class CamOptionsChildPane : public Window {
public:
    CamOptionsChildPane() = default;
    ~CamOptionsChildPane() override;

    // The width of the pane's content window, which sets the left pane's width.
    int ContentWidth() const;

    const std::vector<std::unique_ptr<Options::option_holder>>& Holders() const { return holders_; }
    // The holder bound to an option id (the first), or null.
    Options::option_holder* HolderOf(uint32_t optionId) const;
    Options::option_holder* HolderOwning(HWND control) const;
    int LayoutBottom() const { return bottom_; }
    int LayoutRight() const { return right_; }

protected:
    WindowClassInfo ClassInfo() const override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Build(const wchar_t* profile);
    void BuildVext(const wchar_t* profile);
    void BuildZel(const wchar_t* profile);
    Options::option_holder* Place(std::unique_ptr<Options::option_holder> holder, const wchar_t* profile);
    void DestroyHolders();
    void Fit();
    void OptionChanged(uint32_t id);

    std::vector<std::unique_ptr<Options::option_holder>> holders_;
    int x_ = 8;
    int y_ = 0;
    int right_ = 0;
    int bottom_ = 0;
    bool vext_ = false;
    Options::option_holder* exposure_ = nullptr;                              // VEXT
    Options::option_holder* vextRect_ = nullptr;                              // VEXT
    Options::option_holder* workMode_ = nullptr;                              // ZEL
    Options::option_holder* frameRect_ = nullptr;                             // ZEL
    DllModule::Lib3Wrapper::OvTypeLib::IOvEnumOption* dataFormat_ = nullptr;  // ZEL
    Glob::CIsDialogMessageFilter filter_;
};

}  // namespace AppGui
