// The program's resources as a program loads them: menu texts, the
// accelerator table, tooltips and other texts, icon and toolbar bitmaps, and
// a toolbar built from bitmap 101.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Framework/WindowClass.h"
#include "GuiTestSupport.h"
#include "resource.h"

namespace {

using AppGui::LoadText;
using AppGui::ModuleInstance;

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return text;
}

std::wstring PopupText(HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST(Resources, MenuTexts) {
    HMENU menu = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(PopupText(menu, 0), L"Файл");
    EXPECT_EQ(PopupText(menu, 1), L"Вид");
    EXPECT_EQ(PopupText(menu, 2), L"Настройки");
    EXPECT_EQ(PopupText(menu, 3), L"Справка");
    EXPECT_EQ(MenuText(menu, 40001), L"Выход");
    EXPECT_EQ(MenuText(menu, 40002), L"О программе...");
    EXPECT_EQ(MenuText(menu, 40012), L"Общие");
    EXPECT_EQ(MenuText(menu, 40021), L"Создать... \tCtrl + N");
    EXPECT_EQ(MenuText(menu, 40022), L"Открыть...\tCtrl + O");
    EXPECT_EQ(MenuText(menu, 40023), L"Сохранить...\tCtrl + S");
    EXPECT_EQ(MenuText(menu, 40024), L"Закрыть\tCtrl + W");
    EXPECT_EQ(MenuText(menu, 40025), L"Масштаб 100%\tCtrl + 1");
    EXPECT_EQ(MenuText(menu, 40026), L"На весь экран\tCtrl + 0");
    EXPECT_EQ(MenuText(menu, 40027), L"+ 10%\tCtrl + \"+\"");
    EXPECT_EQ(MenuText(menu, 40028), L"-- 10%\tCtrl + \"--\"");
    EXPECT_EQ(MenuText(menu, 40029), L"Вывод статистки");
    // Toolbar-only commands have no menu item.
    for (UINT id : {40010u, 40030u, 40031u, 40032u}) EXPECT_EQ(GetMenuState(menu, id, MF_BYCOMMAND), 0xFFFFFFFFu) << id;
    DestroyMenu(menu);
}

TEST(Resources, AcceleratorTable) {
    HACCEL table = LoadAcceleratorsW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16] = {};
    const int count = CopyAcceleratorTableW(table, entries, 16);
    ASSERT_EQ(count, 7);
    const std::pair<WORD, WORD> expected[] = {{'W', 40024}, {'N', 40021},         {'O', 40022},         {'S', 40023},
                                              {'1', 40025}, {VK_OEM_PLUS, 40027}, {VK_OEM_MINUS, 40028}};
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].key, expected[i].first) << i;
        EXPECT_EQ(entries[i].cmd, expected[i].second) << i;
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL) << i;
        EXPECT_NE(entries[i].cmd, 40026) << "fit has no key";
    }
}

TEST(Resources, TooltipsAreTheStringsOfTheCommandIds) {
    EXPECT_EQ(LoadText(40010), L"Ввести кадр");
    EXPECT_EQ(LoadText(40021), L"Новая камера");
    EXPECT_EQ(LoadText(40022), L"Открыть");
    EXPECT_EQ(LoadText(40023), L"Сохранить");
    EXPECT_EQ(LoadText(40024), L"Закрыть");
    EXPECT_EQ(LoadText(40025), L"Установить масштаб 100%");
    EXPECT_EQ(LoadText(40026), L"Изображение видно полностью");
    EXPECT_EQ(LoadText(40027), L"Увеличить ");
    EXPECT_EQ(LoadText(40028), L"Уменьшить ");
    EXPECT_EQ(LoadText(40030), L"Остановить ввод");
    EXPECT_EQ(LoadText(IDS_RESUME_INPUT), L"Продолжить ввод");
    EXPECT_EQ(LoadText(40031), L"Сохранение кадра");
    EXPECT_EQ(LoadText(40032), L"Сохранение серии кадров");
    EXPECT_EQ(LoadText(40001), L"");  // no tooltip: no toolbar button
}

TEST(Resources, MessageTexts) {
    EXPECT_EQ(LoadText(IDS_APP_TITLE), L"OvWinShell");
    EXPECT_EQ(LoadText(IDS_NO_DEVICES), L"Не найдено ни одного устройства. Работа приложения невозможна.");
    EXPECT_EQ(LoadText(IDS_FILE_READ_ERROR), L"Ошибка чтения файла");
    EXPECT_EQ(LoadText(IDS_FILE_READ_CAPTION), L"Ошибка чтения файла ");
    EXPECT_EQ(LoadText(IDS_NO_SYSTEM_TYPE), L"Нет данных о типе системы.\n Секция: %s\nПеременная: %s");
    EXPECT_EQ(LoadText(IDS_TYPE_NOT_SUPPORTED), L"Указанный тип системы не поддерживается");
    EXPECT_EQ(LoadText(IDS_EXPOSURE_LEFT), L"Экспозиция осталось:");
    EXPECT_EQ(LoadText(IDS_MILLISECONDS), L" мсек");
    EXPECT_EQ(LoadText(IDS_STATUS_TYPE_INFO), L" T = ");
    EXPECT_EQ(LoadText(IDS_STATUS_FPS), L" Fps = %-6.2f");
    EXPECT_EQ(LoadText(IDS_PROFILE_FILTER), L"Файл профиля \"Orvane\"(*.ovp)");
    EXPECT_EQ(LoadText(IDS_ALL_FILES_FILTER), L"Все файлы(*.*)");
}

TEST(Resources, IconInBothSizes) {
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

SIZE BitmapSize(UINT id) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    if (!bitmap) return SIZE{0, 0};
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    return SIZE{info.bmWidth, info.bmHeight};
}

TEST(Resources, ToolbarBitmapsHoldTheirImagesSideBySide) {
    const SIZE main = BitmapSize(IDB_MAIN_TOOLBAR);
    EXPECT_EQ(main.cx, 16 * MAIN_TOOLBAR_IMAGES);
    EXPECT_EQ(main.cy, 16);
    const SIZE zel = BitmapSize(IDB_ZEL_TOOLBAR);
    EXPECT_EQ(zel.cx, 16 * ZEL_TOOLBAR_IMAGES);
    EXPECT_EQ(zel.cy, 16);
}

TEST(Resources, TheMainToolbarCanBeBuiltFromBitmap101) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    guitest::TopWindow top;
    ASSERT_NE(top.CreateWithClient(500, 100), nullptr);
    const int commands[] = {40021, 40022, 40023, 40024, 0, 40025, 40026, 40027, 40028, 0, 40030, 40031};
    TBBUTTON buttons[12] = {};
    int image = 0;
    for (int i = 0; i < 12; ++i) {
        buttons[i].idCommand = commands[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = commands[i] ? BTNS_BUTTON : BTNS_SEP;
        buttons[i].iBitmap = commands[i] ? image++ : 0;
    }
    HWND toolbar = CreateToolbarEx(
        top.Handle(),
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
        IDC_MAIN_TOOLBAR, MAIN_TOOLBAR_IMAGES, ModuleInstance(), IDB_MAIN_TOOLBAR, buttons, 12, 16, 16, 16, 16,
        sizeof(TBBUTTON));
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 12);
    EXPECT_EQ(image, MAIN_TOOLBAR_IMAGES);
    TBBUTTON last{};
    SendMessageW(toolbar, TB_GETBUTTON, 11, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(last.idCommand, 40031);
    EXPECT_EQ(last.iBitmap, 9);
    top.Destroy();
}

}  // namespace
