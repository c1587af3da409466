#pragma once
// Setting and reading the dialog's controls the way the data exchange does: a text that is
// already there is not written again, so the caret stays where the user is typing.

#include "core/document/ExchangeGuard.h"

#include <windows.h>

#include <string>

namespace win32 {

std::wstring ControlText(HWND control);
void SetControlText(HWND control, const std::wstring& text);
void SetControlNumber(HWND control, long long number);
void SetChecked(HWND control, bool checked);
bool IsChecked(HWND control);

// Ends a data exchange when it goes out of scope; notifications raised meanwhile are ignored.
using zr4700::ExchangeGuard;

} // namespace win32
