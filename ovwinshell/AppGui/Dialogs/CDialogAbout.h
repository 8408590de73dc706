#pragma once
// The About box ("О программе"): the program's version and the maker's
// contact lines, the camera library's version and the open camera's
// information text.
#include <string>

#include "AppGui/Framework/ModalDialog.h"

class CDialogAbout : public AppGui::ModalDialog {
public:
    // `systemInfo`: the open system's information text, empty when none is open.
    explicit CDialogAbout(std::wstring systemInfo = {});

    // The text the box shows.
    static std::wstring Text(const std::wstring& systemInfo);

protected:
    bool OnInitDialog(HWND defaultFocus) override;

private:
    std::wstring systemInfo_;
};
