#pragma once
// The command table's shortcuts as Win32 accelerators, and as the text a menu item shows after a
// tab. The window's table holds the window-wide shortcuts; the grid's holds those and the grid's
// own, and is the one translated while the key grid has the keyboard focus.

#include "core/document/Commands.h"

#include <windows.h>

#include <string>
#include <vector>

namespace win32 {

// The virtual key of a shortcut's key; 0 for none.
WORD VirtualKey(zr4700::ShortcutKey key);
// The accelerator entries of the table's shortcuts; with the grid's own when withGrid.
std::vector<ACCEL> CommandAccelerators(bool withGrid);
// A new accelerator table of CommandAccelerators (the caller destroys it).
HACCEL CreateCommandAcceleratorTable(bool withGrid);
// "Ctrl+Shift+S", in the names of the string table; empty for none.
std::wstring ShortcutText(const zr4700::Shortcut& shortcut);

} // namespace win32
