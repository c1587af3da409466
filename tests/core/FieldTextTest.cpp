// Numbers typed into dialog fields: what they are worth, or the message that refuses them.
#include "core/document/FieldText.h"

#include "core/document/UserPrompts.h"

#include <gtest/gtest.h>

namespace zr4700 {
namespace {

struct Case {
    const char* text;
    bool ok;
    long long value; // accepted, or kept although out of range
    int messageId;
    bool outOfRange;
};

void Check(const Case& c, const TypedNumber& number) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(number.ok, c.ok);
    EXPECT_EQ(number.messageId, c.messageId);
    EXPECT_EQ(number.outOfRange, c.outOfRange);
    if (c.ok || c.outOfRange) {
        EXPECT_EQ(number.value, c.value);
    }
}

TEST(FieldText, ReadsUnsignedNumbersWithinTheirRange) {
    const Case cases[] = {
        {"0", true, 0, 0, false},
        {" 255 ", true, 255, 0, false},
        {"007", true, 7, 0, false},
        {"256", false, 256, kStrRangeMessage, true},
        {"2555", false, 2555, kStrRangeMessage, true},
        {"99999999999", false, 0, kStrRangeMessage, false},
        {"", false, 0, kStrPositiveMessage, false},
        {"-1", false, 0, kStrPositiveMessage, false},
        {"1 2", false, 0, kStrPositiveMessage, false},
    };
    for (const Case& c : cases)
        Check(c, ReadUnsignedText(c.text, 0, 255));
    EXPECT_EQ(ReadUnsignedText("300", 0, 255).args, (std::vector<std::string>{"0", "255"}));
}

TEST(FieldText, ReadsSignedNumbersWithinTheirRange) {
    const Case cases[] = {
        {"1", true, 1, 0, false},
        {"+255", true, 255, 0, false},
        {"0", false, 0, kStrRangeMessage, true},
        {"-3", false, -3, kStrRangeMessage, true},
        {"x", false, 0, kStrIntegerMessage, false},
        {"", false, 0, kStrIntegerMessage, false},
        {"++1", false, 0, kStrIntegerMessage, false},
    };
    for (const Case& c : cases)
        Check(c, ReadIntegerText(c.text, 1, 255));
    EXPECT_EQ(ReadIntegerText("0", 1, 255).args, (std::vector<std::string>{"1", "255"}));
}

TEST(FieldText, ReadsBytes) {
    const Case cases[] = {
        {"0", true, 0, 0, false},
        {"255", true, 255, 0, false},
        {"256", false, 0, kStrByteRangeMessage, false},
        {"-1", false, 0, kStrByteRangeMessage, false},
        {"a", false, 0, kStrByteRangeMessage, false},
    };
    for (const Case& c : cases)
        Check(c, ReadByteText(c.text));
}

} // namespace
} // namespace zr4700
