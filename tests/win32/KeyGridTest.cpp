// The painted key grid and the key panel under Wine, reached through the messages a user's mouse
// and keys send.

#include "Win32TestSupport.h"
#include "core/document/Commands.h"
#include "win32/CProgrammerDlg.h"
#include "win32/Clipboard.h"
#include "win32/PopupMenus.h"
#include "win32/grid/GridScale.h"
#include "win32/panel/ControlNames.h"

#include <commctrl.h>
#include <oleacc.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

using win32::CProgrammerDlg;
using namespace zr4700;

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

class KeyGrid : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        win32::PopupMenus::Script();
        ASSERT_NE(dialog.Create(nullptr), nullptr);
        grid = dialog.gridWindow();
        ASSERT_NE(grid, nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(win32::PopupMenus::Unanswered(), 0);
        win32::PopupMenus::Unscript();
        Win32Test::TearDown();
    }
    const Layout& layout() const { return dialog.document().layout(); }
    // The middle of a key, in the grid window's coordinates.
    LPARAM At(int key) const {
        const RECT unit = dialog.grid().KeyRect(key);
        return MAKELPARAM((unit.left + unit.right) / 2, (unit.top + unit.bottom) / 2);
    }
    void Press(int key) { SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, At(key)); }
    void MoveHeld(int key) { SendMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON, At(key)); }
    void Release(int key) { SendMessageW(grid, WM_LBUTTONUP, 0, At(key)); }
    void Click(int key) {
        Press(key);
        Release(key);
    }
    // A key as the window's message loop meets it, on the control that has the focus.
    bool Key(WORD key, bool ctrl = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        const bool taken = dialog.PreTranslateMessage(message);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        return taken;
    }
    // Key k gets codes and a name, as the capture dialog and the name field would give them.
    void ProgramKey(int key, const std::string& name) {
        Click(key);
        KeyCodes codes{};
        codes[0] = 0x1C;
        codes[1] = 0x32;
        const std::array<std::string, kCodeSlots> names{"A", "B"};
        dialog.document().ApplyCapturedCodes(codes, names);
        SetWindowTextW(dialog.Control(1009), std::wstring(name.begin(), name.end()).c_str());
    }
    std::wstring StatusPane(int pane) const {
        wchar_t text[256] = {};
        SendMessageW(dialog.statusBar(), SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text));
        return text;
    }

    CProgrammerDlg dialog{kApplicationName};
    HWND grid = nullptr;
};

TEST_F(KeyGrid, AClickOnAKeySelectsItAndThePanelShowsIt) {
    Click(10);
    EXPECT_EQ(layout().currentKey, 10);
    EXPECT_EQ(Text(dialog.Control(1012)), L"10");
    EXPECT_EQ(Text(dialog.Control(1009)), L"KEY10");
    EXPECT_EQ(GetFocus(), grid);
}

