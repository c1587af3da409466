// What the programmer says about the keyboard's answer to the type query.
#include "core/files/KeyboardQuery.h"

#include "engine/EngineResults.h"
#include "engine/SimulatedKeyboard.h"
#include "support/StringTableTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zr4700 {
namespace {

using testing::StringTableTexts;

TEST(KeyboardQuery, ExplainsEveryFailedQuery) {
    struct Case {
        const char* name;
        KeyboardDetection found;
        int engineResult;
        const char* detail;
    };
    const Case cases[] = {
        {"a type of no known model",
         {-1, 7, "", "sim:7"},
         kResultInvalidTypeDetected,
         "sim:7: the keyboard answered 7, which is no known type."},
        {"the largest byte",
         {-1, 255, "", "\\\\.\\zr4700"},
         kResultInvalidTypeDetected,
         "\\\\.\\zr4700: the keyboard answered 255, which is no known type."},
        {"no answer",
         {-3, -1, "", "unix:/tmp/s"},
         kResultDetectingError,
         "unix:/tmp/s: the keyboard did not answer the type query."},
        {"no device",
         {-2, -1, "/dev/zr4700: No such file or directory", "/dev/zr4700"},
         kResultDriverError,
         "/dev/zr4700: No such file or directory"},
    };
    const StringTableTexts texts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DetectionNotice notice = DescribeDetection(c.found, texts);
        EXPECT_TRUE(notice.failed);
        EXPECT_EQ(notice.engineResult, c.engineResult);
        EXPECT_EQ(notice.detail, c.detail);
    }
}

TEST(KeyboardQuery, NamesTheModelFound) {
    struct Case {
        int type;
        const char* text;
        const char* detail;
    };
    const Case cases[] = {
        {0, "Keyboard found: type 0, a 7/3scan ZR-4700.",
         "It takes layouts in 7/3scan. Device: sim"},
        {1, "Keyboard found: type 1, the 56-key ZR-4700 S (SN).",
         "It takes layouts in 16scan, 56 keys. Device: sim"},
        {2, "Keyboard found: type 2, the 112-key ZR-4700 D.",
         "It takes layouts in 16scan, 112 keys. Device: sim"},
    };
    const StringTableTexts texts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const DetectionNotice notice = DescribeDetection({c.type, c.type, "", "sim"}, texts);
        EXPECT_FALSE(notice.failed);
        EXPECT_EQ(notice.caption, "Detect keyboard");
        EXPECT_EQ(notice.text, c.text);
        EXPECT_EQ(notice.detail, c.detail);
    }
}

TEST(KeyboardQuery, KeepsTheTypeTheKeyboardAnswered) {
    setenv("ZR4700_DEVICE", "sim:7", 1);
    const KeyboardDetection found = QueryKeyboard();
    setenv("ZR4700_DEVICE", "sim", 1);
    InProcessKeyboard().reset();
    EXPECT_EQ(found.result, -1);
    EXPECT_EQ(found.typeReply, 7);
    EXPECT_EQ(found.address, "sim:7");
    EXPECT_EQ(DetectionFailureDetail(found, StringTableTexts()),
              "sim:7: the keyboard answered 7, which is no known type.");
}

} // namespace
} // namespace zr4700
