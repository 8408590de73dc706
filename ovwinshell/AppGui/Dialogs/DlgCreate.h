#pragma once
// The camera-type dialog of the New command: the user picks a camera type,
// which creates that type's system at once (a later pick replaces it), can
// adjust its options in a preview of the options pane, and OK opens it.
//
// Result IDOK: the system is open and AppState holds its type, system, name
// and the option snapshot; anything else: no camera was opened (a system
// created by the last pick may still be held; the main window's Close lets
// it go).
#include <cstdint>
#include <memory>
#include <vector>

#include "AppGui/Framework/ModalDialog.h"
#include "AppGui/Framework/ScrollableWindow.h"
#include "AppGui/Panes/CamOptionsChildPane.h"
#include "AppGui/Settings/OptionSnapshot.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"

namespace AppGui {

// Appends an entry for each scalar (in its first unit), enumerated and
// rectangle option of `system`; options whose values cannot be read are left out.
void TakeOptionSnapshots(DllModule::Lib3Wrapper::OvTypeLib::IOvSystem* system, Settings::OptionSnapshots& snapshots);

class DlgCreate : public ModalDialog {
public:
    DlgCreate();
    ~DlgCreate() override;

    using OptionsPreview = ScrollableWindow<CamOptionsChildPane>;
    // The preview, once a type has been picked; null before and after OK.
    OptionsPreview* Preview() const { return preview_.get(); }

protected:
    bool OnInitDialog(HWND defaultFocus) override;
    void OnCommand(UINT id, UINT notifyCode, HWND control) override;

private:
    void TypeChosen();
    void Open();
    void CreatePreview();
    void DestroyPreview();

    std::vector<uint32_t> typeIds_;  // parallel to the list's entries
    std::unique_ptr<OptionsPreview> preview_;
};

}  // namespace AppGui
