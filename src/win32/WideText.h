#pragma once
// The core keeps its texts in UTF-8; Windows takes UTF-16. One conversion each way.

#include <string>
#include <string_view>

namespace win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace win32
