#include "CamOptionsChildPane.h"

#include <algorithm>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"

namespace AppGui {

namespace OvTypeLib = DllModule::Lib3Wrapper::OvTypeLib;
using namespace Options;

namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds;
constexpr uint32_t kSyncOutput = 0x400011;
constexpr uint32_t kBinningOption = 0x40004d;
// Our choices for the two settings the camera may supply: the enum option
// whose value bounds the digital gain and the scalar option (read in unit 5)
// that scales the horizontal centring.
constexpr uint32_t kGainBoundOption = 0x40000b;
constexpr uint32_t kCentringOption = 0x40000c;
constexpr int kDefaultWidth = 8 + kHolderWidth;
// VEXT scalars shown and applied at once beside exposure, region and the
// rate-dependent setting; and the ZEL options the pane leaves out.
constexpr uint32_t kVextOption700001 = 0x700001;
constexpr uint32_t kZelHiddenOptions[] = {0x40000f, kSyncOutput, 0x400012, 0x400048, 0x400049, 0x40004a, 0x40004b};

bool Contains(std::initializer_list<uint32_t> ids, uint32_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

OvTypeLib::IOvScalarOption* CentringOption(OvTypeLib::IOvSystem* system) {
    OvTypeLib::IOvOption* option = OvTypeLib::FindSystemOption(system, kCentringOption);
    return option && option->GetKind() == OvTypeLib::OptionKindScalar ? option->AsScalar() : nullptr;
}

}  // namespace

CamOptionsChildPane::~CamOptionsChildPane() { Glob::CMyMessageLoop::Instance().RemoveMessageFilter(&filter_); }

WindowClassInfo CamOptionsChildPane::ClassInfo() const {
    WindowClassInfo info;
    info.name = L"OvCamOptionsPane";
    info.background = SystemColourBrush(COLOR_3DFACE);
    return info;
}

int CamOptionsChildPane::ContentWidth() const {
    RECT rect{};
    if (Handle() && GetWindowRect(Handle(), &rect) && rect.right - rect.left > 0) return rect.right - rect.left;
    return right_ > 0 ? right_ : kDefaultWidth;
}

option_holder* CamOptionsChildPane::HolderOf(uint32_t optionId) const {
    for (const auto& holder : holders_)
        if (holder->OptionId() == optionId) return holder.get();
    return nullptr;
}

option_holder* CamOptionsChildPane::HolderOwning(HWND control) const {
    for (const auto& holder : holders_)
        if (holder->OwnsControl(control)) return holder.get();
    return nullptr;
}

void CamOptionsChildPane::DestroyHolders() {
    for (auto& holder : holders_) holder->DestroyControls();
    holders_.clear();
    exposure_ = vextRect_ = workMode_ = frameRect_ = nullptr;
    dataFormat_ = nullptr;
}

option_holder* CamOptionsChildPane::Place(std::unique_ptr<option_holder> holder, const wchar_t* profile) {
    const RECT size = holder->PreferredSize();
    holder->CreateControls(x_, y_);
    if (profile) {
        holder->ReadProfile(profile);
        holder->UpdateControls();
    }
    right_ = std::max(right_, x_ + int(size.right - size.left));
    bottom_ = y_ + int(size.bottom - size.top);
    y_ = bottom_ + 4;
    holders_.push_back(std::move(holder));
    return holders_.back().get();
}

void CamOptionsChildPane::Build(const wchar_t* profile) {
    DestroyHolders();
    x_ = 8;
    y_ = 0;
    right_ = 0;
    bottom_ = 0;
    AppState& state = AppState::Get();
    OvTypeLib::IOvEnum* options = nullptr;
    if (!state.system || !state.system->GetOptions(&options) || !options) {
        EnableWindow(Handle(), FALSE);
        return;
    }
    EnableWindow(Handle(), TRUE);
    vext_ = state.systemTypeId == OvTypeLib::VextSystemType;
    if (vext_)
        BuildVext(profile);
    else
        BuildZel(profile);
}

void CamOptionsChildPane::BuildVext(const wchar_t* profile) {
    OvTypeLib::IOvSystem* system = AppState::Get().system;
    OvTypeLib::IOvScalarOption* centring = CentringOption(system);
    if (OvTypeLib::IOvOption* rate = OvTypeLib::FindSystemOption(system, kFrameRate, 0); rate && rate->AsScalar()) {
        rate->AsScalar()->SetValue(31, 100);
        auto holder = std::make_unique<scalar_option_holder>(Handle(), ApplyAtOnce, system, rate->AsScalar(), true);
        if (holder->HasRange()) Place(std::move(holder), profile);
    }
    OvTypeLib::ForEachOption(system, [&](OvTypeLib::IOvOption* option) {
        const uint32_t id = option->GetId();
        switch (option->GetKind()) {
            case OvTypeLib::OptionKindScalar: {
                int mode = -1;
                if (Contains({kExposure, kRegion, kVextGain, kPretrigger, kRateDependent, kVextOption700001}, id))
                    mode = ApplyAtOnce;
                else if (Contains({kFramePosition, kFramePercent}, id))
                    mode = ApplyAsWhole;
                if (mode < 0) break;
                auto holder = std::make_unique<scalar_option_holder>(Handle(), mode, system, option->AsScalar(), true);
                if (!holder->HasRange()) break;
                option_holder* placed = Place(std::move(holder), profile);
                if (id == kExposure) exposure_ = placed;
                break;
            }
            case OvTypeLib::OptionKindEnum:
                if (id == kSyncOutput || enum_option_holder::ValueCount(option->AsEnum()) <= 1) break;
                Place(std::make_unique<enum_option_holder>(Handle(), ApplyAsWhole, system, option->AsEnum()), profile);
                break;
            case OvTypeLib::OptionKindRect: {
                option_holder* placed = Place(
                    std::make_unique<rect_option_holder>(Handle(), ApplyAtOnce, system, option->AsRect(), centring),
                    profile);
                if (id == kRegion) vextRect_ = placed;
                break;
            }
            default:
                break;
        }
    });
}

void CamOptionsChildPane::BuildZel(const wchar_t* profile) {
    OvTypeLib::IOvSystem* system = AppState::Get().system;
    OvTypeLib::IOvScalarOption* centring = CentringOption(system);
    OvTypeLib::IOvEnumOption* sync = nullptr;
    {
        auto holder = std::make_unique<workmode_option>(Handle(), system);
        sync = holder->Option();
        if (sync) workMode_ = Place(std::move(holder), profile);
    }
    OvTypeLib::ForEachOption(system, [&](OvTypeLib::IOvOption* option) {
        const uint32_t id = option->GetId();
        if (std::find(std::begin(kZelHiddenOptions), std::end(kZelHiddenOptions), id) != std::end(kZelHiddenOptions))
            return;
        switch (option->GetKind()) {
            case OvTypeLib::OptionKindScalar: {
                auto holder =
                    std::make_unique<scalar_option_holder>(Handle(), ApplyAtOnce, system, option->AsScalar(), false);
                if (holder->HasRange()) Place(std::move(holder), profile);
                break;
            }
            case OvTypeLib::OptionKindEnum:
                if (id == kDataFormat && option->GetIndex() == 0) dataFormat_ = option->AsEnum();
                if (option->AsEnum() == sync || enum_option_holder::ValueCount(option->AsEnum()) <= 1) break;
                Place(std::make_unique<enum_option_holder>(Handle(), ApplyAtOnce, system, option->AsEnum()), profile);
                break;
            case OvTypeLib::OptionKindRect: {
                option_holder* placed = Place(
                    std::make_unique<rect_option_holder>(Handle(), ApplyAtOnce, system, option->AsRect(), centring),
                    profile);
                if (id == kRegion && !frameRect_) frameRect_ = placed;
                break;
            }
            default:
                break;
        }
    });
    OvTypeLib::IOvOption* bound = OvTypeLib::FindSystemOption(system, kGainBoundOption);
    Place(std::make_unique<dig_amplify_option>(
              Handle(), system, bound && bound->GetKind() == OvTypeLib::OptionKindEnum ? bound->AsEnum() : nullptr),
          profile);
    if (!OvTypeLib::FindSystemOption(system, kBinningOption))
        Place(std::make_unique<binning_option>(Handle(), system), profile);
}

void CamOptionsChildPane::Fit() {
    SetWindowPos(Handle(), nullptr, 0, 0, right_, bottom_ + 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND parent = GetParent(Handle())) {
        RECT client{};
        GetClientRect(parent, &client);
        SendMessageW(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
}

void CamOptionsChildPane::OptionChanged(uint32_t id) {
    if (vext_) {
        if (id == kFrameRate || id == kRateDependent) {
            if (exposure_) exposure_->Reread();
            if (vextRect_) vextRect_->Reread();
        }
    } else if (id == kDataFormat && frameRect_ && dataFormat_) {
        int32_t format = 0;
        dataFormat_->GetValue(&format);
        if (format == kDataFormat8Bit) {
            frameRect_->Reread();
            frameRect_->UpdateControls();
            frameRect_->Apply();
            frameRect_->Enable(false);
        } else {
            frameRect_->Enable(true);
        }
    }
}

bool CamOptionsChildPane::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE:
            filter_.SetWindow(Handle());
            Glob::CMyMessageLoop::Instance().AddMessageFilter(&filter_);
            result = 0;
            return true;
        case WM_DESTROY:
            Glob::CMyMessageLoop::Instance().RemoveMessageFilter(&filter_);
            DestroyHolders();
            result = 0;
            return true;
        case UWM_BUILD_OPTIONS:
            Build(nullptr);
            result = 0;
            return true;
        case UWM_LOAD_OPTIONS:
            Build(reinterpret_cast<const wchar_t*>(lParam));
            result = 0;
            return true;
        case UWM_SAVE_OPTIONS:
            if (lParam)
                for (auto& holder : holders_) holder->WriteProfile(reinterpret_cast<const wchar_t*>(lParam));
            result = 0;
            return true;
        case UWM_REAPPLY_OPTIONS:
            for (auto& holder : holders_) holder->Apply();
            result = 0;
            return true;
        case UWM_FIT_OPTIONS:
            Fit();
            result = 0;
            return true;
        case UWM_OPTION_CHANGED: {
            OptionChanged(uint32_t(lParam));
            HWND main = GetAncestor(Handle(), GA_ROOT);
            if (main && main != Handle()) SendMessageW(main, UWM_OPTION_CHANGED, wParam, lParam);
            for (auto& holder : holders_) holder->UpdateControls();
            result = 0;
            return true;
        }
        case WM_COMMAND:
            if (option_holder* holder = HolderOwning(reinterpret_cast<HWND>(lParam)))
                holder->OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
            result = 0;
            return true;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            option_holder* holder = header ? HolderOwning(header->hwndFrom) : nullptr;
            result = holder ? holder->OnNotify(header) : 0;
            return true;
        }
        case WM_HSCROLL:
            if (option_holder* holder = HolderOwning(reinterpret_cast<HWND>(lParam)))
                holder->OnHScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
            result = 0;
            return true;
        default:
            break;
    }
    return Window::ProcessMessage(message, wParam, lParam, result);
}

}  // namespace AppGui
