// The fields of "Edit scan codes" read as numbers, in the dialog's order.
#include "core/scancodes/EditedCodeFields.h"

#include "core/document/UserPrompts.h"

#include <gtest/gtest.h>

namespace zr4700 {
namespace {

EditedCodeTexts Texts(std::initializer_list<std::pair<int, const char*>> changed) {
    EditedCodeTexts texts;
    texts.fill("0");
    for (const auto& [slot, text] : changed)
        texts[static_cast<std::size_t>(slot - 1)] = text;
    return texts;
}

TEST(EditedCodeFields, StopAtTheFirstBadFieldInTheirOrder) {
    struct Case {
        const char* name;
        EditedCodeTexts texts;
        int failedSlot;
        int messageId;
        std::uint32_t slot2; // what slot 2 holds afterwards (it is read late)
    };
    const Case cases[] = {
        {"all good", Texts({{2, "108"}}), 0, 0, 108},
        {"slot 10 before slot 2", Texts({{2, "x"}, {10, ""}}), 10, kStrPositiveMessage, 5},
        {"slot 2 too large, stored", Texts({{2, "300"}}), 2, kStrRangeMessage, 300},
        {"slot 9 read last", Texts({{2, "7"}, {9, "256"}}), 9, kStrRangeMessage, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditedCodes codes{};
        codes[1] = 5;
        const EditedCodesRead read = ReadEditedCodeTexts(c.texts, codes);
        EXPECT_EQ(read.failedSlot, c.failedSlot);
        EXPECT_EQ(read.refusal.messageId, c.messageId);
        EXPECT_EQ(codes[1], c.slot2);
    }
}

TEST(EditedCodeFields, AChangedFieldAboveTheRangeGetsItsValueBack) {
    EditedCodes codes{};
    codes[14] = 255;
    const EditedCodesRead read = OnEditedCodeChanged(15, Texts({{15, "2555"}}), codes);
    EXPECT_EQ(read.failedSlot, 15);
    EXPECT_EQ(read.refusal.args, (std::vector<std::string>{"0", "255"}));
    EXPECT_EQ(codes[14], 255u);
    // An emptied field is refused and keeps its value as well.
    EXPECT_EQ(OnEditedCodeChanged(15, Texts({{15, ""}}), codes).failedSlot, 15);
    EXPECT_EQ(codes[14], 255u);
    EXPECT_EQ(OnEditedCodeChanged(15, Texts({{15, "030"}}), codes).failedSlot, 0);
    EXPECT_EQ(codes[14], 30u);
}

} // namespace
} // namespace zr4700
