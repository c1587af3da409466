// The main dialog under Wine, reached through the messages a user's actions send.

#include "Win32TestSupport.h"
#include "win32/CAboutDlg.h"
#include "win32/CProgrammerDlg.h"
#include "win32/HelpViewer.h"
#include "win32/Resources.h"
#include "win32/Screenshot.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

namespace {

using win32::CProgrammerDlg;

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring MenuItemText(HMENU menu, int position) {
    wchar_t text[512] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 512, MF_BYPOSITION);
    return text;
}

// The File menu's items from "Se&ttings..." to the end, a separator as "-".
std::vector<std::wstring> FileMenuTail(const CProgrammerDlg& dialog) {
    HMENU menu = dialog.FileMenu();
    std::vector<std::wstring> items;
    bool started = false;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        started = started || GetMenuItemID(menu, i) == 32795;
        if (started)
            items.push_back(GetMenuItemID(menu, i) == 0 ? L"-" : MenuItemText(menu, i));
    }
    return items;
}

class MainDialog : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        ASSERT_NE(dialog.Create(nullptr), nullptr);
    }
    void Command(int id) { SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    CProgrammerDlg dialog{kApplicationName};
};

TEST_F(MainDialog, OpensWithTheTitleOfAnUntitledLayout) {
    EXPECT_EQ(Text(dialog.hwnd()), L"ZR-4700 - keyboard programmer  -  [untitled]");
}

TEST_F(MainDialog, ControlsStandWhereTheTemplatePutsThemInDialogUnits) {
    struct Case {
        int id;
        RECT units; // x, y, width, height, as a template gives them
    };
    const Case cases[] = {
        {1009, {425, 53, 80, 12}},  {1012, {425, 39, 19, 12}}, {1018, {177, 14, 47, 10}},
        {1051, {447, 191, 52, 10}}, {1010, {4, 51, 368, 153}}, {1037, {35, 13, 22, 12}},
    };
    for (const Case& c : cases) {
        // Each of the four numbers converts on its own, as the dialog manager converts them.
        RECT expected = c.units;
        MapDialogRect(dialog.hwnd(), &expected);
        RECT actual{};
        GetWindowRect(dialog.Control(c.id), &actual);
        MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << c.id;
        EXPECT_EQ(actual.top, expected.top) << c.id;
        EXPECT_EQ(actual.right - actual.left, expected.right) << c.id;
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << c.id;
    }
    EXPECT_EQ(Text(dialog.Control(1018)), L"Single key");
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(1017)));
    EXPECT_FALSE(IsWindowVisible(dialog.Control(IDOK)));
}

TEST_F(MainDialog, MenuBarIsMenu129WithAnEmptyFirstItem) {
    HMENU bar = dialog.mainMenu();
    // Edit and View stand between File and Help.
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    EXPECT_EQ(GetMenuItemID(bar, 0), 65535u);
    EXPECT_EQ(MenuItemText(bar, 1), L"&File");
    EXPECT_EQ(MenuItemText(bar, 4), L"&Help");
}

TEST_F(MainDialog, StatusBarShowsTheNewLayoutsSettingsInSevenPanes) {
    HWND bar = dialog.statusBar();
    ASSERT_EQ(GetDlgCtrlID(bar), 2101);
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 0, 0), 7);
    wchar_t pane[128] = {};
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(pane));
    EXPECT_STREQ(pane, L"Keyboard type: ZR-4700 S (SN)");
    SendMessageW(bar, SB_GETTEXTW, 4, reinterpret_cast<LPARAM>(pane));
    EXPECT_STREQ(pane, L"Keys rate: 11");
}

TEST_F(MainDialog, WithNoRecentFilesTheFileMenuEndsWithSettingsSeparatorExit) {
    EXPECT_EQ(FileMenuTail(dialog),
              (std::vector<std::wstring>{L"Se&ttings...", L"-", L"E&xit\tCtrl+Q"}));
}

TEST_F(MainDialog, AnOpenedFileGoesToTheRegistryAndTheMenu) {
    const std::wstring path = L"" ZR4700_EXAMPLE_LAYOUT;
    win32::FileDialogs::Script({win32::FileDialogs::Choice{path, 1}});
    Command(32772); // File > Open...
    EXPECT_EQ(FileMenuTail(dialog),
              (std::vector<std::wstring>{L"Se&ttings...", L"-", path, L"-", L"E&xit\tCtrl+Q"}));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER,
                            L"Software\\Valmora\\zr4700-win32-tests\\Recent File List", 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    wchar_t stored[512] = {};
    DWORD bytes = sizeof stored;
    EXPECT_EQ(
        RegQueryValueExW(key, L"File1", nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &bytes),
        ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(stored, path);
    EXPECT_NE(Text(dialog.hwnd()).find(path), std::wstring::npos);
}

TEST_F(MainDialog, AFileThatCannotBeOpenedIsAnErrorCaptionedError) {
    win32::FileDialogs::Script({win32::FileDialogs::Choice{L"Z:\\no\\such\\layout.txt", 1}});
    win32::MessageBoxes::Script({IDOK});
    Command(32772);
    ASSERT_EQ(win32::MessageBoxes::Shown().size(), 1u);
    const win32::ShownMessageBox& box = win32::MessageBoxes::Shown().front();
    // The string table's text first; the reason follows below it.
    EXPECT_EQ(box.text.substr(0, box.text.find(L'\n')), L"Cannot open file!");
    EXPECT_EQ(box.caption, L"Error");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(MainDialog, ExitWithAnUnmodifiedLayoutAsksNothingAndEndsTheDialog) {
    Command(32796);
    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.result(), IDCANCEL);
    EXPECT_TRUE(win32::MessageBoxes::Shown().empty());
}

TEST_F(MainDialog, HelpOpensTheHelpFileUnderTheStartUpDirectory) {
    std::wstring opened;
    win32::HelpViewer::SetViewer([&](const std::wstring& path) {
        opened = path;
        return HWND{};
    });
    Command(57670);
    win32::HelpViewer::SetViewer({});
    EXPECT_EQ(opened, dialog.appDirectory() + L"\\help\\ZR4700.chm");
}

TEST(AboutBox, ShowsItsPictureAndTexts) {
    win32::CAboutDlg about;
    ASSERT_NE(about.Create(nullptr), nullptr);
    EXPECT_EQ(Text(about.hwnd()), L"About");
    EXPECT_NE(SendDlgItemMessageW(about.hwnd(), 108, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(Text(about.Control(IDOK)), L"OK");
}

TEST_F(MainDialog, ScreenshotIsAPngOfTheWindowsSize) {
    ShowWindow(dialog.hwnd(), SW_SHOW);
    UpdateWindow(dialog.hwnd());
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"zr4700-screenshot-test.png";
    ASSERT_TRUE(win32::SaveWindowPicture(dialog.hwnd(), path));
    std::vector<unsigned char> head(24);
    if (std::FILE* file = _wfopen(path.c_str(), L"rb")) {
        std::fread(head.data(), 1, head.size(), file);
        std::fclose(file);
    }
    DeleteFileW(path.c_str());
    EXPECT_EQ(std::vector<unsigned char>(head.begin(), head.begin() + 8),
              (std::vector<unsigned char>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    RECT bounds{};
    GetWindowRect(dialog.hwnd(), &bounds);
    const auto width = (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19];
    EXPECT_EQ(width, bounds.right - bounds.left);
}

} // namespace
