#pragma once
// Help > Content: the help file in the HTML Help viewer. The viewer lives in hhctrl.ocx, which
// is loaded when help is first asked for, so the program starts without it.

#include <windows.h>

#include <functional>
#include <string>

namespace win32::HelpViewer {

// The process's current directory, whole, however long it is.
std::wstring CurrentDirectory();
// "<directory>\help\ZR4700.chm".
std::wstring HelpFilePath(const std::wstring& directory);

// Shows the file with the viewer's display-topic call (no owner window, data 0) and maximises
// the viewer's window. Whether a missing file is reported is up to the viewer. Returns the
// viewer's window, or nullptr.
HWND Show(const std::wstring& path);

// Tests put a stand-in viewer here; an empty one gives the HTML Help viewer back.
void SetViewer(std::function<HWND(const std::wstring& path)> viewer);

} // namespace win32::HelpViewer
