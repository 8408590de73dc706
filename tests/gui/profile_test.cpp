// Profiles: the extension rule of Save, the system section, the option
// snapshot, the series flag, capture folder and scroll point, the options
// pane's own Russian sections, and defaults when keys are missing.
#include <gtest/gtest.h>

#include "AppGui/Settings/Profile.h"
#include "SettingsTestSupport.h"

namespace {

using AppGui::Settings::OptionSnapshots;
using AppGui::Settings::Profile;
using namespace guitest;

TEST(ProfileName, SaveGivesEveryNameTheProfileExtension) {
    EXPECT_EQ(Profile::WithProfileExtension(L"C:\\Профили\\камера"), L"C:\\Профили\\камера.ovp");
    EXPECT_EQ(Profile::WithProfileExtension(L"C:\\p\\cam.txt"), L"C:\\p\\cam.ovp");
    EXPECT_EQ(Profile::WithProfileExtension(L"C:\\p\\cam.ovp"), L"C:\\p\\cam.ovp");
    EXPECT_EQ(Profile::WithProfileExtension(L"C:\\p\\cam.tar.gz"), L"C:\\p\\cam.tar.ovp");
    EXPECT_EQ(Profile::WithProfileExtension(L"C:\\p\\cam."), L"C:\\p\\cam.ovp");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(Profile::WithProfileExtension(L"C:\\my.data\\cam"), L"C:\\my.data\\cam.ovp");
}

TEST(Profile, DefaultsOfAMissingFile) {
    const Profile profile(ScratchFile(L"ov-profile-missing.ovp"));
    EXPECT_EQ(profile.TypeId(), -1);
    EXPECT_EQ(profile.Name(), L"");
    EXPECT_TRUE(profile.Series());
    EXPECT_EQ(profile.WorkMode(), 0);
    EXPECT_EQ(profile.DigitalGain(6), 6);
    EXPECT_FALSE(profile.Binning().has_value());
    std::wstring folder = L"C:\\Текущая\\";
    profile.ReadCaptureFolder(folder);
    EXPECT_EQ(folder, L"C:\\Текущая\\");
}

TEST(Profile, SystemSectionRoundTripInItsOrder) {
    const std::wstring path = ScratchFile(L"ov-profile-system.ovp");
    const Profile profile(path);
    // The information text comes from the camera library in Windows-1251.
    profile.WriteSystem(3, L"Симулятор VEXT, скоростная камера", "VEXT-SIM-000512 \xea\xe0\xec\xe5\xf0\xe0");
    EXPECT_EQ(profile.TypeId(), 3);
    EXPECT_EQ(profile.Name(), L"Симулятор VEXT, скоростная камера");
    EXPECT_EQ(IniText(path, L"SYSTEM", L"TYPE_ID"), L"3");
    EXPECT_EQ(IniText(path, L"SYSTEM", L"SERIAL"), L"VEXT-SIM-000512 камера");
    const std::wstring text = FileText(path);
    const size_t type = text.find(L"TYPE_ID="), name = text.find(L"NAME="), serial = text.find(L"SERIAL=");
    ASSERT_NE(type, std::wstring::npos);
    ASSERT_NE(name, std::wstring::npos);
    ASSERT_NE(serial, std::wstring::npos);
    EXPECT_LT(type, name);
    EXPECT_LT(name, serial);
}

TEST(Profile, SerialKeepsEveryLineOfTheInformationOnItsOwnLine) {
    const std::wstring path = ScratchFile(L"ov-profile-serial.ovp");
    Profile(path).WriteSystem(1, L"x", "controller: A-1\r\ncamera: B-2\n");
    EXPECT_EQ(IniText(path, L"SYSTEM", L"SERIAL"), L"controller: A-1; camera: B-2");
    // Nothing of the second line became a line of the file.
    EXPECT_EQ(FileText(path).find(L"\ncamera"), std::wstring::npos);
}

TEST(Profile, AnExplicitMinusOneTypeReadsAsMissing) {
    const std::wstring path = ScratchFile(L"ov-profile-minus.ovp");
    IniWrite(path, L"SYSTEM", L"TYPE_ID", L"-1");
    EXPECT_EQ(Profile(path).TypeId(), -1);
    IniWrite(path, L"system", L"type_id", L"2");  // keys are case-insensitive
    EXPECT_EQ(Profile(path).TypeId(), 2);
}

TEST(Profile, TheSnapshotWritesScalarsEnumsAndRectangles) {
    const std::wstring path = ScratchFile(L"ov-profile-snapshot.ovp");
    OptionSnapshots snapshots;
    snapshots.scalars.push_back({L"Экспозиция", 20000, L"мкс"});
    snapshots.scalars.push_back({L"Gain", 100, L"0"});
    snapshots.enums.push_back({L"Режим синхронизации", L"Внутренняя"});
    snapshots.rects.push_back({L"Область", 8, 16, 640, 480});
    Profile(path).WriteSnapshots(snapshots);

    EXPECT_EQ(IniText(path, L"Экспозиция_0", L"Value"), L"20000");
    EXPECT_EQ(IniText(path, L"Экспозиция_0", L"Unit"), L"мкс");
    EXPECT_EQ(IniText(path, L"Gain_0", L"Value"), L"100");
    EXPECT_EQ(IniText(path, L"Режим синхронизации", L"Value"), L"Внутренняя");
    EXPECT_EQ(IniText(path, L"Область", L"x"), L"8");
    EXPECT_EQ(IniText(path, L"Область", L"y"), L"16");
    EXPECT_EQ(IniText(path, L"Область", L"width"), L"640");
    EXPECT_EQ(IniText(path, L"Область", L"height"), L"480");
    // Snapshot sections without the "_0" are only for enums and rectangles.
    EXPECT_EQ(IniText(path, L"Экспозиция", L"Value"), L"<missing>");

    const std::wstring text = FileText(path);
    EXPECT_LT(text.find(L"[Gain_0]"), text.find(L"[Режим синхронизации]"));
    EXPECT_LT(text.find(L"[Режим синхронизации]"), text.find(L"[Область]"));
}

TEST(Profile, AnEmptySnapshotWritesNothing) {
    const std::wstring path = ScratchFile(L"ov-profile-empty.ovp");
    OptionSnapshots snapshots;
    EXPECT_TRUE(snapshots.Empty());
    Profile(path).WriteSnapshots(snapshots);
    EXPECT_FALSE(FileExists(path));
    snapshots.enums.push_back({L"a", L"b"});
    EXPECT_FALSE(snapshots.Empty());
    snapshots.Clear();
    EXPECT_TRUE(snapshots.Empty());
}

TEST(Profile, SeriesFlagIsOneOrZero) {
    const std::wstring path = ScratchFile(L"ov-profile-series.ovp");
    const Profile profile(path);
    profile.WriteSeries(false);
    EXPECT_EQ(IniText(path, L"SERIA", L"Value"), L"0");
    EXPECT_FALSE(profile.Series());
    profile.WriteSeries(true);
    EXPECT_EQ(IniText(path, L"SERIA", L"Value"), L"1");
    EXPECT_TRUE(profile.Series());
}

TEST(Profile, CaptureFolderAndScrollPoint) {
    const std::wstring path = ScratchFile(L"ov-profile-folder.ovp");
    const Profile profile(path);
    profile.WriteCaptureFolder(L"E:\\Эксперимент\\");
    profile.WriteScrollPoint(120, 48);
    EXPECT_EQ(IniText(path, L"PREFERENCES", L"CAPTURE_FOLDER"), L"E:\\Эксперимент\\");
    EXPECT_EQ(IniText(path, L"POINT", L"X"), L"120");
    EXPECT_EQ(IniText(path, L"POINT", L"Y"), L"48");
    std::wstring folder = L"C:\\";
    profile.ReadCaptureFolder(folder);
    EXPECT_EQ(folder, L"E:\\Эксперимент\\");
}

TEST(Profile, TheOptionsPanesOwnSectionsHaveRussianNames) {
    const std::wstring path = ScratchFile(L"ov-profile-pane.ovp");
    const Profile profile(path);
    profile.WriteWorkMode(2);
    profile.WriteDigitalGain(4);
    profile.WriteBinning(8);
    EXPECT_EQ(IniInt(path, L"Режим работы камеры", L"Value"), 2);
    EXPECT_EQ(IniInt(path, L"Цифр.усиление", L"Value"), 4);
    EXPECT_EQ(IniInt(path, L"Бининг", L"Value"), 8);
    EXPECT_EQ(profile.WorkMode(), 2);
    EXPECT_EQ(profile.DigitalGain(0), 4);
    EXPECT_EQ(profile.Binning(), 8);
    // A negative binning is as good as none.
    profile.WriteBinning(-2);
    EXPECT_FALSE(profile.Binning().has_value());
    profile.WriteBinning(0);
    EXPECT_EQ(profile.Binning(), 0);
}

TEST(Profile, WritingToAnInvalidPathChangesNothing) {
    const Profile profile(L"Z:\\no\\such\\folder\\cam.ovp");
    profile.WriteSystem(1, L"x", "y");
    profile.WriteSeries(false);
    EXPECT_EQ(profile.TypeId(), -1);
    EXPECT_TRUE(profile.Series());
}

}  // namespace
