#pragma once
// The programmer's command line: zr4700 [LAYOUT] opens LAYOUT at start-up as Open would;
// zr4700 --screenshot OUT.png [LAYOUT] writes a picture of the main window and ends.

#include <optional>
#include <string>
#include <vector>

namespace win32 {

struct CommandLine {
    std::wstring layoutPath;     // empty: start untitled
    std::wstring screenshotPath; // not empty: write the picture and end
};

// nullopt when the arguments (after the program name) make no sense.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::wstring>& arguments);

} // namespace win32
