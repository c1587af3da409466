#pragma once
// What the secondary dialogs add to the data exchange of panel/ControlText.h: radio groups by
// their ids, and a number the core's rules refuse reported in a message box, after which the
// field has the focus with its text selected.

#include "core/document/FieldText.h"
#include "win32/panel/ControlText.h"

#include <windows.h>

#include <span>

namespace win32 {

// Radio buttons given by their ids: the index of the one checked (-1 for none), and checking one.
int RadioIndex(HWND dialog, std::span<const int> ids);
void SetRadioIndex(HWND dialog, std::span<const int> ids, int index);

// True when the number was taken; otherwise shows its message over the dialog, focuses the field
// and selects its text.
bool CheckFieldNumber(HWND dialog, HWND field, const zr4700::TypedNumber& number);

} // namespace win32
