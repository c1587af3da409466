#include "win32/CommandLine.h"

namespace win32 {

std::optional<CommandLine> ParseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (argument == L"--screenshot") {
            if (i + 1 >= arguments.size() || !line.screenshotPath.empty())
                return std::nullopt;
            line.screenshotPath = arguments[++i];
        } else if (argument.starts_with(L"--") || !line.layoutPath.empty()) {
            return std::nullopt;
        } else {
            line.layoutPath = argument;
        }
    }
    return line;
}

} // namespace win32
