#pragma once
// A picture of a shown window as it stands on the screen, caption and menu bar included, written
// as a PNG file through the Windows Imaging Component, so that the README and the tests can look
// at the program. The window must be shown and not covered.

#include <windows.h>

#include <string>

namespace win32 {

bool SaveWindowPicture(HWND window, const std::wstring& pngPath);

} // namespace win32
