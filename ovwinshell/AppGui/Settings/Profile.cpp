#include "Profile.h"

#include "Common/AnsiText.h"
#include "Common/FileExtension.h"
#include "OptionSections.h"

namespace AppGui::Settings {

namespace {
constexpr wchar_t kSystemSection[] = L"SYSTEM";
constexpr wchar_t kSeriesSection[] = L"SERIA";
constexpr wchar_t kPreferencesSection[] = L"PREFERENCES";
constexpr wchar_t kCaptureFolderKey[] = L"CAPTURE_FOLDER";
constexpr wchar_t kPointSection[] = L"POINT";
constexpr wchar_t kWorkModeSection[] = L"Режим работы камеры";
constexpr wchar_t kDigitalGainSection[] = L"Цифр.усиление";
constexpr wchar_t kBinningSection[] = L"Бининг";
constexpr wchar_t kValue[] = L"Value";

// The information text's lines joined by "; ": an INI value ends at its line's end.
std::wstring OneLine(const std::wstring& text) {
    std::wstring line;
    bool pendingBreak = false;
    for (wchar_t c : text) {
        if (c == L'\r' || c == L'\n') {
            pendingBreak = !line.empty();
            continue;
        }
        if (pendingBreak) line += L"; ";
        pendingBreak = false;
        line += c;
    }
    return line;
}
}  // namespace

std::wstring Profile::WithProfileExtension(const std::wstring& chosen) { return WithFileExtension(chosen, L".ovp"); }

int Profile::TypeId() const { return file_.ReadInt(kSystemSection, L"TYPE_ID", -1); }

std::wstring Profile::Name() const { return file_.ReadString(kSystemSection, L"NAME", L"", 260); }

void Profile::WriteSystem(uint32_t typeId, const std::wstring& name, const char* info) const {
    file_.WriteInt(kSystemSection, L"TYPE_ID", static_cast<int>(typeId));
    file_.WriteString(kSystemSection, L"NAME", name);
    file_.WriteString(kSystemSection, L"SERIAL", OneLine(AnsiToWide(info)));
}

void Profile::WriteSnapshots(const OptionSnapshots& snapshots) const {
    for (const ScalarSnapshot& scalar : snapshots.scalars) {
        const std::wstring section = OptionSectionName(scalar.name, 0);
        file_.WriteInt(section.c_str(), kValue, scalar.value);
        file_.WriteString(section.c_str(), L"Unit", scalar.unit);
    }
    for (const EnumSnapshot& item : snapshots.enums) file_.WriteString(item.name.c_str(), kValue, item.value);
    for (const RectSnapshot& rect : snapshots.rects) {
        file_.WriteInt(rect.name.c_str(), L"x", rect.x);
        file_.WriteInt(rect.name.c_str(), L"y", rect.y);
        file_.WriteInt(rect.name.c_str(), L"width", rect.width);
        file_.WriteInt(rect.name.c_str(), L"height", rect.height);
    }
}

bool Profile::Series() const { return file_.ReadInt(kSeriesSection, kValue, 1) != 0; }

void Profile::WriteSeries(bool on) const { file_.WriteString(kSeriesSection, kValue, on ? L"1" : L"0"); }

void Profile::ReadCaptureFolder(std::wstring& folder) const {
    folder = file_.ReadString(kPreferencesSection, kCaptureFolderKey, folder.c_str(), 260);
}

void Profile::WriteCaptureFolder(const std::wstring& folder) const {
    file_.WriteString(kPreferencesSection, kCaptureFolderKey, folder);
}

void Profile::WriteScrollPoint(int x, int y) const {
    file_.WriteInt(kPointSection, L"X", x);
    file_.WriteInt(kPointSection, L"Y", y);
}

int Profile::WorkMode() const { return file_.ReadInt(kWorkModeSection, kValue, 0); }

void Profile::WriteWorkMode(int mode) const { file_.WriteInt(kWorkModeSection, kValue, mode); }

int Profile::DigitalGain(int current) const { return file_.ReadInt(kDigitalGainSection, kValue, current); }

void Profile::WriteDigitalGain(int gain) const { file_.WriteInt(kDigitalGainSection, kValue, gain); }

std::optional<int> Profile::Binning() const {
    const int factor = file_.ReadInt(kBinningSection, kValue, -1);
    if (factor < 0) return std::nullopt;
    return factor;
}

void Profile::WriteBinning(int factor) const { file_.WriteInt(kBinningSection, kValue, factor); }

}  // namespace AppGui::Settings
