// File > Programming... in the core: what stops it before anything is written, the engine's
// arguments, and what the user is told after a run.
#include "core/files/ProgrammingRun.h"

#include "core/LayoutTestSupport.h"
#include "engine/BytePacer.h"
#include "engine/EngineResults.h"
#include "engine/SimulatedKeyboard.h"
#include "support/ScriptedPrompts.h"
#include "support/StringTableTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zr4700 {
namespace {

using testing::Program;
using testing::ScriptedPrompts;
using testing::StringTableTexts;

TEST(ProgrammingRun, ALayoutWithoutCodesStopsBeforeTheKeyboardIsAsked) {
    Layout layout;
    ScriptedPrompts prompts;
    prompts.ExpectError(kStrNoProgrammedKey);
    EXPECT_FALSE(ReadyToProgram(layout, prompts));
    Program(layout, 5, {0x1C});
    EXPECT_TRUE(ReadyToProgram(layout, prompts));
}

TEST(ProgrammingRun, StopsWithTheReasonTheKeyboardGave) {
    struct Case {
        const char* name;
        KeyboardDetection found;
        int keyCount;
        int stringId;
        const char* detail;
    };
    const Case cases[] = {
        {"a type of no known model",
         {-1, 7, "", "sim:7"},
         56,
         kResultInvalidTypeDetected,
         "sim:7: the keyboard answered 7, which is no known type."},
        {"no answer",
         {-3, -1, "", "sim"},
         56,
         kResultDetectingError,
         "sim: the keyboard did not answer the type query."},
        {"56 keys into a type 2",
         {2, 2, "", "sim"},
         56,
         kResultFormatMismatch,
         "The layout has 56 keys, while the keyboard found is the 112-key ZR-4700 D. Change the "
         "keyboard type under File > Settings, or program a keyboard that takes 56 keys."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        layout.keyCount = c.keyCount;
        Program(layout, 5, {0x1C});
        ScriptedPrompts prompts;
        prompts.ExpectError(c.stringId);
        EXPECT_FALSE(PrepareProgramming(layout, c.found, prompts, StringTableTexts()));
        ASSERT_EQ(prompts.asked().size(), 1u);
        EXPECT_EQ(prompts.asked()[0].detail, c.detail);
    }
}

TEST(ProgrammingRun, AsksBeforeA73ScanKeyboardDropsCodes) {
    Layout layout;
    Program(layout, 5, {0x1C, 0x32, 0x21, 0x23, 0x24, 0x2B, 0x34, 0x33});
    for (const bool yes : {false, true}) {
        ScriptedPrompts prompts;
        prompts.ExpectQuestion(kStrProgramDropsCodes, yes);
        const auto run = PrepareProgramming(layout, {0, 0, "", "sim"}, prompts, StringTableTexts());
        EXPECT_EQ(run.has_value(), yes);
    }
}

TEST(ProgrammingRun, HandsTheEngineTheFileAndTheTypeFound) {
    Layout layout;
    Program(layout, 5, {0x1C});
    ScriptedPrompts prompts;
    const auto run = PrepareProgramming(layout, {1, 1, "", "sim"}, prompts, StringTableTexts());
    ASSERT_TRUE(run);
    ASSERT_EQ(run->arguments.size(), 3u);
    EXPECT_EQ(run->arguments[0], "zrwin.exe");
    EXPECT_EQ(run->arguments[1], run->file->path());
    EXPECT_EQ(run->arguments[2], "/1");
    EXPECT_TRUE(std::filesystem::exists(run->file->path()));
}

TEST(ProgrammingRun, RunsTheEngineAndDeletesItsFile) {
    Layout layout;
    Program(layout, 5, {0x1C});
    ScriptedPrompts prompts;
    const ScopedBytePause quick(std::chrono::nanoseconds(0));
    // The in-process keyboard, whatever the environment names.
    setenv("ZR4700_DEVICE", "sim", 1);
    InProcessKeyboard().reset();
    InProcessKeyboard().setType(1);
    const auto run = PrepareProgramming(layout, {1, 1, "", "sim"}, prompts, StringTableTexts());
    ASSERT_TRUE(run);
    const std::atomic<bool> stop{false};
    int steps = 0;
    const RunOutcome outcome = RunProgramming(run->arguments, [&steps] { ++steps; }, stop, {});
    EXPECT_EQ(outcome.result, kResultOk);
    EXPECT_EQ(outcome.steps, steps);
    EXPECT_EQ(outcome.report.bytesSent, 1014);
    EXPECT_EQ(InProcessKeyboard().receivedBytes().size(), 1014u);
    EXPECT_FALSE(std::filesystem::exists(run->arguments[1]));
    EXPECT_TRUE(RunOutcomeMessages(outcome, StringTableTexts()).empty());
    InProcessKeyboard().reset();
}

TEST(ProgrammingRun, TellsWhatARunThatEndedBadlyLeft) {
    struct Case {
        const char* name;
        int result;
        bool stopped;
        int bytesSent;
        std::vector<RunMessage> messages;
    };
    const Case cases[] = {
        {"success", kResultOk, false, 1014, {}},
        {"driver error before any byte",
         kResultDriverError,
         false,
         0,
         {{kResultDriverError, "sim: busy"}}},
        {"refused byte",
         kResultProgrammingError,
         false,
         10,
         {{kResultProgrammingError, "sim: busy"},
          {kStrTransferIncomplete, "10 of 1014 bytes were sent."}}},
        {"stopped part-way",
         kResultCancelled,
         true,
         300,
         {{kStrTransferIncomplete, "300 of 1014 bytes were sent."}}},
        {"stopped before sending", kResultCancelled, true, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunOutcome outcome;
        outcome.result = c.result;
        outcome.stopped = c.stopped;
        outcome.report.bytesSent = c.bytesSent;
        outcome.report.imageSize = 1014;
        outcome.deviceError = "sim: busy";
        EXPECT_EQ(RunOutcomeMessages(outcome, StringTableTexts()), c.messages);
    }
}

} // namespace
} // namespace zr4700
