#pragma once
// What the user chose in the View menu, kept per user from one run to the next:
// HKEY_CURRENT_USER\Software\Valmora\<application name>\Legends, value "KeyNamesOnCaps" (1 or 0).

#include <string>

namespace win32 {

// On unless the user turned it off.
bool ReadKeyNamesShown(const std::wstring& applicationName);
void WriteKeyNamesShown(const std::wstring& applicationName, bool shown);

} // namespace win32
