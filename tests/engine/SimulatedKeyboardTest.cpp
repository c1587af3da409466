#include "engine/SimulatedKeyboard.h"
#include "EngineTestSupport.h"
#include "engine/Device.h"

#include <gtest/gtest.h>

#include <string>

namespace zr4700 {
namespace {

using test::ExpectedImage;
using test::SampleLayout;

bool SendByte(SimulatedKeyboard& keyboard, int handle, std::uint8_t byte) {
    std::uint32_t returned = 0;
    return keyboard.control(handle, kSendByteRequest, &byte, 1, nullptr, 0, returned);
}

TEST(SimulatedKeyboard, AnswersTheTypeQuery) {
    SimulatedKeyboard keyboard;
    const int handle = keyboard.open();
    std::uint8_t type = 9;
    std::uint32_t returned = 0;
    EXPECT_TRUE(keyboard.control(handle, kTypeQueryRequest, nullptr, 0, &type, 1, returned));
    EXPECT_EQ(returned, 1u);
    EXPECT_EQ(type, 2);
    keyboard.setTypeReply(200);
    EXPECT_TRUE(keyboard.control(handle, kTypeQueryRequest, nullptr, 0, &type, 1, returned));
    EXPECT_EQ(type, 200);
    keyboard.setNoTypeByte(true);
    EXPECT_TRUE(keyboard.control(handle, kTypeQueryRequest, nullptr, 0, &type, 1, returned));
    EXPECT_EQ(returned, 0u);
    // No room for the answer, or a request the driver does not know: the request fails.
    EXPECT_FALSE(keyboard.control(handle, kTypeQueryRequest, nullptr, 0, nullptr, 0, returned));
    EXPECT_FALSE(keyboard.control(handle, 0x222808, nullptr, 0, &type, 1, returned));
    EXPECT_EQ(keyboard.stats().typeQueries, 4);
    keyboard.close(handle);
    EXPECT_FALSE(SendByte(keyboard, handle, 1)) << "a closed handle takes nothing";
}

TEST(SimulatedKeyboard, RefusesTheNthByteOfEveryHandle) {
    SimulatedKeyboard keyboard;
    keyboard.setRefuseByte(3);
    for (int round = 0; round < 2; ++round) {
        const int handle = keyboard.open();
        EXPECT_TRUE(SendByte(keyboard, handle, 1));
        EXPECT_TRUE(SendByte(keyboard, handle, 2));
        EXPECT_FALSE(SendByte(keyboard, handle, 3));
        EXPECT_TRUE(SendByte(keyboard, handle, 4));
        const SimulatedKeyboard::HandleSummary summary = keyboard.close(handle);
        EXPECT_EQ(summary.bytes, (std::vector<std::uint8_t>{1, 2, 4}));
        EXPECT_FALSE(summary.completeTransfer());
    }
    const SimulatedKeyboard::Stats stats = keyboard.stats();
    EXPECT_EQ(stats.opens, 2);
    EXPECT_EQ(stats.openHandles, 0);
    EXPECT_EQ(stats.bytes, 6);
    EXPECT_EQ(stats.refused, 2);
    EXPECT_EQ(stats.gaps, 4) << "gaps are counted within a handle only";
    EXPECT_EQ(keyboard.receivedBytes(), (std::vector<std::uint8_t>{1, 2, 4, 1, 2, 4}));
}

TEST(SimulatedKeyboard, OneHandleAtATime) {
    SimulatedKeyboard keyboard;
    const int first = keyboard.open();
    ASSERT_NE(first, 0);
    EXPECT_EQ(keyboard.open(0), 0) << "a second handle while one is open";
    EXPECT_EQ(keyboard.type(), 2) << "nor does the refused open set the type";
    EXPECT_TRUE(SendByte(keyboard, first, 7));
    keyboard.close(first);
    const int second = keyboard.open(1);
    EXPECT_NE(second, 0);
    EXPECT_EQ(keyboard.type(), 1);
    keyboard.close(second);
    EXPECT_EQ(keyboard.stats().opens, 2);
    EXPECT_EQ(keyboard.stats().busyOpens, 1);
    EXPECT_EQ(keyboard.receivedBytes(), (std::vector<std::uint8_t>{7}));
}

TEST(SimulatedKeyboard, StatsJsonHasEveryCounter) {
    SimulatedKeyboard keyboard;
    const int handle = keyboard.open();
    SendByte(keyboard, handle, 1);
    keyboard.close(handle);
    EXPECT_EQ(keyboard.statsJson(), "{\"opens\": 1, \"type_queries\": 0, \"bytes\": 1, "
                                    "\"refused\": 0, \"min_gap_ms\": 0.000, "
                                    "\"mean_gap_ms\": 0.000}\n");
}

TEST(SimulatedKeyboard, ResetForgetsEverything) {
    SimulatedKeyboard keyboard;
    keyboard.setType(0);
    keyboard.setRefuseByte(1);
    const int handle = keyboard.open();
    SendByte(keyboard, handle, 1);
    keyboard.close(handle);
    keyboard.reset();
    EXPECT_EQ(keyboard.type(), 2);
    EXPECT_EQ(keyboard.stats().opens, 0);
    EXPECT_TRUE(keyboard.receivedBytes().empty());
    const int again = keyboard.open();
    EXPECT_TRUE(SendByte(keyboard, again, 1));
    keyboard.close(again);
}

// What describeImage says about an image in keyboard order, line by line.
std::string Describe(int layoutCode, int type) {
    return SimulatedKeyboard::describeImage(ExpectedImage(SampleLayout(layoutCode), true), type);
}

TEST(SimulatedKeyboard, Describes113ImageInKeyOrder) {
    const std::string text = Describe(113, 2);
    EXPECT_NE(text.find("Image: 2022 bytes received, 2022 expected by a type 2 keyboard"),
              std::string::npos);
    EXPECT_NE(text.find("Layout: 16scan, 112 keys"), std::string::npos);
    EXPECT_NE(text.find("Settings: key delay 2, typematic rate 11, keys type 0 (Make-Break), "
                        "key beep 0."),
              std::string::npos);
    EXPECT_NE(text.find("RFID: flags 144 (digits count 9, digits number on, prefix extended 0, "
                        "suffix extended 0), prefix 0, suffix 0."),
              std::string::npos);
    EXPECT_NE(text.find("Keys pause: 3."), std::string::npos);
    // The halves are put back: key 1 comes first, key 57 after key 56.
    const std::size_t key1 =
        text.find("Key 1: flags 2 (single, Mode 1), group number 0, codes 28, 50\n");
    const std::size_t key9 =
        text.find("Key 9: flags 1 (group, Mode 1), group number 1, codes 28\n");
    const std::size_t key56 = text.find("Key 56: flags 10 (single, Mode 3)");
    const std::size_t key57 =
        text.find("Key 57: flags 2 (single, Mode 1), group number 0, codes 69, 22\n");
    ASSERT_NE(key1, std::string::npos) << text;
    ASSERT_NE(key9, std::string::npos) << text;
    ASSERT_NE(key56, std::string::npos) << text;
    ASSERT_NE(key57, std::string::npos) << text;
    EXPECT_LT(key1, key9);
    EXPECT_LT(key9, key56);
    EXPECT_LT(key56, key57);
    EXPECT_NE(text.find("7 programmed keys."), std::string::npos);
}

TEST(SimulatedKeyboard, Tells450ImagesApart) {
    const std::string text112 = Describe(112, 0);
    EXPECT_NE(text112.find("Layout: 7/3scan, 112 keys, 4-byte key slots."), std::string::npos);
    EXPECT_NE(text112.find("Key 57: flags 2 (single, Mode 1), codes 69, 22\n"), std::string::npos);
    EXPECT_NE(text112.find("Key 112: flags 14 (single, mode bits 3), codes 21, 22, 23\n"),
              std::string::npos);
    const std::string text56 = Describe(56, 0);
    EXPECT_NE(text56.find("Layout: 7/3scan, 56 keys, 8-byte key slots."), std::string::npos);
    EXPECT_NE(text56.find("Key 56: flags 10 (single, Mode 3), codes 21, 22, 23, 24, 25, 26, 27\n"),
              std::string::npos);
}

TEST(SimulatedKeyboard, DescribesMismatchAndPartialImages) {
    EXPECT_NE(Describe(57, 2).find("Image: 1014 bytes received, 2022 expected by a type 2"),
              std::string::npos);
    EXPECT_NE(Describe(57, 7).find("type 7 is no ZR-4700 type"), std::string::npos);
    const std::string partial = SimulatedKeyboard::describeImage({1, 2, 3}, 2);
    EXPECT_NE(partial.find("Not a whole image"), std::string::npos);
    EXPECT_NE(SimulatedKeyboard::describeImage(std::vector<std::uint8_t>(1014, 0), 1)
                  .find("No programmed key."),
              std::string::npos);
}

} // namespace
} // namespace zr4700
