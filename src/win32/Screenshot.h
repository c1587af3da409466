#pragma once
// A picture of a window as it is drawn (PrintWindow), written as a PNG file through the Windows
// Imaging Component, so that the README and the tests can look at the program.

#include <windows.h>

#include <string>

namespace win32 {

bool SaveWindowPicture(HWND window, const std::wstring& pngPath);

} // namespace win32
