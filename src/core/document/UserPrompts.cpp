#include "core/document/UserPrompts.h"

namespace zr4700 {

std::string FormatMessage(const std::string& text, const std::vector<std::string>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size()) {
            const char spec = text[i + 1];
            if (spec == 's' || spec == 'd') {
                if (next < args.size())
                    out += args[next];
                ++next;
                ++i;
                continue;
            }
            if (spec >= '1' && spec <= '9') {
                const std::size_t index = static_cast<std::size_t>(spec - '1');
                if (index < args.size())
                    out += args[index];
                ++i;
                continue;
            }
            if (spec == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace zr4700
