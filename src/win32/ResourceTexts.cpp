#include "win32/ResourceTexts.h"

#include "win32/Resources.h"

#include <string>

namespace win32 {

std::string ResourceTexts::Text(std::string_view key) const {
    const std::string name(key);
    const bool number = !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
    return number ? Resources::Utf8String(std::stoi(name)) : Resources::Utf8String(name.c_str());
}

} // namespace win32
