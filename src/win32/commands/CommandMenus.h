#pragma once
// The menus over the command table: the Edit and View menus and the legend items the menu
// resource does not carry, each item's shortcut after a tab, and the items' enabled and checked
// states (and the Undo and Redo texts) from the table's rules when a menu opens.

#include "core/document/Commands.h"
#include "core/document/Views.h"

#include <windows.h>

namespace win32 {

// Adds Edit and View before Help and the legend items after "Save &As..." of the File menu (the
// menu bar's entry at position 1), then the shortcut texts of every item.
void AddCommandMenus(HMENU menuBar);
// The position of the item with a command id in a menu (not its submenus); -1 when none.
int MenuPosition(HMENU menu, int id);
// Appends "\t<shortcut>" to each item of a menu (and its submenus) that has a shortcut.
void AddShortcutTexts(HMENU menu);
// The states of a menu's items (not its submenus', which refresh when they open).
void RefreshMenuStates(HMENU menu, const zr4700::CommandContext& context,
                       const zr4700::TextSource& texts);

} // namespace win32
