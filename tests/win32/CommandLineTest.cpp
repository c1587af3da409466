#include "win32/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    std::vector<std::wstring> arguments;
    bool valid;
    std::wstring layout;
    std::wstring screenshot;
};

TEST(CommandLine, ReadsALayoutAndTheScreenshotOption) {
    const Case cases[] = {
        {{}, true, L"", L""},
        {{L"a.txt"}, true, L"a.txt", L""},
        {{L"--screenshot", L"out.png"}, true, L"", L"out.png"},
        {{L"--screenshot", L"out.png", L"a.txt"}, true, L"a.txt", L"out.png"},
        {{L"a.txt", L"--screenshot", L"out.png"}, true, L"a.txt", L"out.png"},
        {{L"--screenshot"}, false, L"", L""},
        {{L"a.txt", L"b.txt"}, false, L"", L""},
        {{L"--unknown"}, false, L"", L""},
    };
    for (const Case& c : cases) {
        const auto line = win32::ParseCommandLine(c.arguments);
        ASSERT_EQ(line.has_value(), c.valid) << c.arguments.size();
        if (line) {
            EXPECT_EQ(line->layoutPath, c.layout);
            EXPECT_EQ(line->screenshotPath, c.screenshot);
        }
    }
}

} // namespace
