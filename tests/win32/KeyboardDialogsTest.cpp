// The capture, Edit scan codes and Keyboard settings dialogs under Wine, reached through the
// messages a user's keys and clicks send.

#include "DialogTestSupport.h"
#include "Win32TestSupport.h"
#include "core/document/Commands.h"
#include "win32/CProgrammerDlg.h"
#include "win32/dialogs/CCaptureDlg.h"
#include "win32/dialogs/CScanCodesDlg.h"
#include "win32/dialogs/CSettingsDlg.h"

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace win32test;
using win32::CCaptureDlg;
using win32::CProgrammerDlg;
using win32::CScanCodesDlg;
using win32::CSettingsDlg;

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

class KeyboardDialogs : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void TearDown() override {
        EXPECT_TRUE(DialogAnswers::Instance().Done()) << "a dialog never opened";
        DialogAnswers::Instance().Clear();
        Win32Test::TearDown();
    }
    // The capture dialog on its own, open over the codes 28, 50, 33 of a key.
    void OpenCapture() {
        capture.codeSlots = {28, 50, 33};
        capture.codeNames = {"A", "B", "C"};
        ASSERT_NE(capture.Create(nullptr), nullptr);
        ShowWindow(capture.hwnd(), SW_SHOW);
        Pump();
    }
    std::vector<int> Slots(int count) const {
        return {capture.codeSlots.begin(), capture.codeSlots.begin() + count};
    }

    CCaptureDlg capture;
};

