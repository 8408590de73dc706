// The preferences file: its place beside the program, the exact section and
// key names, defaults when the file or a key is missing, and round trips with
// Russian texts.
#include <gtest/gtest.h>

#include "AppGui/Settings/Preferences.h"
#include "SettingsTestSupport.h"

namespace {

using AppGui::Settings::DocumentsFolder;
using AppGui::Settings::Preferences;
using AppGui::Settings::PreferencesPath;
using AppGui::Settings::PreferencesPathFor;
using namespace guitest;

TEST(PreferencesPath, IsTheProgramPathWithIni) {
    EXPECT_EQ(PreferencesPathFor(L"C:\\Program Files\\Orvane\\ovwinshell.exe"),
              L"C:\\Program Files\\Orvane\\ovwinshell.ini");
    EXPECT_EQ(PreferencesPathFor(L"C:\\dir.v2\\ovwinshell.exe"), L"C:\\dir.v2\\ovwinshell.ini");
    EXPECT_EQ(PreferencesPathFor(L"C:\\tools\\shell.bin.exe"), L"C:\\tools\\shell.bin.ini");
    EXPECT_EQ(PreferencesPathFor(L"C:\\tools\\shell"), L"C:\\tools\\shell.ini");

    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(PreferencesPath(), PreferencesPathFor(module));
    EXPECT_EQ(&PreferencesPath(), &PreferencesPath());  // computed once
    EXPECT_EQ(Preferences().Path(), PreferencesPath());
    const std::wstring& path = PreferencesPath();
    ASSERT_GE(path.size(), 14u);
    EXPECT_EQ(path.substr(path.size() - 14), L"\\gui_tests.ini");
}

TEST(Preferences, DefaultsWhenTheFileIsMissing) {
    const Preferences preferences(ScratchFile(L"ov-prefs-missing.ini"));
    EXPECT_EQ(preferences.ProfileDir(), L"d:\\Temp\\");
    EXPECT_FALSE(preferences.ShowStatistic());
    EXPECT_EQ(preferences.CaptureFolderOrEmpty(), L"");
    std::wstring folder = L"прежнее значение";
    preferences.ReadCaptureFolder(folder);
    EXPECT_EQ(folder, DocumentsFolder());
    EXPECT_FALSE(FileExists(preferences.Path()));  // reading creates nothing
}

TEST(Preferences, TheDocumentsFolderEndsWithABackslash) {
    const std::wstring documents = DocumentsFolder();
    ASSERT_GE(documents.size(), 4u);
    EXPECT_EQ(documents.back(), L'\\');
    EXPECT_NE(documents[documents.size() - 2], L'\\');  // exactly one
    EXPECT_NE(GetFileAttributesW(documents.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Preferences, CaptureFolderRoundTripWithRussianText) {
    const std::wstring path = ScratchFile(L"ov-prefs-capture.ini");
    const Preferences preferences(path);
    preferences.WriteCaptureFolder(L"C:\\Снимки\\Серия 1\\");
    EXPECT_TRUE(FileExists(path));  // created by the first write
    EXPECT_EQ(IniText(path, L"PREFERENCES", L"CAPTURE_FOLDER"), L"C:\\Снимки\\Серия 1\\");
    std::wstring folder;
    preferences.ReadCaptureFolder(folder);
    EXPECT_EQ(folder, L"C:\\Снимки\\Серия 1\\");
    EXPECT_EQ(preferences.CaptureFolderOrEmpty(), L"C:\\Снимки\\Серия 1\\");
    const std::wstring text = FileText(path);
    EXPECT_NE(text.find(L"[PREFERENCES]"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"CAPTURE_FOLDER="), std::wstring::npos) << text;
}

TEST(Preferences, ACaptureFolderIsReadUpTo259Characters) {
    const std::wstring path = ScratchFile(L"ov-prefs-long.ini");
    const std::wstring longFolder = L"C:\\" + std::wstring(300, L'ж') + L"\\";
    IniWrite(path, L"PREFERENCES", L"CAPTURE_FOLDER", longFolder.c_str());
    std::wstring folder;
    Preferences(path).ReadCaptureFolder(folder);
    EXPECT_EQ(folder, longFolder.substr(0, 259));
}

TEST(Preferences, ShowStatisticRoundTrip) {
    const std::wstring path = ScratchFile(L"ov-prefs-stat.ini");
    const Preferences preferences(path);
    preferences.WriteShowStatistic(true);
    EXPECT_EQ(IniText(path, L"PANES", L"SHOW_STATISTIC"), L"1");
    EXPECT_TRUE(preferences.ShowStatistic());
    preferences.WriteShowStatistic(false);
    EXPECT_EQ(IniText(path, L"PANES", L"SHOW_STATISTIC"), L"0");
    EXPECT_FALSE(preferences.ShowStatistic());
    // Any number other than 0 counts as shown.
    IniWrite(path, L"PANES", L"SHOW_STATISTIC", L"7");
    EXPECT_TRUE(preferences.ShowStatistic());
}

TEST(Preferences, TheMainWindowRectangleIsWrittenInFourKeys) {
    const std::wstring path = ScratchFile(L"ov-prefs-rect.ini");
    Preferences(path).WriteMainWindowRect(RECT{-8, -8, 1288, 1032});
    EXPECT_EQ(IniText(path, L"MAIN_WINDOW", L"X"), L"-8");
    EXPECT_EQ(IniText(path, L"MAIN_WINDOW", L"Y"), L"-8");
    EXPECT_EQ(IniText(path, L"MAIN_WINDOW", L"R"), L"1288");
    EXPECT_EQ(IniText(path, L"MAIN_WINDOW", L"B"), L"1032");
}

TEST(Preferences, AHandWrittenFileIsReadWhateverTheCase) {
    const std::wstring path = ScratchFile(L"ov-prefs-hand.ini");
    WriteAnsiFile(path,
                  "[common_settings]\r\nprofile_dir=C:\\\xcf\xf0\xee\xf4\xe8\xeb\xe8\\\r\n"  // "Профили" in 1251
                  "[Preferences]\r\nCapture_Folder=D:\\frames\\\r\n"
                  "[panes]\r\nshow_statistic=1\r\n");
    const Preferences preferences(path);
    EXPECT_EQ(preferences.ProfileDir(), L"C:\\Профили\\");
    EXPECT_EQ(preferences.CaptureFolderOrEmpty(), L"D:\\frames\\");
    EXPECT_TRUE(preferences.ShowStatistic());
}

TEST(Preferences, AnUnwritablePathIsIgnoredQuietly) {
    const Preferences preferences(L"Z:\\no\\such\\folder\\ov.ini");
    preferences.WriteShowStatistic(true);
    preferences.WriteCaptureFolder(L"C:\\x\\");
    EXPECT_FALSE(preferences.ShowStatistic());
}

}  // namespace
