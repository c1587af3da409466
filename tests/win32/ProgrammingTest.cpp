// File > Programming... and File > Detect keyboard under Wine, onto the in-process simulated
// keyboard (the device address sim:N), through the messages a user's actions send.

#include "DialogTestSupport.h"
#include "Win32TestSupport.h"
#include "core/document/Commands.h"
#include "engine/BytePacer.h"
#include "engine/Engine.h"
#include "engine/SimulatedKeyboard.h"
#include "win32/CProgrammerDlg.h"
#include "win32/programming/ProgrammingCommands.h"

#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

using namespace win32test;
using win32::CProgrammerDlg;
using win32::MessageBoxes;
using zr4700::InProcessKeyboard;

constexpr const char* kLayout = ZR4700_EXAMPLE_LAYOUT; // 16scan, 56 keys: keyboard type 1

class Programming : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        InProcessKeyboard().reset();
        UseDevice("sim:1");
        ASSERT_NE(window.Create(nullptr), nullptr);
        ShowWindow(window.hwnd(), SW_SHOW);
    }
    void TearDown() override {
        UseDevice("");
        InProcessKeyboard().reset();
        Win32Test::TearDown();
    }
    static void UseDevice(const std::string& address) {
        _putenv(("ZR4700_DEVICE=" + address).c_str());
    }
    void Command(int id) { SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    win32::CProgressDlg& progress() { return window.programming().progress(); }
    // Until the run is over: the worker has ended and the main window takes input again.
    bool RunEnded() {
        return PumpUntil(
            [this] { return !window.programming().Busy() && IsWindowEnabled(window.hwnd()); });
    }

    CProgrammerDlg window{kApplicationName};
};

TEST_F(Programming, FinishesAndTheKeyboardHoldsWhatTheEngineSendsForTheSameFile) {
    const zr4700::ScopedBytePause quick(std::chrono::nanoseconds(0));
    window.fileCommands().OpenPath(kLayout);
    Command(zr4700::kCmdProgramming);
    EXPECT_FALSE(IsWindowEnabled(window.hwnd()));
    EXPECT_TRUE(IsWindowVisible(progress().hwnd()));
    ASSERT_TRUE(RunEnded());
    EXPECT_TRUE(MessageBoxes::Shown().empty());
    EXPECT_FALSE(IsWindowVisible(progress().hwnd()));
    EXPECT_EQ(progress().Position(), 100);
    const std::vector<std::uint8_t> fromEditor = InProcessKeyboard().lastHandleBytes();
    EXPECT_EQ(fromEditor.size(), 1014u);

    // zrwin's engine with the layout file itself.
    const char* arguments[] = {"zrwin.exe", kLayout, nullptr};
    ASSERT_EQ(zr4700::ProgramKeyboard(2, arguments, zr4700::StepNotify{}), 0);
    EXPECT_EQ(InProcessKeyboard().lastHandleBytes(), fromEditor);
}

TEST_F(Programming, EscapeStopsATransferAndSaysTheKeyboardIsPartlyProgrammed) {
    window.fileCommands().OpenPath(kLayout);
    Command(zr4700::kCmdProgramming);
    ASSERT_TRUE(PumpUntil([this] { return progress().Position() >= 2; }));
    // The keyboard's Escape reaches the progress dialog, whose only visible button is disabled.
    EXPECT_EQ(GetAncestor(GetFocus(), GA_ROOT), progress().hwnd());
    PressKey(VK_ESCAPE, 0x01);
    ASSERT_TRUE(RunEnded());
    const std::size_t sent = InProcessKeyboard().lastHandleBytes().size();
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, 1014u);
    ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(MessageBoxes::Shown()[0].text,
              L"The keyboard was not fully programmed. Program it again before using it.\n\n" +
                  std::to_wstring(sent) + L" of 1014 bytes were sent.");
    EXPECT_EQ(MessageBoxes::Shown()[0].caption, L"Error");
    win32::MessageBoxes::Script();
}

TEST_F(Programming, ALayoutOfTheWrongSizeIsNotSent) {
    UseDevice("sim:2");
    window.fileCommands().OpenPath(kLayout);
    Command(zr4700::kCmdProgramming);
    ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(MessageBoxes::Shown()[0].text.substr(0, 24), L"File format mismatch.\n\nT");
    EXPECT_FALSE(window.programming().Busy());
    EXPECT_TRUE(InProcessKeyboard().receivedBytes().empty());
    win32::MessageBoxes::Script();
}

TEST_F(Programming, DetectKeyboardSaysWhichUnknownTypeTheKeyboardAnswered) {
    UseDevice("sim:7");
    Command(zr4700::kCmdDetectKeyboard);
    ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(MessageBoxes::Shown()[0].text,
              L"Invalid keyboard type detected.\n\nsim:7: the keyboard answered 7, which is no "
              L"known type.");
    EXPECT_EQ(MessageBoxes::Shown()[0].caption, L"Error");
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    win32::MessageBoxes::Script();
}

TEST_F(Programming, DetectKeyboardNamesTheModelFound) {
    Command(zr4700::kCmdDetectKeyboard);
    ASSERT_EQ(MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(MessageBoxes::Shown()[0].caption, L"Detect keyboard");
    EXPECT_EQ(MessageBoxes::Shown()[0].text,
              L"Keyboard found: type 1, the 56-key ZR-4700 S (SN).\n\nIt takes layouts in 16scan, "
              L"56 keys. Device: sim:1");
    EXPECT_EQ(MessageBoxes::Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    win32::MessageBoxes::Script();
}

} // namespace
