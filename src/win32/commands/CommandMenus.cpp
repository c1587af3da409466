#include "win32/commands/CommandMenus.h"

#include "win32/Resources.h"
#include "win32/WideText.h"
#include "win32/commands/CommandAccelerators.h"

#include <string>

namespace win32 {
namespace {

using namespace zr4700;

std::wstring ItemText(HMENU menu, UINT position) {
    wchar_t text[512] = {};
    GetMenuStringW(menu, position, text, 512, MF_BYPOSITION);
    return text;
}

void SetItemText(HMENU menu, UINT position, const std::wstring& text) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu, position, TRUE, &item);
}

void AppendCommand(HMENU menu, int id) {
    const CommandSpec* spec = FindCommandSpec(id);
    const std::wstring text = spec && spec->textKey ? Resources::String(spec->textKey) : L"";
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), text.c_str());
}

void InsertCommand(HMENU menu, UINT position, int id) {
    const CommandSpec* spec = FindCommandSpec(id);
    const std::wstring text = spec && spec->textKey ? Resources::String(spec->textKey) : L"";
    InsertMenuW(menu, position, MF_BYPOSITION | MF_STRING, static_cast<UINT_PTR>(id), text.c_str());
}

// The text of a menu item without its shortcut text.
std::wstring WithoutShortcut(const std::wstring& text) {
    return text.substr(0, text.find(L'\t'));
}

std::wstring WithShortcut(const std::wstring& text, int id) {
    const CommandSpec* spec = FindCommandSpec(id);
    const std::wstring shortcut = spec ? ShortcutText(spec->shortcuts[0]) : L"";
    return shortcut.empty() ? text : WithoutShortcut(text) + L"\t" + shortcut;
}

} // namespace

int MenuPosition(HMENU menu, int id) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == static_cast<UINT>(id))
            return i;
    }
    return -1;
}

void AddCommandMenus(HMENU menuBar) {
    if (HMENU file = GetSubMenu(menuBar, 1)) {
        // With the other commands that write the layout somewhere.
        const int saveAs = MenuPosition(file, kCmdFileSaveAs);
        if (saveAs >= 0) {
            InsertCommand(file, static_cast<UINT>(saveAs + 1), kCmdPrintLegends);
            InsertCommand(file, static_cast<UINT>(saveAs + 2), kCmdExportLegends);
        }
    }
    // Before Help, the last menu.
    const UINT help = static_cast<UINT>(GetMenuItemCount(menuBar) - 1);
    HMENU edit = CreatePopupMenu();
    AppendCommand(edit, kCmdUndo);
    AppendCommand(edit, kCmdRedo);
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendCommand(edit, kCmdCopyToClipboard);
    AppendCommand(edit, kCmdPasteFromClipboard);
    AppendCommand(edit, kCmdDeleteKey);
    InsertMenuW(menuBar, help, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(edit),
                Resources::String("edit.menu").c_str());
    HMENU view = CreatePopupMenu();
    AppendCommand(view, kCmdKeyNamesOnCaps);
    InsertMenuW(menuBar, help + 1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(view),
                Resources::String("legend.menu.view").c_str());
    AddShortcutTexts(menuBar);
}

void AddShortcutTexts(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const auto position = static_cast<UINT>(i);
        if (HMENU submenu = GetSubMenu(menu, i)) {
            AddShortcutTexts(submenu);
            continue;
        }
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;
        const std::wstring text = ItemText(menu, position);
        const std::wstring shown = WithShortcut(text, static_cast<int>(id));
        if (shown != text)
            SetItemText(menu, position, shown);
    }
}

void RefreshMenuStates(HMENU menu, const CommandContext& context, const TextSource& texts) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const auto position = static_cast<UINT>(i);
        const UINT id = GetMenuItemID(menu, i);
        const CommandSpec* spec = FindCommandSpec(static_cast<int>(id));
        if (!spec)
            continue;
        const int command = spec->id;
        EnableMenuItem(menu, position,
                       MF_BYPOSITION | (CommandEnabled(context, command) ? MF_ENABLED : MF_GRAYED));
        if (spec->checked) {
            CheckMenuItem(menu, position,
                          MF_BYPOSITION |
                              (CommandChecked(context, command) ? MF_CHECKED : MF_UNCHECKED));
        }
        if (command == kCmdUndo || command == kCmdRedo) {
            const History& history = context.document.history();
            const std::string text =
                command == kCmdUndo ? UndoText(history, texts) : RedoText(history, texts);
            SetItemText(menu, position, WithShortcut(Widen(text), command));
        }
    }
}

} // namespace win32
