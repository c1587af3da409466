#include "engine/ZrwinCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zr4700 {
namespace {

struct CommandLineCase {
    std::vector<const char*> argv;
    bool json, check, ifChanged;
    std::vector<std::string> engine; // after the program's name
};

TEST(ZrwinCommandLine, LeadingOptionsOnlyTheRestGoesToTheEngine) {
    const std::vector<CommandLineCase> table = {
        {{"zrwin"}, false, false, false, {}},
        {{"zrwin", "a.txt", "/2"}, false, false, false, {"a.txt", "/2"}},
        {{"zrwin", "--json", "a.txt"}, true, false, false, {"a.txt"}},
        {{"zrwin", "--check", "--json", "a.txt", "/1"}, true, true, false, {"a.txt", "/1"}},
        {{"zrwin", "--if-changed", "a.txt"}, false, false, true, {"a.txt"}},
        {{"zrwin", "--json"}, true, false, false, {}},
        // After the file, and after "--", an option is an argument of the engine's.
        {{"zrwin", "a.txt", "--json"}, false, false, false, {"a.txt", "--json"}},
        {{"zrwin", "--json", "--", "--check"}, true, false, false, {"--check"}},
        {{"zrwin", "--", "--"}, false, false, false, {"--"}},
        // Anything else is left to the engine, as it always was.
        {{"zrwin", "--bogus", "a.txt"}, false, false, false, {"--bogus", "a.txt"}},
        {{"zrwin", "-h"}, false, false, false, {"-h"}},
    };
    for (const CommandLineCase& c : table) {
        const ZrwinCommandLine command =
            ParseZrwinCommandLine(static_cast<int>(c.argv.size()), c.argv.data());
        const std::string name = testing::PrintToString(c.argv.size()) + " " + c.argv.back();
        EXPECT_EQ(command.json, c.json) << name;
        EXPECT_EQ(command.check, c.check) << name;
        EXPECT_EQ(command.ifChanged, c.ifChanged) << name;
        ASSERT_EQ(command.engineArgc(), static_cast<int>(c.engine.size()) + 1) << name;
        EXPECT_STREQ(command.engineArgv()[0], "zrwin");
        for (std::size_t i = 0; i < c.engine.size(); ++i) {
            EXPECT_EQ(command.engineArgv()[i + 1], c.engine[i]) << name;
        }
    }
}

TEST(ZrwinCommandLine, NoArgumentsAtAll) {
    EXPECT_EQ(ParseZrwinCommandLine(0, nullptr).engineArgc(), 0);
}

} // namespace
} // namespace zr4700
