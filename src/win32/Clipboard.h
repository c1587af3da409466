#pragma once
// The system's clipboard as text.

#include <windows.h>

#include <string>

namespace win32 {

// Replaces the clipboard's contents with a text (CF_UNICODETEXT); false when the clipboard could
// not be opened.
bool PutTextOnClipboard(HWND owner, const std::wstring& text);
// The clipboard's text; empty when it holds none.
std::wstring ClipboardText(HWND owner);

} // namespace win32
