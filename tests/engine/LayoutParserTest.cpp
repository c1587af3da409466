#include "engine/LayoutParser.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace zr4700 {
namespace {

using test::BuildLayoutText;
using test::ExpectedImage;
using test::SampleLayout;

const std::string kHeader7 = "56; 0; 0; 2; 11\r\n";
const std::string kHeader112 = "112; 0; 0; 2; 11\r\n";
const std::string kHeader16 = "57; 0; 0; 2; 11; 144; 0; 0; 3\r\n";
const std::string kHeader113 = "113; 0; 0; 2; 11; 144; 0; 0; 3\r\n";
const std::string kZeros16 = "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0";
const std::string kLine5 = "5; 28, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;KEY5\r\n";

struct ParseCase {
    const char* name;
    std::string text;
    bool ok;
    friend void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.name; }
};

class ParserCases : public testing::TestWithParam<ParseCase> {};

TEST_P(ParserCases, AcceptsOrRejects) {
    TransferImage image;
    int size = -1;
    std::uint8_t code = 0;
    const int result = ParseLayoutFile(GetParam().text, image, size, code);
    if (GetParam().ok) {
        EXPECT_EQ(result, 0);
    } else {
        EXPECT_LT(result, 0);
    }
    // Whatever happened, the image is exactly as large as its size says.
    EXPECT_EQ(static_cast<int>(image.size()), size);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParserCases,
    testing::Values(
        // Headers.
        ParseCase{"HeaderOnly56", kHeader7, true}, ParseCase{"HeaderOnly57", kHeader16, true},
        ParseCase{"HeaderOnly112", kHeader112, true}, ParseCase{"HeaderOnly113", kHeader113, true},
        ParseCase{"HeaderCode0", "0; 0; 0; 2; 11\r\n", false},
        ParseCase{"HeaderCode58", "58; 0; 0; 2; 11; 144; 0; 0; 3\r\n", false},
        ParseCase{"HeaderCode300", "300; 0; 0; 2; 11\r\n", false},
        ParseCase{"KeysType2", "56; 2; 0; 2; 11\r\n", false},
        ParseCase{"KeyBeep2", "56; 0; 2; 2; 11\r\n", false},
        ParseCase{"KeyDelay7", "56; 0; 0; 7; 11\r\n", false},
        ParseCase{"TypematicRate40", "56; 0; 0; 2; 40\r\n", false},
        ParseCase{"HighestSettings", "56; 1; 1; 3; 31\r\n", true},
        ParseCase{"Header7WithScan16Tail", "56; 0; 0; 2; 11; 144; 0; 0; 3\r\n", false},
        ParseCase{"Header16WithoutTail", "57; 0; 0; 2; 11\r\n", false},
        ParseCase{"Header16ShortTail", "57; 0; 0; 2; 11; 144; 0; 0\r\n", false},
        ParseCase{"TailValueTooLarge", "57; 0; 0; 2; 11; 144; 0; 256; 3\r\n", false},
        ParseCase{"NoSeparatorAfterCode", "57 0; 0; 2; 11; 144; 0; 0; 3\r\n", false},
        ParseCase{"HeaderWithoutLineBreak", "56; 0; 0; 2; 11", false},
        ParseCase{"EmptyFile", "", false},
        // Key lines.
        ParseCase{"KeyLine", kHeader16 + kLine5, true},
        ParseCase{"LastLineWithoutLineBreak",
                  kHeader16 + "5; 28, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;KEY5",
                  true},
        ParseCase{"TrailingEmptyLine", kHeader16 + kLine5 + "\r\n", false},
        ParseCase{"EmptyLineBetweenKeys", kHeader16 + "\r\n" + kLine5, false},
        ParseCase{"Code256", kHeader16 + "5; 256, " + kZeros16.substr(3) + "; 2;0;K\r\n", false},
        ParseCase{"CodeMinus1", kHeader16 + "5; -1, " + kZeros16.substr(3) + "; 2;0;K\r\n", false},
        ParseCase{"Flags256", kHeader16 + "5; " + kZeros16 + "; 256;0;K\r\n", false},
        ParseCase{"GroupNumber300", kHeader16 + "5; " + kZeros16 + "; 2;300;K\r\n", false},
        ParseCase{"KeyNumber300", kHeader16 + "300; " + kZeros16 + "; 2;0;K\r\n", false},
        ParseCase{"KeyNumber0", kHeader16 + "0; " + kZeros16 + "; 2;0;K\r\n", false},
        ParseCase{"KeyNumber0In7Scan", kHeader7 + "0; 1, 2, 3, 4, 5, 6, 7; 2;K\r\n", false},
        ParseCase{"TooFewCodes", kHeader16 + "5; 28, 50; 2;0;KEY5\r\n", false},
        ParseCase{"NoNameNoSeparator", kHeader16 + "5; " + kZeros16 + "; 2;0\r\n", false},
        ParseCase{"LineStartsWithALetter", kHeader16 + "K5; " + kZeros16 + "; 2;0;K\r\n", false},
        ParseCase{"NameWithCommaAndSemicolon", kHeader16 + "5; " + kZeros16 + "; 2;0;a,b;c\r\n",
                  true},
        ParseCase{"NameOfDigits", kHeader16 + "5; " + kZeros16 + "; 2;0;999999\r\n", true},
        ParseCase{"KeyPastCountIsSkipped", kHeader16 + "57; garbage -1 999\r\n" + kLine5, true},
        ParseCase{"KeyPastCountNeedsItsSeparator", kHeader16 + "57 1, 2\r\n", false},
        ParseCase{"KeyPastCountAtTheEnd", kHeader16 + "200; x", true},
        ParseCase{"Line112WithSevenCodes", kHeader112 + "1; 1, 2, 3, 4, 5, 6, 7; 2;K\r\n", true},
        ParseCase{"Line112WithThreeCodes", kHeader112 + "1; 1, 2, 3; 2;K\r\n", false}),
    [](const testing::TestParamInfo<ParseCase>& caseInfo) { return caseInfo.param.name; });

