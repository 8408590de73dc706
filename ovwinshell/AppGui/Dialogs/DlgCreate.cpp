#include "DlgCreate.h"

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/CameraOpenFailure.h"
#include "AppGui/Framework/WaitCursor.h"
#include "AppGui/Dialogs/DialogText.h"
#include "AppGui/Framework/WindowClass.h"
#include "AppGui/Resources/dialogs_resource.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/IOvOption.h"
#include "Common/AnsiText.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"

namespace AppGui {

using namespace DllModule::Lib3Wrapper;
using namespace DllModule::Lib3Wrapper::OvTypeLib;

namespace {

void SnapshotScalar(IOvOption* option, IOvScalarOption* scalar, Settings::OptionSnapshots& snapshots) {
    IOvEnum* units = nullptr;
    uint32_t unit = 0;
    const char* unitName = nullptr;
    if (!scalar->GetUnits(&units) || !units || !units->First(&unit, &unitName, nullptr)) return;
    int32_t value = 0;
    if (!scalar->GetValue(unit, &value)) return;
    snapshots.scalars.push_back({AnsiToWide(option->GetName(1)), value, AnsiToWide(unitName)});
}

void SnapshotEnum(IOvOption* option, IOvEnumOption* item, Settings::OptionSnapshots& snapshots) {
    int32_t value = 0;
    const char* text = nullptr;
    if (!item->GetValue(&value) || !item->GetValueName(value, &text)) return;
    snapshots.enums.push_back({AnsiToWide(option->GetName(1)), AnsiToWide(text)});
}

void SnapshotRect(IOvOption* option, IOvRectOption* rect, Settings::OptionSnapshots& snapshots) {
    Settings::RectSnapshot entry;
    if (!rect->GetRect(&entry.x, &entry.y, &entry.width, &entry.height)) return;
    entry.name = AnsiToWide(option->GetName(1));
    snapshots.rects.push_back(std::move(entry));
}

}  // namespace

void TakeOptionSnapshots(IOvSystem* system, Settings::OptionSnapshots& snapshots) {
    ForEachOption(system, [&](IOvOption* option) {
        switch (option->GetKind()) {
            case OptionKindScalar:
                if (IOvScalarOption* scalar = option->AsScalar()) SnapshotScalar(option, scalar, snapshots);
                break;
            case OptionKindEnum:
                if (IOvEnumOption* enumerated = option->AsEnum()) SnapshotEnum(option, enumerated, snapshots);
                break;
            case OptionKindRect:
                if (IOvRectOption* rect = option->AsRect()) SnapshotRect(option, rect, snapshots);
                break;
            default:
                break;  // information values are not settings
        }
    });
}

DlgCreate::DlgCreate() : ModalDialog(IDD_CREATE) {}

DlgCreate::~DlgCreate() = default;

bool DlgCreate::OnInitDialog(HWND) {
    Dialogs::CentreOn(Handle(), GetWindow(Handle(), GW_OWNER));
    HWND list = Item(IDC_CAMERA_TYPE);
    typeIds_.clear();
    IOvEnum* types = nullptr;
    if (Lib3GetSystemTypes(&types) && types) {
        uint32_t id = 0;
        const char* name = nullptr;
        for (bool more = types->First(&id, &name, nullptr); more; more = types->Next(&id, &name, nullptr)) {
            const std::wstring text = AnsiToWide(name);
            if (SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) >= 0)
                typeIds_.push_back(id);
        }
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EnableWindow(Item(IDOK), FALSE);
    SetFocus(list);
    return false;
}

void DlgCreate::OnCommand(UINT id, UINT notifyCode, HWND control) {
    switch (id) {
        case IDC_CAMERA_TYPE:
            if (notifyCode == CBN_SELCHANGE) TypeChosen();
            break;
        case IDOK:
            // Also reached by a posted command while the button is disabled.
            if (IsWindowEnabled(Item(IDOK)) && AppState::Get().system) Open();
            break;
        case IDCANCEL:
            End(IDCANCEL);
            break;
        default:
            ModalDialog::OnCommand(id, notifyCode, control);
            break;
    }
}

void DlgCreate::TypeChosen() {
    const LRESULT index = SendMessageW(Item(IDC_CAMERA_TYPE), CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<size_t>(index) >= typeIds_.size()) return;
    AppState& state = AppState::Get();
    const uint32_t typeId = typeIds_[static_cast<size_t>(index)];
    IOvSystem* created = nullptr;
    if (!Lib3CreateSystem(typeId, &created, state.logger) || !created) {
        // Creating a system lets go of the previous one first, even when the
        // new one fails: nothing is left to open.
        state.system = nullptr;
        state.transfer = nullptr;
        DestroyPreview();
        EnableWindow(Item(IDOK), FALSE);
        return;
    }
    state.systemTypeId = typeId;
    state.system = created;
    state.transfer = nullptr;
    if (!preview_) CreatePreview();
    if (preview_ && preview_->Child().Handle()) {
        SendMessageW(preview_->Child().Handle(), UWM_BUILD_OPTIONS, 0, 0);
        // Sized to its holders, or the preview shows an empty pane.
        SendMessageW(preview_->Child().Handle(), UWM_FIT_OPTIONS, 0, 0);
    }
    EnableWindow(Item(IDOK), TRUE);
}

void DlgCreate::Open() {
    AppState& state = AppState::Get();
    WaitCursor wait;
    state.snapshots.Clear();
    TakeOptionSnapshots(state.system, state.snapshots);
    const std::string reportBefore = LastCameraReport();
    if (!state.system->Init()) {
        // The dialog stays: the user may try again, pick another type or cancel.
        wchar_t caption[128] = {};
        GetWindowTextW(Handle(), caption, 128);
        ShowCameraNotOpened(Handle(), caption, reportBefore);
        return;
    }
    const LRESULT index = SendMessageW(Item(IDC_CAMERA_TYPE), CB_GETCURSEL, 0, 0);
    const LRESULT length = index >= 0 ? SendMessageW(Item(IDC_CAMERA_TYPE), CB_GETLBTEXTLEN, index, 0) : 0;
    std::wstring name(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    if (length > 0) SendMessageW(Item(IDC_CAMERA_TYPE), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<size_t>(length > 0 ? length : 0));
    state.systemName = name;
    DestroyPreview();
    End(IDOK);
}

void DlgCreate::CreatePreview() {
    RECT place{};
    GetWindowRect(Item(IDC_OPTIONS_PLACE), &place);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&place), 2);
    auto preview = std::make_unique<OptionsPreview>();
    if (!preview->CreateChild(Handle(), 0, &place)) return;
    HWND window = preview->Handle();
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    SetWindowPos(window, Item(IDCANCEL), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    preview_ = std::move(preview);
}

void DlgCreate::DestroyPreview() {
    if (!preview_) return;
    if (preview_->Handle()) preview_->Destroy();
    preview_.reset();
}

}  // namespace AppGui