TEST_F(KeyboardDialogs, CaptureKeepsTheFocusOnItsHiddenEdit) {
    OpenCapture();
    EXPECT_EQ(GetFocus(), capture.CaptureEdit());
    EXPECT_FALSE(IsWindowVisible(capture.CaptureEdit()));
    // A click on a field passes the focus straight back.
    SendMessageW(capture.CodeField(3), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(capture.CodeField(3), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(GetFocus(), capture.CaptureEdit());
}

TEST_F(KeyboardDialogs, CapturedExtendedKeysTakeThePrefixAndTheirCode) {
    OpenCapture();
    PressKey(VK_CONTROL, 0x1D, true); // right Ctrl
    PressKey(VK_UP, 0x48, true);
    EXPECT_EQ(Slots(5), (std::vector<int>{224, 20, 224, 117, 0}));
    EXPECT_EQ(capture.codeNames[1], "Ctrl_right");
    EXPECT_EQ(Text(capture.NameField(3)), L"extended");
    EXPECT_EQ(Text(capture.CodeField(4)), L"117");
    // "Back" removes the arrow together with its prefix.
    Click(capture.hwnd(), CCaptureDlg::kBackId);
    EXPECT_EQ(Slots(4), (std::vector<int>{224, 20, 0, 0}));
    EXPECT_EQ(GetFocus(), capture.CaptureEdit());
}

TEST_F(KeyboardDialogs, TabEnterEscapeAndAltAreCapturedAndCloseNothing) {
    OpenCapture();
    PressKey(VK_TAB, 0x0F);
    PressKey(VK_RETURN, 0x1C);
    PressKey(VK_ESCAPE, 0x01);
    PressKey(VK_MENU, 0x38, false, true);
    PressKey(VK_F10, 0x44, false, true);
    EXPECT_EQ(Slots(5), (std::vector<int>{13, 90, 118, 17, 9}));
    EXPECT_EQ(capture.codeNames[2], "Esc");
    EXPECT_FALSE(capture.ended());
    EXPECT_TRUE(IsWindowVisible(capture.hwnd()));
}

TEST_F(KeyboardDialogs, EditTypesTheCodesAsNumbers) {
    OpenCapture();
    WhenDialogOpens(L"Edit scan codes", [](HWND edit) {
        SetWindowTextW(GetDlgItem(edit, 1057), L"224");
        SetWindowTextW(GetDlgItem(edit, 1058), L"108");
        Click(edit, IDOK);
    });
    Click(capture.hwnd(), CCaptureDlg::kEditId);
    EXPECT_EQ(Slots(3), (std::vector<int>{224, 108, 33}));
    EXPECT_EQ(Text(capture.NameField(1)), L"extended");
    EXPECT_EQ(Text(capture.NameField(2)), L"Home");
    EXPECT_EQ(GetFocus(), capture.CaptureEdit());
}

TEST_F(KeyboardDialogs, ANumberAbove255IsRefusedAndTheFieldShowsItsValueAgain) {
    CScanCodesDlg edit;
    edit.editCodes[14] = 255;
    ASSERT_NE(edit.Create(nullptr), nullptr);
    ShowWindow(edit.hwnd(), SW_SHOW);
    HWND field = edit.CodeField(15);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    for (const wchar_t c : std::wstring(L"2555"))
        SendMessageW(field, WM_CHAR, c, 1);
    ASSERT_EQ(win32::MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(win32::MessageBoxes::Shown()[0].text, L"Please enter an integer between 0 and 255.");
    EXPECT_EQ(Text(field), L"255");
    EXPECT_EQ(edit.editCodes[14], 255u);
    win32::MessageBoxes::Script();
}

TEST_F(KeyboardDialogs, SettingsSlidersFollowTheKeysType) {
    CSettingsDlg settings;
    settings.keysType = 0;
    settings.keyDelay = 2;
    settings.typematicRate = 11;
    settings.keysPause = 3;
    ASSERT_NE(settings.Create(nullptr), nullptr);
    HWND rate = settings.Control(CSettingsDlg::kRateSliderId);
    EXPECT_FALSE(IsWindowEnabled(rate));
    EXPECT_EQ(SendMessageW(rate, TBM_GETPOS, 0, 0), 11);
    Click(settings.hwnd(), CSettingsDlg::kTypematicId);
    EXPECT_TRUE(IsWindowEnabled(rate));
    EXPECT_TRUE(IsWindowEnabled(settings.Control(CSettingsDlg::kDelaySliderId)));
    Click(settings.hwnd(), CSettingsDlg::kMakeBreakId);
    EXPECT_FALSE(IsWindowEnabled(rate));
}

TEST_F(KeyboardDialogs, SettingsRefuseAPauseOf0) {
    CSettingsDlg settings;
    settings.keysPause = 3;
    ASSERT_NE(settings.Create(nullptr), nullptr);
    SetWindowTextW(settings.Control(CSettingsDlg::kPauseId), L"0");
    Click(settings.hwnd(), IDOK);
    EXPECT_FALSE(settings.ended());
    ASSERT_EQ(win32::MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(win32::MessageBoxes::Shown()[0].text, L"Please enter an integer between 1 and 255.");
    EXPECT_EQ(GetFocus(), settings.Control(CSettingsDlg::kPauseId));
    win32::MessageBoxes::Script();
}

class KeyboardCommands : public KeyboardDialogs {
  protected:
    void SetUp() override {
        KeyboardDialogs::SetUp();
        ASSERT_NE(window.Create(nullptr), nullptr);
        ShowWindow(window.hwnd(), SW_SHOW);
    }
    void Command(int id) { SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    CProgrammerDlg window{kApplicationName};
};

TEST_F(KeyboardCommands, PressingAThenOkProgramsTheKeyWithItsSet2Code) {
    window.document().SelectKey(10);
    WhenDialogOpens(L"Insert scan-codes by pressing key", [](HWND capture) {
        PressKey('A', 0x1E);
        Click(capture, CCaptureDlg::kOkId);
    });
    Command(zr4700::kCmdInsertKey);
    const zr4700::KeyRecord& key = window.document().layout().key(10);
    EXPECT_EQ(key.codes[0], 0x1C);
    EXPECT_EQ(key.codes[1], 0);
    EXPECT_EQ(window.document().layout().panel.panelCodeNames[0], "A");
    EXPECT_TRUE(window.document().modified());
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
}

TEST_F(KeyboardCommands, CancelLeavesTheKeyAsItWas) {
    window.document().SelectKey(10);
    WhenDialogOpens(L"Insert scan-codes by pressing key", [](HWND capture) {
        PressKey('A', 0x1E);
        Click(capture, CCaptureDlg::kCancelId);
    });
    Command(zr4700::kCmdInsertKey);
    EXPECT_EQ(window.document().layout().key(10).codes[0], 0);
    EXPECT_FALSE(window.document().modified());
}

TEST_F(KeyboardCommands, SettingsChangeTheModel) {
    WhenDialogOpens(L"Keyboard settings", [](HWND settings) {
        Click(settings, 1031);
        Click(settings, IDOK);
    });
    Command(zr4700::kCmdSettings);
    EXPECT_EQ(window.document().layout().keyCount, 112);
    wchar_t pane[128] = {};
    SendMessageW(window.statusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(pane));
    EXPECT_EQ(std::wstring(pane), L"Keyboard type: ZR-4700 D");
}

// The same edits as the Linux editor's test that committed its file: the two editors must write
// the same bytes. The file is left for scripts/check-windows as well.
TEST_F(KeyboardCommands, CaptureNameAndSaveAsWriteTheLinuxEditorsFile) {
    window.document().SelectKey(12);
    WhenDialogOpens(L"Insert scan-codes by pressing key", [](HWND capture) {
        PressKey('A', 0x1E);
        PressKey(VK_CONTROL, 0x1D, true); // right Ctrl
        PressKey(VK_TAB, 0x0F);
        Click(capture, CCaptureDlg::kOkId);
    });
    Command(zr4700::kCmdInsertKey);
    HWND name = window.Control(1009);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
    for (const wchar_t c : std::wstring(L"Total"))
        SendMessageW(name, WM_CHAR, c, 1);
    const std::filesystem::path written =
        std::filesystem::temp_directory_path() / "zr4700-captured-key-12.txt";
    win32::FileDialogs::Script({win32::FileDialogs::Choice{written.wstring(), 2}}); // 16scan
    Command(zr4700::kCmdFileSaveAs);
    ASSERT_FALSE(window.document().modified());

    const std::string bytes = FileBytes(written);
    EXPECT_EQ(bytes, FileBytes(ZR4700_EDITOR_FILES "/captured-key-12.txt"));
    std::filesystem::create_directories(ZR4700_EDITOR_OUTPUT);
    std::filesystem::copy_file(written, ZR4700_EDITOR_OUTPUT "/captured-key-12.txt",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(written);
}

} // namespace