// Where and why a broken file fails: the first token that does not fit.
TEST(LayoutParser, FailureTellsLineColumnAndReason) {
    struct Case {
        std::string text;
        int line;
        int column;
        std::string reason;
    };
    const std::string line4 = "4; 0, 0, 0, 256";
    const Case cases[] = {
        {"58; 0; 0; 2; 11\r\n", 1, 1, "layout code 58 is none of 56, 57, 112, 113"},
        {"300; 0; 0; 2; 11\r\n", 1, 1, "layout code 300 is none of 56, 57, 112, 113"},
        {"x\r\n", 1, 1, "expected the layout code, found 'x'"},
        {"", 1, 1, "expected the layout code, found the end of the file"},
        {"56; 0; 0; 7; 11\r\n", 1, 11, "keys delay 7 is above 3"},
        {"56; 0; 0; 2; 40\r\n", 1, 14, "typematic rate 40 is above 31"},
        {"56; 0; 0; 2; 11; 144\r\n", 1, 16,
         "expected the end of a 7/3scan header after the typematic rate, found a separator"},
        {"57; 0; 0; 2; 11; 144; 0; 0\r\n", 1, 27,
         "expected ',' or ';' after the RFID suffix, found the end of the line"},
        {kHeader16 + kLine5 + "5; 28, 256", 3, 8, "code 256 is above 255"},
        {kHeader16 + "\xEF\xBB\xBF", 2, 1, "expected a key number, found the byte 0xEF"},
        {"\xEF\xBB\xBF" + kHeader16 + line4, 2, 13, "code 256 is above 255"},
        {kHeader16 + "0; " + kZeros16 + "; 2;0;K\r\n", 2, 1, "key number 0 is outside 1..112"},
        {kHeader16 + kLine5 + "\r\n", 3, 1, "expected a key number, found the end of the line"},
        {kHeader16 + "5; 28, -1", 2, 8, "expected code 2 of key 5, found '-'"},
        {kHeader16 + "5; " + kZeros16 + "; 2\r\n", 2, 53,
         "expected ',' or ';' after the flag number of key 5, found the end of the line"},
        {kHeader7 + "5; 28, 50, 0, 0, 0, 0, 0; 300;KEY5\r\n", 2, 27,
         "flag number 300 is above 255"},
        // The end of a line is where an editor shows it, whatever ends the line.
        {"57; 0; 0; 2; 11; 144; 0; 0 \r\n", 1, 28,
         "expected ',' or ';' after the RFID suffix, found the end of the line"},
        {"57; 0; 0; 2; 11; 144; 0; 0\n", 1, 27,
         "expected ',' or ';' after the RFID suffix, found the end of the line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TransferImage image;
        int size = 0;
        std::uint8_t code = 0;
        ParseFailure failure;
        EXPECT_LT(ParseLayoutFile(c.text, image, size, code, &failure), 0);
        EXPECT_EQ(failure.line, c.line);
        EXPECT_EQ(failure.column, c.column);
        EXPECT_EQ(failure.reason, c.reason);
    }
    // A file that parses leaves nothing behind.
    TransferImage image;
    int size = 0;
    std::uint8_t code = 0;
    ParseFailure failure{1, 1, "old"};
    EXPECT_EQ(ParseLayoutFile(kHeader16 + kLine5, image, size, code, &failure), 0);
    EXPECT_EQ(failure.reason, "");
}

TEST(LayoutParser, RejectedHeaderCodeAllocatesNothing) {
    TransferImage image{1, 2, 3};
    int size = 7;
    std::uint8_t code = 0;
    EXPECT_LT(ParseLayoutFile(std::string("58; 0; 0; 2; 11\r\n"), image, size, code), 0);
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(size, 0);
    EXPECT_EQ(code, 58);
}

TEST(LayoutParser, HeaderStartingWithALetterGivesNoLayoutCode) {
    // 'p' is 112 as a byte: taken for a code, it would pass for a 7/3scan header.
    TransferImage image;
    int size = 0;
    std::uint8_t code = 9;
    EXPECT_LT(ParseLayoutFile(std::string("p; 0; 0; 2; 11\r\n"), image, size, code), 0);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(image.empty());
}

class ParserVariants : public testing::TestWithParam<int> {};

TEST_P(ParserVariants, DataFileGivesTheImageSlotBySlot) {
    const int layoutCode = GetParam();
    const std::string text = test::ReadFileBytes(std::string(ZR4700_TEST_DATA) + "/layout-" +
                                                 std::to_string(layoutCode) + ".txt");
    ASSERT_EQ(text, BuildLayoutText(SampleLayout(layoutCode)));
    TransferImage image;
    int size = 0;
    std::uint8_t code = 0;
    ASSERT_EQ(ParseLayoutFile(text, image, size, code), 0);
    EXPECT_EQ(code, layoutCode);
    EXPECT_EQ(size, GeometryOfLayoutCode(layoutCode)->imageSize);
    EXPECT_EQ(image, ExpectedImage(SampleLayout(layoutCode), false));
}

TEST_P(ParserVariants, StreamAndMemoryAgree) {
    const std::string path =
        std::string(ZR4700_TEST_DATA) + "/layout-" + std::to_string(GetParam()) + ".txt";
    std::FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    TransferImage fromFile, fromMemory;
    int size = 0;
    std::uint8_t code = 0;
    EXPECT_EQ(ParseLayoutFile(file, fromFile, size, code), 0);
    std::fclose(file);
    EXPECT_EQ(ParseLayoutFile(test::ReadFileBytes(path), fromMemory, size, code), 0);
    EXPECT_EQ(fromFile, fromMemory);
}

INSTANTIATE_TEST_SUITE_P(AllHeaderCodes, ParserVariants, testing::Values(56, 57, 112, 113));

// A stream of a layout file whose reads fail (EIO) once failAfter bytes were read.
struct FailingRead {
    std::string bytes;
    std::size_t failAfter;
    std::size_t position = 0;
};

std::FILE* OpenFailingStream(FailingRead& state) {
    cookie_io_functions_t functions{};
    functions.read = [](void* cookie, char* buffer, std::size_t size) -> ssize_t {
        auto& read = *static_cast<FailingRead*>(cookie);
        if (read.position >= read.failAfter) {
            errno = EIO;
            return -1;
        }
        const std::size_t n =
            std::min({size, read.failAfter - read.position, read.bytes.size() - read.position});
        std::memcpy(buffer, read.bytes.data() + read.position, n);
        read.position += n;
        return static_cast<ssize_t>(n);
    };
    return ::fopencookie(&state, "r", functions);
}

class ParserReadFailure : public testing::TestWithParam<std::size_t> {};

// Cut anywhere (before the header, inside it, at a line end, in the last line), the bytes read
// parse as a layout or not, but a failed read is never taken for the end of the file.
TEST_P(ParserReadFailure, IsNeverTheEndOfTheFile) {
    const std::string text = BuildLayoutText(SampleLayout(113));
    const std::size_t failAfter = std::min(GetParam(), text.size() - 1);
    FailingRead state{text, failAfter};
    std::FILE* stream = OpenFailingStream(state);
    ASSERT_NE(stream, nullptr);
    TransferImage image;
    int size = -1;
    std::uint8_t code = 0;
    EXPECT_EQ(ParseLayoutFile(stream, image, size, code), kLayoutReadFailed);
    std::fclose(stream);
}

INSTANTIATE_TEST_SUITE_P(Offsets, ParserReadFailure,
                         testing::Values(0, 5, 33, 33 + 10 * 66, 3000, 1u << 20));

TEST(LayoutParser, ByteOrderMarkInFrontChangesNothing) {
    const std::string text = BuildLayoutText(SampleLayout(57));
    TransferImage plain, marked;
    int size = 0;
    std::uint8_t code = 0;
    ASSERT_EQ(ParseLayoutFile(text, plain, size, code), 0);
    ASSERT_EQ(ParseLayoutFile("\xEF\xBB\xBF" + text, marked, size, code), 0);
    EXPECT_EQ(code, 57);
    EXPECT_EQ(marked, plain);
    EXPECT_LT(ParseLayoutFile("\xEF\xBB" + text, marked, size, code), 0);
}

TEST(LayoutParser, Line112KeepsThreeCodesAndTakesFlagsAfterTheSeventh) {
    TransferImage image;
    int size = 0;
    std::uint8_t code = 0;
    ASSERT_EQ(
        ParseLayoutFile(kHeader112 + "2; 10, 20, 30, 40, 50, 60, 70; 5;K\r\n", image, size, code),
        0);
    const TransferImage slot2(image.begin() + 4, image.begin() + 8);
    EXPECT_EQ(slot2, (TransferImage{5, 10, 20, 30}));
    // Codes 4..7 go nowhere: the neighbouring slots stay zero.
    EXPECT_EQ(image[3], 0);
    EXPECT_EQ(image[8], 0);
}

TEST(LayoutParser, TrailerPacksTheHeader) {
    TransferImage image;
    int size = 0;
    std::uint8_t code = 0;
    ASSERT_EQ(
        ParseLayoutFile(std::string("113; 1; 1; 3; 31; 255; 224; 240; 1\r\n"), image, size, code),
        0);
    EXPECT_EQ(TransferImage(image.end() - 6, image.end()),
              (TransferImage{3 * 32 + 31, 3, 255, 224, 240, 1}));
    ASSERT_EQ(ParseLayoutFile(std::string("56; 1; 0; 1; 5\r\n"), image, size, code), 0);
    EXPECT_EQ(image[448], 32 + 5);
    EXPECT_EQ(image[449], 2);
}

TEST(LayoutParser, KeyPastTheCountLeavesTheImageAlone) {
    TransferImage withLine, without;
    int size = 0;
    std::uint8_t code = 0;
    ASSERT_EQ(ParseLayoutFile(kHeader7 + "57; 9, 9, 9, 9, 9, 9, 9; 9;K\r\n", withLine, size, code),
              0);
    ASSERT_EQ(ParseLayoutFile(kHeader7, without, size, code), 0);
    EXPECT_EQ(withLine, without);
}

TEST(LayoutParser, FewKeysLeaveTheOtherSlotsZero) {
    test::LayoutSpec spec;
    spec.layoutCode = 113;
    spec.keysType = 1;
    spec.keys[1] = {{1}, 2, 0, ""};
    spec.keys[2] = {{2}, 2, 0, ""};
    spec.keys[3] = {{3}, 2, 0, ""};
    std::string text = kHeader113;
    text.replace(5, 1, "1"); // keysType 1
    for (int k = 1; k <= 3; ++k) {
        text += std::to_string(k) + "; " + std::to_string(k) + kZeros16.substr(1) + "; 2;0;K\r\n";
    }
    TransferImage image;
    int size = 0;
    std::uint8_t code = 0;
    ASSERT_EQ(ParseLayoutFile(text, image, size, code), 0);
    TransferImage expected = ExpectedImage(spec, false);
    // Keys without a line keep zero slots, not the blank key's flags.
    for (int k = 4; k <= 112; ++k) {
        expected[static_cast<std::size_t>((k - 1) * 18)] = 0;
    }
    EXPECT_EQ(image, expected);
}

TEST(LayoutParser, BundledExampleIsAWellFormedLayoutFile) {
    const std::string text = test::ReadFileBytes(std::string(ZR4700_SOURCE_DIR) +
                                                 "/resources/examples/example-16scan-56.txt");
    EXPECT_EQ(text, BuildLayoutText(test::ExampleLayout()));
    int lines = 0;
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
        ASSERT_GT(lf, start);
        EXPECT_EQ(text[lf - 1], '\r') << "line " << lines + 1;
        EXPECT_LE(lf + 1 - start, 200u) << "line " << lines + 1;
        ++lines;
        start = lf + 1;
    }
    EXPECT_EQ(start, text.size()) << "the last line ends with CR LF";
    EXPECT_EQ(lines, 113);
    TransferImage image;
    int size = 0;
    std::uint8_t code = 0;
    EXPECT_EQ(ParseLayoutFile(text, image, size, code), 0);
    EXPECT_EQ(code, 57);
}

} // namespace
} // namespace zr4700
