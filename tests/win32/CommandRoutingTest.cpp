// The main window's commands under Wine: menu items and shortcuts reach the core's command table,
// which enables, checks and runs them.

#include "Win32TestSupport.h"
#include "core/document/Commands.h"
#include "win32/CProgrammerDlg.h"
#include "win32/commands/CommandAccelerators.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

using win32::CProgrammerDlg;
using namespace zr4700;

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[512] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 512, MF_BYPOSITION);
    return text;
}

int PositionOf(HMENU menu, int id) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetMenuItemID(menu, i) == static_cast<UINT>(id))
            return i;
    }
    return -1;
}

class Commands : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        ASSERT_NE(dialog.Create(nullptr), nullptr);
    }
    void Command(int id) { SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    HMENU EditMenu() const { return GetSubMenu(dialog.mainMenu(), 2); }
    // The menu as the system tells the window before it opens.
    void Open(HMENU menu) {
        SendMessageW(dialog.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }
    // Key k gets a code, as the capture dialog would give it.
    void ProgramKey(int key) {
        dialog.document().SelectKey(key);
        KeyCodes codes{};
        codes[0] = 0x1C;
        const std::array<std::string, kCodeSlots> names{"A"};
        dialog.document().ApplyCapturedCodes(codes, names);
    }
    bool Enabled(HMENU menu, int id) {
        return !(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED);
    }
    // A key pressed with Ctrl held, as the window's message loop meets it.
    bool CtrlKey(HWND target, WORD key) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        const BYTE control = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        MSG message{target, WM_KEYDOWN, key, 1, 0, {}};
        const bool taken = dialog.PreTranslateMessage(message);
        keys[VK_CONTROL] = control;
        SetKeyboardState(keys);
        return taken;
    }

    CProgrammerDlg dialog{kApplicationName};
};

TEST_F(Commands, TheMenuBarHasEditAndViewBeforeHelp) {
    HMENU bar = dialog.mainMenu();
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    EXPECT_EQ(ItemText(bar, 2), L"&Edit");
    EXPECT_EQ(ItemText(bar, 3), L"&View");
    EXPECT_EQ(ItemText(bar, 4), L"&Help");
    HMENU file = dialog.FileMenu();
    const int saveAs = PositionOf(file, kCmdFileSaveAs);
    EXPECT_EQ(PositionOf(file, kCmdPrintLegends), saveAs + 1);
    EXPECT_EQ(PositionOf(file, kCmdExportLegends), saveAs + 2);
}

TEST_F(Commands, MenuItemsShowTheirShortcuts) {
    EXPECT_EQ(ItemText(dialog.FileMenu(), 0), L"&New...\tCtrl+N");
    EXPECT_EQ(ItemText(EditMenu(), 0), L"&Undo\tCtrl+Z");
}

TEST_F(Commands, AMenuOpeningTakesItsStatesFromTheTable) {
    Open(EditMenu());
    EXPECT_FALSE(Enabled(EditMenu(), kCmdUndo));
    ProgramKey(1);
    Open(EditMenu());
    EXPECT_TRUE(Enabled(EditMenu(), kCmdUndo));
    EXPECT_EQ(ItemText(EditMenu(), 0).substr(0, 6), L"&Undo ");
    HMENU view = GetSubMenu(dialog.mainMenu(), 3);
    Open(view);
    EXPECT_TRUE(GetMenuState(view, kCmdKeyNamesOnCaps, MF_BYCOMMAND) & MF_CHECKED);
    Command(kCmdKeyNamesOnCaps);
    Open(view);
    EXPECT_FALSE(GetMenuState(view, kCmdKeyNamesOnCaps, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(Commands, DoubleToRightThroughTheMenuFormsACell) {
    ProgramKey(1);
    Command(kCmdToRight);
    EXPECT_EQ(dialog.document().layout().state(1), CellState::Double);
    EXPECT_EQ(dialog.document().layout().state(2), CellState::Double);
}

TEST_F(Commands, CtrlZUndoesTheLastStep) {
    ProgramKey(1);
    Command(kCmdToRight);
    ASSERT_TRUE(CtrlKey(dialog.hwnd(), 'Z'));
    EXPECT_EQ(dialog.document().layout().state(1), CellState::Single);
    EXPECT_EQ(dialog.document().layout().state(2), CellState::Blank);
}

TEST(CommandAccelerators, EveryShortcutOfTheTableIsAnAcceleratorOfItsScope) {
    const std::vector<ACCEL> window = win32::CommandAccelerators(false);
    const std::vector<ACCEL> grid = win32::CommandAccelerators(true);
    const auto has = [](const std::vector<ACCEL>& table, const Shortcut& shortcut, int id) {
        for (const ACCEL& entry : table) {
            const bool ctrl = entry.fVirt & FCONTROL;
            const bool shift = entry.fVirt & FSHIFT;
            if (entry.key == win32::VirtualKey(shortcut.key) && ctrl == shortcut.ctrl &&
                shift == shortcut.shift && entry.cmd == id)
                return true;
        }
        return false;
    };
    for (const CommandSpec& spec : CommandTable()) {
        for (const Shortcut& shortcut : spec.shortcuts) {
            if (shortcut.key == ShortcutKey::None)
                continue;
            EXPECT_TRUE(has(grid, shortcut, spec.id)) << spec.id;
            EXPECT_EQ(has(window, shortcut, spec.id), spec.scope == ShortcutScope::Window)
                << spec.id;
        }
    }
}

TEST(CommandAccelerators, ShortcutTextsUseTheStringTablesKeyNames) {
    const std::pair<Shortcut, std::wstring> cases[] = {
        {{ShortcutKey::S, true, true}, L"Ctrl+Shift+S"},
        {{ShortcutKey::Digit2, true, false}, L"Ctrl+2"},
        {{ShortcutKey::Delete, false, false}, L"Del"},
        {{ShortcutKey::Delete, true, true}, L"Ctrl+Shift+Del"},
        {{ShortcutKey::Insert, false, false}, L"Ins"},
        {{ShortcutKey::F1, false, false}, L"F1"},
        {{ShortcutKey::None, true, false}, L""},
    };
    for (const auto& [shortcut, text] : cases)
        EXPECT_EQ(win32::ShortcutText(shortcut), text);
}

} // namespace