TEST_F(KeyGrid, ThePointerOverAKeyShowsItInTheStatusBar) {
    SendMessageW(grid, WM_MOUSEMOVE, 0, At(12));
    EXPECT_EQ(StatusPane(5), L"Number: 12");
    EXPECT_EQ(StatusPane(6), L"Name: KEY12");
    SendMessageW(grid, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(StatusPane(5), L"Number: ----");
    SendMessageW(grid, WM_MOUSEMOVE, 0, At(12));
    SendMessageW(grid, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(StatusPane(5), L"Number: ----");
    EXPECT_EQ(StatusPane(6), L"Name: ----");
}

TEST_F(KeyGrid, ArrowKeysMoveTheCurrentKey) {
    Click(1);
    EXPECT_TRUE(Key(VK_RIGHT));
    EXPECT_EQ(layout().currentKey, 2);
    EXPECT_TRUE(Key(VK_DOWN));
    EXPECT_EQ(layout().currentKey, 10);
    EXPECT_TRUE(Key(VK_LEFT));
    EXPECT_TRUE(Key(VK_UP));
    EXPECT_EQ(layout().currentKey, 1);
    EXPECT_EQ(Text(dialog.Control(1012)), L"1");
}

TEST_F(KeyGrid, AKeyDraggedOntoAnotherCopiesIt) {
    ProgramKey(1, "Total");
    Press(1);
    MoveHeld(2);
    MoveHeld(3);
    Release(3);
    EXPECT_EQ(layout().key(3).codes, layout().key(1).codes);
    EXPECT_EQ(layout().key(3).name, "Total");
    EXPECT_EQ(layout().currentKey, 3);
}

TEST_F(KeyGrid, AClickWithoutMovingDropsNothing) {
    ProgramKey(1, "Total");
    Press(1);
    Release(1);
    Click(3);
    EXPECT_EQ(layout().state(3), CellState::Blank);
}

TEST_F(KeyGrid, RightClickOpensTheKeyPopupAndRunsItsChoice) {
    ProgramKey(5, "Big");
    win32::PopupMenus::Script({kCmdToRight});
    POINT screen{};
    const RECT unit = dialog.grid().KeyRect(5);
    screen = POINT{unit.left + 3, unit.top + 3};
    ClientToScreen(grid, &screen);
    SendMessageW(grid, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(grid),
                 MAKELPARAM(screen.x, screen.y));
    ASSERT_EQ(win32::PopupMenus::Shown().size(), 1u);
    const auto& items = win32::PopupMenus::Shown().front().items;
    // "Single" is for a key in a cell, "to Right" for a single key with a blank neighbour.
    const auto state = [&items](int id) {
        for (const auto& item : items) {
            if (item.id == id)
                return item.enabled;
        }
        return false;
    };
    EXPECT_FALSE(state(kCmdSingle));
    EXPECT_TRUE(state(kCmdToRight));
    EXPECT_EQ(layout().state(5), CellState::Double);
    EXPECT_EQ(layout().state(6), CellState::Double);
}

TEST_F(KeyGrid, TheMenuKeyOpensThePopupOfTheCurrentKey) {
    Click(7);
    win32::PopupMenus::Script({0});
    EXPECT_TRUE(Key(VK_APPS));
    ASSERT_EQ(win32::PopupMenus::Shown().size(), 1u);
    POINT centre{};
    const RECT unit = dialog.grid().KeyRect(7);
    centre = POINT{(unit.left + unit.right) / 2, (unit.top + unit.bottom) / 2};
    ClientToScreen(grid, &centre);
    EXPECT_EQ(win32::PopupMenus::Shown().front().at.x, centre.x);
    EXPECT_EQ(win32::PopupMenus::Shown().front().at.y, centre.y);
}

TEST_F(KeyGrid, CtrlCOnTheGridPutsTheKeysLineOnTheClipboard) {
    ProgramKey(4, "Total");
    SetFocus(grid);
    EXPECT_TRUE(Key('C', true));
    EXPECT_EQ(win32::ClipboardText(dialog.hwnd()), L"Total: A, B");
}

TEST_F(KeyGrid, TheGridsOwnShortcutsWaitForTheGridsFocus) {
    ProgramKey(4, "Total");
    SetFocus(dialog.Control(1009));
    win32::PutTextOnClipboard(dialog.hwnd(), L"kept");
    EXPECT_FALSE(Key('C', true));
    EXPECT_EQ(win32::ClipboardText(dialog.hwnd()), L"kept");
}

TEST_F(KeyGrid, KeyNamesOnCapsFollowsTheViewMenuAndIsKeptForTheNextRun) {
    EXPECT_TRUE(dialog.grid().namesShown());
    SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(kCmdKeyNamesOnCaps, 0), 0);
    EXPECT_FALSE(dialog.grid().namesShown());
    CProgrammerDlg next{kApplicationName};
    ASSERT_NE(next.Create(nullptr), nullptr);
    EXPECT_FALSE(next.grid().namesShown());
}

TEST_F(KeyGrid, TypingANameRenamesTheKeyAndUndoNamesTheStep) {
    Click(2);
    SetWindowTextW(dialog.Control(1009), L"Cash");
    EXPECT_EQ(layout().key(2).name, "Cash");
    HMENU edit = GetSubMenu(dialog.mainMenu(), 2);
    SendMessageW(dialog.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 0);
    wchar_t undo[128] = {};
    GetMenuStringW(edit, 0, undo, 128, MF_BYPOSITION);
    EXPECT_NE(std::wstring(undo), L"&Undo\tCtrl+Z");
    // A name the file could not read back is refused.
    SetWindowTextW(dialog.Control(1009), L"Cash;");
    EXPECT_EQ(layout().key(2).name, "Cash");
    EXPECT_EQ(Text(dialog.Control(1009)), L"Cash");
}

TEST_F(KeyGrid, ThePanelsButtonsStepThroughTheKeys) {
    Click(1);
    SendMessageW(dialog.Control(1020), BM_CLICK, 0, 0); // "<<"
    EXPECT_EQ(layout().currentKey, 56);
    SendMessageW(dialog.Control(1051), BM_CLICK, 0, 0); // ">>"
    EXPECT_EQ(layout().currentKey, 1);
    SendMessageW(dialog.Control(1026), BM_CLICK, 0, 0); // "Mode 2"
    EXPECT_EQ(layout().key(1).mode(), 1);
}

TEST_F(KeyGrid, TheRfidFieldsEditTheDocument) {
    SetWindowTextW(dialog.Control(1037), L"42");
    EXPECT_EQ(layout().rfid.prefix, 42);
    SendMessageW(dialog.Control(1041), BM_CLICK, 0, 0);
    EXPECT_EQ(layout().rfid.suffixExtended, 1);
    // A value out of range is reported when the field is left; the document keeps 42.
    win32::MessageBoxes::Script({IDOK});
    SetFocus(dialog.Control(1037));
    SetWindowTextW(dialog.Control(1037), L"300");
    SetFocus(grid);
    EXPECT_EQ(GetFocus(), dialog.Control(1037));
    ASSERT_EQ(win32::MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(win32::MessageBoxes::Shown().front().text,
              L"Please enter an integer between 0 and 255.");
    EXPECT_EQ(layout().rfid.prefix, 42);
    SetWindowTextW(dialog.Control(1037), L"42");
}

TEST(GridScale, GrowsWithTheDensityAndShrinksOnlyToFit) {
    struct Case {
        int width, height;
        UINT dpi;
        double scale;
        int left, top;
    };
    const Case cases[] = {
        {552, 248, 96, 1.0, 4, 5},   {1100, 500, 144, 1.5, 142, 71}, {1100, 500, 192, 2.0, 6, 12},
        {272, 500, 96, 0.5, 0, 190}, {552, 248, 0, 1.0, 4, 5},
    };
    for (const Case& c : cases) {
        const win32::GridScale fit = win32::GridScale::Fit(c.width, c.height, c.dpi);
        EXPECT_DOUBLE_EQ(fit.scale, c.scale) << c.dpi;
        EXPECT_EQ(fit.left, c.left) << c.dpi;
        EXPECT_EQ(fit.top, c.top) << c.dpi;
        // Key 1's unit square, and back from its middle.
        const RECT unit = fit.ToWindow(9, 90, 34, 34);
        EXPECT_EQ(unit.left, c.left);
        EXPECT_EQ(unit.right - unit.left, static_cast<int>(34 * c.scale));
        const POINT middle =
            fit.ToSurface({(unit.left + unit.right) / 2, (unit.top + unit.bottom) / 2});
        EXPECT_NEAR(middle.x, 9 + 17, 1) << c.dpi;
        EXPECT_NEAR(middle.y, 90 + 17, 1) << c.dpi;
    }
}

// ---- Accessibility -----------------------------------------------------------------------------

class AccessibleGrid : public KeyGrid {
  protected:
    void SetUp() override {
        // As in the program: the user-interface thread is a single-threaded apartment.
        com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        KeyGrid::SetUp();
        ASSERT_EQ(AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&accessible)),
                  S_OK);
    }
    void TearDown() override {
        if (accessible)
            accessible->Release();
        KeyGrid::TearDown();
        // The grid's object goes before the apartment does.
        DestroyWindow(dialog.hwnd());
        if (SUCCEEDED(com))
            CoUninitialize();
    }
    std::wstring Name(long child) {
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = child;
        BSTR name = nullptr;
        std::wstring text;
        if (accessible->get_accName(id, &name) == S_OK && name)
            text = name;
        SysFreeString(name);
        return text;
    }
    long State(long child) {
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = child;
        VARIANT state{};
        accessible->get_accState(id, &state);
        return state.lVal;
    }

    IAccessible* accessible = nullptr;
    HRESULT com = E_FAIL;
};

