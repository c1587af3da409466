// The scripted prompts that the document tests answer questions with.

#include "support/ScriptedPrompts.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

TEST(ScriptedPromptsTest, AnswersInOrderAndRecordsEveryPrompt) {
    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrClearKeyQuestion, true, std::vector<std::string>{"KEY1"})
        .ExpectError(kStrGroupKeyError)
        .ExpectQuestion(kStrClearAllQuestion, false);
    EXPECT_TRUE(prompts.AskYesNo(kStrClearKeyQuestion, {"KEY1"}));
    prompts.ShowError(kStrGroupKeyError);
    EXPECT_FALSE(prompts.AskYesNo(kStrClearAllQuestion));
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(prompts.askedIds(),
              (std::vector<int>{kStrClearKeyQuestion, kStrGroupKeyError, kStrClearAllQuestion}));
    EXPECT_EQ(prompts.asked()[0].args, std::vector<std::string>{"KEY1"});
}

TEST(ScriptedPromptsTest, FailsOnAnUnexpectedPrompt) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompts prompts;
            EXPECT_FALSE(prompts.AskYesNo(kStrClearAllQuestion));
        },
        "unexpected question 32785");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompts prompts;
            prompts.ExpectQuestion(kStrClearAllQuestion, true);
            prompts.ShowError(kStrGroupKeyError);
        },
        "expected question 32785, got error 32787");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompts prompts;
            prompts.ExpectQuestion(kStrClearKeyQuestion, true, std::vector<std::string>{"A"});
            prompts.AskYesNo(kStrClearKeyQuestion, {"B"});
        },
        "came with the arguments [B]");
}

TEST(ScriptedPromptsTest, FailsWhenAnExpectedPromptNeverCame) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompts prompts;
            prompts.ExpectError(kStrGroupKeyError);
        },
        "never came");
}

} // namespace
} // namespace zr4700::testing