TEST_F(AccessibleGrid, TheKeysAreItsChildrenNamedByNumberAndName) {
    ProgramKey(10, "Cash drawer");
    long count = 0;
    ASSERT_EQ(accessible->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 56);
    EXPECT_EQ(Name(10), L"Key 10, Cash drawer");
    EXPECT_EQ(Name(11), L"Key 11, not programmed");
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = 10;
    VARIANT role{};
    ASSERT_EQ(accessible->get_accRole(id, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
}

TEST_F(AccessibleGrid, TheCurrentKeyIsFocusedOnlyWhileTheGridHasTheFocus) {
    Click(3);
    EXPECT_TRUE(State(3) & STATE_SYSTEM_FOCUSED);
    SetFocus(dialog.Control(1009));
    EXPECT_FALSE(State(3) & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(State(3) & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(State(4) & STATE_SYSTEM_SELECTED);
}

TEST_F(AccessibleGrid, EveryControlIsNamedThroughItsLabel) {
    const std::vector<win32::ControlName> names = win32::LabelledControlNames(dialog.hwnd());
    const auto nameOf = [&names](int id) {
        for (const auto& control : names) {
            if (control.id == id)
                return control.name;
        }
        return std::wstring();
    };
    const std::pair<int, std::wstring> cases[] = {
        {1037, L"Prefix:"},
        {1038, L"Suffix:"},
        {1035, L"Digits count:"},
        {1036, L"Digits count"},
        {1016, L"Programmed keys:"},
        {1012, L"Key number"},
        {1009, L"Key name"},
        {1027, L"Set flag for all keys"},
        {1025, L"Set mode for all keys"},
        {1000, L"Code 1"},
        {1022, L"Code 16"},
        {1020, L"Previous key"},
        {1051, L"Next key"},
    };
    for (const auto& [id, name] : cases)
        EXPECT_EQ(nameOf(id), name) << id;
    // What a tool reads. Windows serves the annotated names for the standard controls; Wine's
    // oleacc reads a control's window text instead, so there the field shows its value.
    IAccessible* field = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(dialog.Control(1009), static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&field)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    field->get_accName(self, &name);
    const std::wstring read = name ? name : L"";
    SysFreeString(name);
    field->Release();
    EXPECT_TRUE(read == L"Key name" || read == Text(dialog.Control(1009))) << read;
}

} // namespace
