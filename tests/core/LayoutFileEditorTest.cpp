// The editor's layout file writer and reader: exact bytes of every variant, the reader's
// corrections and stopping rule, inputs outside the format, and the atomic save.

#include "core/files/LayoutFileEditor.h"
#include "engine/Engine.h"
#include "engine/EngineResults.h"

#include "core/LayoutFileTestSupport.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#if defined(__unix__)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zr4700 {
namespace {

using testing::CrLfLines;
using testing::ReadBytes;
using testing::ScriptedPrompts;
using testing::TemporaryDirectory;
using testing::WriteBytes;
namespace fs = std::filesystem;

std::unique_ptr<Layout> FreshLayout(int keyCount = 56) {
    auto layout = std::make_unique<Layout>();
    layout->keyCount = keyCount;
    return layout;
}

void SetKey(Layout& layout, int k, std::vector<int> codes, uint8_t flags, int groupNumber,
            std::string name) {
    KeyRecord& record = layout.key(k);
    record.codes = {};
    for (std::size_t i = 0; i < codes.size(); ++i)
        record.codes[i] = codes[i];
    record.flags = flags;
    record.groupNumber = groupNumber;
    record.name = std::move(name);
}

// The key records, in one comparable text.
std::string RecordsSnapshot(const Layout& layout) {
    std::string out;
    for (const KeyRecord& record : layout.keyTable) {
        out += std::to_string(record.number) + ":";
        for (int code : record.codes)
            out += std::to_string(code) + ",";
        out += std::to_string(record.flags) + ":" + std::to_string(record.groupNumber) + ":" +
               record.name + "\n";
    }
    return out;
}

// Everything the reader may change, in one comparable text.
std::string Snapshot(const Layout& layout) {
    std::string out = std::to_string(layout.keyCount) + "|" + std::to_string(layout.scan16Mode) +
                      "|" + std::to_string(layout.fileIsScan16) + "|" + layout.fileName + "\n";
    const KeyboardSettings& s = layout.settings;
    const RfidSettings& r = layout.rfid;
    for (int value :
         {s.keysType, s.keyBeep, s.keyDelay, s.typematicRate, s.keysPause, int{r.prefix},
          r.prefixExtended, int{r.digitsCount}, int{r.suffix}, r.suffixExtended, r.digitsNum})
        out += std::to_string(value) + ",";
    return out + "\n" + RecordsSnapshot(layout);
}

std::string Zeros(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += i == 0 ? "0" : ", 0";
    return out;
}

// ---- Writer ----------------------------------------------------------------------------------

TEST(LayoutFileWriter, NewLayoutIn16ScanMatchesTheFormatExample) {
    auto layout = FreshLayout();
    SetKey(*layout, 5, {28, 50}, 2, 0, "KEY5");
    const auto lines = CrLfLines(LayoutFileText(*layout, FileVariant::Scan16));
    ASSERT_EQ(lines.size(), 113u);
    EXPECT_EQ(lines[0], "57; 0; 0; 2; 11; 144; 0; 0; 3");
    EXPECT_EQ(lines[5], "5; 28, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;KEY5");
    EXPECT_EQ(lines[1], "1; 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;KEY1");
    EXPECT_EQ(lines[112], "112; 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;KEY112");
}

TEST(LayoutFileWriter, NewLayoutIn7ScanIsExactlyHeaderAnd112BlankLines) {
    auto layout = FreshLayout();
    SetKey(*layout, 5, {28, 50}, 2, 0, "KEY5");
    std::string expected = "56; 0; 0; 2; 11\r\n";
    for (int k = 1; k <= 112; ++k) {
        if (k == 5)
            expected += "5; 28, 50, 0, 0, 0, 0, 0; 2;KEY5\r\n";
        else
            expected +=
                std::to_string(k) + "; " + Zeros(7) + "; 2;KEY" + std::to_string(k) + "\r\n";
    }
    EXPECT_EQ(LayoutFileText(*layout, FileVariant::Scan7), expected);
}

TEST(LayoutFileWriter, VariantZeroAndUnknownVariantsWriteWhat16ScanWrites) {
    std::mt19937 random(7);
    for (int keyCount : {56, 112}) {
        auto layout = testing::RandomLayout(random, keyCount);
        const std::string text = LayoutFileText(*layout, FileVariant::Scan16);
        EXPECT_EQ(LayoutFileText(*layout, FileVariant::Save), text);
        EXPECT_EQ(LayoutFileText(*layout, static_cast<FileVariant>(5)), text);
        EXPECT_EQ(LayoutFileText(*layout, static_cast<FileVariant>(-1)), text);
    }
}

struct HeaderCase {
    int keyCount;
    int variant;
    const char* header;
};

TEST(LayoutFileWriter, HeaderOfEveryVariantAndKeyCount) {
    const HeaderCase cases[] = {
        {56, 0, "57; 1; 1; 3; 31; 213; 224; 13; 255"},
        {56, 1, "56; 1; 1; 3; 31"},
        {56, 2, "57; 1; 1; 3; 31; 213; 224; 13; 255"},
        {56, 3, "57; 1; 1; 3; 31; 213; 224; 13; 255"},
        {56, 4, "57; 1; 1; 3; 31; 213; 224; 13; 255"},
        {112, 0, "113; 1; 1; 3; 31; 213; 224; 13; 255"},
        {112, 1, "112; 1; 1; 3; 31"},
        {112, 2, "113; 1; 1; 3; 31; 213; 224; 13; 255"},
        {112, 3, "57; 1; 1; 3; 31; 213; 224; 13; 255"},
        {112, 4, "57; 1; 1; 3; 31; 213; 224; 13; 255"},
    };
    for (const HeaderCase& c : cases) {
        auto layout = FreshLayout(c.keyCount);
        layout->settings = {1, 1, 3, 31, 255};
        layout->rfid.prefix = 224;
        layout->rfid.prefixExtended = 1;
        layout->rfid.suffix = 13;
        layout->rfid.suffixExtended = 0;
        layout->rfid.digitsNum = 0;
        layout->rfid.digitsCount = 13;
        const auto lines = CrLfLines(LayoutFileText(*layout, static_cast<FileVariant>(c.variant)));
        ASSERT_EQ(lines.size(), 113u);
        EXPECT_EQ(lines[0], c.header) << "keys " << c.keyCount << " variant " << c.variant;
    }
}

struct RfidCase {
    int prefixExtended;
    int suffixExtended;
    int digitsNum;
    int digitsCount;
    int rfidFlags;
};

TEST(LayoutFileWriter, RfidFlagsPacking) {
    const RfidCase cases[] = {
        {0, 0, 1, 9, 144},  {1, 0, 1, 9, 145},    {0, 1, 1, 9, 146}, {0, 0, 0, 9, 148},
        {1, 1, 0, 13, 215}, {0, 0, 1, 0, 0},      {0, 0, 0, 0, 4},   {0, 0, 1, 1, 16},
        {1, 1, 1, 15, 243}, {0, 0, 1, 0x1F, 240}, // only the low four bits of the count
    };
    for (const RfidCase& c : cases) {
        auto layout = FreshLayout();
        layout->rfid.prefixExtended = c.prefixExtended;
        layout->rfid.suffixExtended = c.suffixExtended;
        layout->rfid.digitsNum = c.digitsNum;
        layout->rfid.digitsCount = static_cast<uint8_t>(c.digitsCount);
        const auto lines = CrLfLines(LayoutFileText(*layout, FileVariant::Scan16));
        EXPECT_EQ(lines[0], "57; 0; 0; 2; 11; " + std::to_string(c.rfidFlags) + "; 0; 0; 3");
    }
}

struct KeyLineCase {
    const char* what;
    std::vector<int> codes;
    uint8_t flags;
    int groupNumber;
    std::string name;
    const char* line16;
    const char* line7;
};

TEST(LayoutFileWriter, KeyLines) {
    const KeyLineCase cases[] = {
        {"flags keep their low four bits",
         {1},
         0xF5,
         0,
         "F",
         "9; 1, 0, 0, 0, 0, 0, 0, 0, 0, "
         "0, 0, 0, 0, 0, 0, 0; 5;0;F",
         "9; 1, 0, 0, 0, 0, 0, 0; 5;F"},
        {"separators in a name are written whole",
         {0xE0, 0x70},
         0x03,
         17,
         "a;b,c",
         "9; 224, 112, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 3;17;a;b,c",
         "9; 224, 112, 0, 0, 0, 0, 0; 3;a;b,c"},
        {"all sixteen codes",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         0x0C,
         255,
         "x",
         "9; 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16; 12;255;x",
         "9; 1, 2, 3, 4, 5, 6, 7; 12;x"},
        {"empty name",
         {},
         0x00,
         0,
         "",
         "9; "
         "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 0;0;",
         "9; 0, 0, 0, 0, 0, 0, 0; 0;"},
        {"a line break ends a name",
         {},
         0x02,
         0,
         "ab\r\n9; 1",
         "9; 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;ab",
         "9; 0, 0, 0, 0, 0, 0, 0; 2;ab"},
        {"a NUL ends a name",
         {},
         0x02,
         0,
         std::string("ab\0cd", 5),
         "9; 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;ab",
         "9; 0, 0, 0, 0, 0, 0, 0; 2;ab"},
    };
    for (const KeyLineCase& c : cases) {
        auto layout = FreshLayout();
        SetKey(*layout, 9, c.codes, c.flags, c.groupNumber, c.name);
        EXPECT_EQ(CrLfLines(LayoutFileText(*layout, FileVariant::Scan16))[9], c.line16) << c.what;
        EXPECT_EQ(CrLfLines(LayoutFileText(*layout, FileVariant::Scan7))[9], c.line7) << c.what;
    }
}

TEST(LayoutFileWriter, LongestLineIs196BytesAndNamesAreCutTo102) {
    auto layout = FreshLayout(112);
    SetKey(*layout, 112, std::vector<int>(16, 255), 0xFF, 255, std::string(120, 'n'));
    const std::string text = LayoutFileText(*layout, FileVariant::Scan16);
    const std::string expected = "112; " +
                                 [] {
                                     std::string codes = "255";
                                     for (int i = 1; i < 16; ++i)
                                         codes += ", 255";
                                     return codes;
                                 }() +
                                 "; 15;255;" + std::string(102, 'n') + "\r\n";
    ASSERT_EQ(expected.size(), 196u);
    ASSERT_GE(text.size(), expected.size());
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected);
}

TEST(LayoutFileWriter, RecordNumberIsTheLinePosition) {
    auto layout = FreshLayout();
    layout->key(3).number = 0; // a record that was never reset still gets its own line number
    EXPECT_EQ(CrLfLines(LayoutFileText(*layout, FileVariant::Scan16))[3].substr(0, 3), "3; ");
}

TEST(LayoutFileWriter, LeftSideWritesTheLeftBlockThenBlankForms) {
    auto layout = FreshLayout(112);
    SetKey(*layout, 1, {0x1C}, 0x07, 4, "left one");
    SetKey(*layout, 57, {0x05, 0x06}, 0x0B, 9, "right one");
    const auto lines = CrLfLines(LayoutFileText(*layout, FileVariant::LeftSide));
    ASSERT_EQ(lines.size(), 113u);
    EXPECT_EQ(lines[0], "57; 0; 0; 2; 11; 144; 0; 0; 3");
    EXPECT_EQ(lines[1], "1; 28, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 7;4;left one");
    EXPECT_EQ(lines[2], "2; " + Zeros(16) + "; 2;0;KEY2");
    for (int k = 57; k <= 112; ++k)
        EXPECT_EQ(lines[k], std::to_string(k) + "; " + Zeros(16) + "; 0;0;KEY" + std::to_string(k));
}

TEST(LayoutFileWriter, RightSideWritesTheRightBlockUnderNumbersOneTo56) {
    auto layout = FreshLayout(112);
    SetKey(*layout, 1, {0x1C}, 0x07, 4, "left one");
    SetKey(*layout, 57, {0x05, 0x06}, 0x0B, 9, "right one");
    SetKey(*layout, 112, {0x66}, 0x02, 0, "last");
    const auto lines = CrLfLines(LayoutFileText(*layout, FileVariant::RightSide));
    ASSERT_EQ(lines.size(), 113u);
    EXPECT_EQ(lines[0], "57; 0; 0; 2; 11; 144; 0; 0; 3");
    EXPECT_EQ(lines[1], "1; 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 11;9;right one");
    EXPECT_EQ(lines[2], "2; " + Zeros(16) + "; 2;0;KEY58");
    EXPECT_EQ(lines[56], "56; 102, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;last");
    for (int k = 57; k <= 112; ++k)
        EXPECT_EQ(lines[k], std::to_string(k) + "; " + Zeros(16) + "; 0;0;KEY" + std::to_string(k));
}

TEST(LayoutFileWriter, SixteenScanOf56KeysStillWritesRecords57To112) {
    auto layout = FreshLayout(56);
    SetKey(*layout, 80, {0x33}, 0x02, 0, "hidden");
    const auto lines = CrLfLines(LayoutFileText(*layout, FileVariant::Scan16));
    EXPECT_EQ(lines[80], "80; 51, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;0;hidden");
}

// ---- Field splitting and numbers -------------------------------------------------------------

struct FieldCase {
    std::string line;
    std::vector<std::string> fields; // then empty fields for ever
};

TEST(LayoutFileFields, NextFieldSplitsAtSemicolonsAndCommas) {
    const FieldCase cases[] = {
        {"5; 28, 50", {"5", " 28", " 50"}},
        {";;,", {"", "", ""}},
        {"", {}},
        {"a b\tc", {"a b\tc"}},
        {"12;KEY12", {"12", "KEY12"}},
        {std::string(300, 'a') + ";b", {std::string(199, 'a'), "b"}},
    };
    for (const FieldCase& c : cases) {
        FieldReader reader(c.line);
        for (const std::string& field : c.fields)
            EXPECT_EQ(reader.NextField(), field) << c.line;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(reader.NextField(), "") << c.line;
        EXPECT_EQ(reader.position(), c.line.size());
    }
}

TEST(LayoutFileFields, ResetStartsAtTheNewLine) {
    FieldReader reader("1;2;3");
    EXPECT_EQ(reader.NextField(), "1");
    reader.Reset("x,y");
    EXPECT_EQ(reader.position(), 0u);
    EXPECT_EQ(reader.NextField(), "x");
    EXPECT_EQ(reader.NextField(), "y");
    EXPECT_EQ(reader.NextField(), "");
}

TEST(LayoutFileFields, FieldNumberReadsLikeAtoi) {
    const std::pair<std::string, int32_t> cases[] = {
        {"", 0},
        {"0", 0},
        {" 28", 28},
        {"\t\r\n 7", 7},
        {"+7", 7},
        {"-1", -1},
        {"12abc", 12},
        {"KEY12", 0},
        {"- 3", 0},
        {"0x10", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999999", INT32_MIN},
        {std::string("5\0"
                     "9",
                     3),
         5},
    };
    for (const auto& [field, value] : cases)
        EXPECT_EQ(FieldNumber(field), value) << "[" << field << "]";
}

// ---- Reader ----------------------------------------------------------------------------------

std::string Line16(int k, const std::string& codes, int flags, int group, const std::string& name) {
    return std::to_string(k) + "; " + codes + "; " + std::to_string(flags) + ";" +
           std::to_string(group) + ";" + name + "\r\n";
}

const std::string kHeader57 = "57; 0; 0; 2; 11; 144; 0; 0; 3\r\n";
const std::string kCodes16 = "28, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0";

struct HeaderCodeCase {
    const char* header;
    int keyCount;
    bool scan16;
};

TEST(LayoutFileReader, HeaderCodeGivesKeyCountAndFamily) {
    const HeaderCodeCase cases[] = {
        {"56; 0; 0; 2; 11\r\n", 56, false},
        {"112; 0; 0; 2; 11\r\n", 112, false},
        {"57; 0; 0; 2; 11; 144; 0; 0; 3\r\n", 56, true},
        {"113; 0; 0; 2; 11; 144; 0; 0; 3\r\n", 112, true},
        {"0; 0; 0; 2; 11\r\n", 56, true},
        {"58; 0; 0; 2; 11\r\n", 56, true},
        {"-113; 0; 0; 2; 11\r\n", 56, true},
        {"", 56, true},
    };
    for (const HeaderCodeCase& c : cases) {
        for (int before : {56, 112}) {
            auto layout = FreshLayout(before);
            layout->scan16Mode = !c.scan16;
            layout->fileIsScan16 = c.scan16 ? 0 : 1;
            ReadLayoutText(*layout, c.header);
            EXPECT_EQ(layout->keyCount, c.keyCount) << c.header;
            EXPECT_EQ(layout->scan16Mode, c.scan16) << c.header;
            EXPECT_EQ(layout->fileIsScan16, c.scan16 ? 1 : 0) << c.header;
        }
    }
}

struct SettingsCase {
    const char* header;
    KeyboardSettings settings;
    int digitsCount, digitsNum, prefixExtended, suffixExtended, prefix, suffix;
};

TEST(LayoutFileReader, HeaderCorrections) {
    const SettingsCase cases[] = {
        {"57; 1; 1; 3; 31; 144; 0; 0; 3", {1, 1, 3, 31, 3}, 9, 1, 0, 0, 0, 0},
        {"57; 2; 2; 7; 40; 144; 0; 0; 0", {1, 1, 2, 11, 2}, 9, 1, 0, 0, 0, 0},
        {"57; -1; -1; -1; -1; 144; 0; 0; 300", {1, 1, 2, 11, 2}, 9, 1, 0, 0, 0, 0},
        {"57; 0; 0; 4; 32; 144; 0; 0; 256", {0, 0, 2, 11, 2}, 9, 1, 0, 0, 0, 0},
        {"57; 0; 0; 0; 0; 144; 0; 0; 1", {0, 0, 0, 0, 1}, 9, 1, 0, 0, 0, 0},
        {"57; 0; 0; 2; 11; 144; 0; 0; 255", {0, 0, 2, 11, 255}, 9, 1, 0, 0, 0, 0},
        {"57; 0; 0; 2; 11; 144; 0; 0; -5", {0, 0, 2, 11, 2}, 9, 1, 0, 0, 0, 0},
        // rfidFlags: count in the high nibble (at most 13), bit 2 = digits off, bits 0 and 1
        {"57; 0; 0; 2; 11; 255; 0; 0; 3", {0, 0, 2, 11, 3}, 13, 0, 1, 1, 0, 0},
        {"57; 0; 0; 2; 11; 213; 224; 13; 3", {0, 0, 2, 11, 3}, 13, 0, 1, 0, 224, 13},
        {"57; 0; 0; 2; 11; 18; 0; 0; 3", {0, 0, 2, 11, 3}, 1, 1, 0, 1, 0, 0},
        {"57; 0; 0; 2; 11; 511; 300; 257; 3", {0, 0, 2, 11, 3}, 13, 0, 1, 1, 44, 1},
        {"57; 0; 0; 2; 11; -1; -1; 0; 3", {0, 0, 2, 11, 3}, 13, 0, 1, 1, 255, 0},
        // fields missing: read as 0
        {"57; 1", {1, 0, 0, 0, 2}, 0, 1, 0, 0, 0, 0},
    };
    for (const SettingsCase& c : cases) {
        auto layout = FreshLayout();
        ReadLayoutText(*layout, std::string(c.header) + "\r\n");
        const KeyboardSettings& s = layout->settings;
        EXPECT_EQ(s.keysType, c.settings.keysType) << c.header;
        EXPECT_EQ(s.keyBeep, c.settings.keyBeep) << c.header;
        EXPECT_EQ(s.keyDelay, c.settings.keyDelay) << c.header;
        EXPECT_EQ(s.typematicRate, c.settings.typematicRate) << c.header;
        EXPECT_EQ(s.keysPause, c.settings.keysPause) << c.header;
        EXPECT_EQ(layout->rfid.digitsCount, c.digitsCount) << c.header;
        EXPECT_EQ(layout->rfid.digitsNum, c.digitsNum) << c.header;
        EXPECT_EQ(layout->rfid.prefixExtended, c.prefixExtended) << c.header;
        EXPECT_EQ(layout->rfid.suffixExtended, c.suffixExtended) << c.header;
        EXPECT_EQ(layout->rfid.prefix, c.prefix) << c.header;
        EXPECT_EQ(layout->rfid.suffix, c.suffix) << c.header;
    }
}

TEST(LayoutFileReader, SevenScanFileLeavesRfidAndPauseAlone) {
    for (const char* header : {"56; 1; 0; 3; 5\r\n", "112; 1; 0; 3; 5; 0; 0; 0; 0\r\n"}) {
        auto layout = FreshLayout();
        layout->rfid = {7, 1, 3, 9, 1, 0};
        layout->settings.keysPause = 99;
        ReadLayoutText(*layout, header);
        EXPECT_EQ(layout->settings.keysPause, 99);
        EXPECT_EQ(layout->rfid.prefix, 7);
        EXPECT_EQ(layout->rfid.prefixExtended, 1);
        EXPECT_EQ(layout->rfid.digitsCount, 3);
        EXPECT_EQ(layout->rfid.suffix, 9);
        EXPECT_EQ(layout->rfid.suffixExtended, 1);
        EXPECT_EQ(layout->rfid.digitsNum, 0);
        EXPECT_EQ(layout->settings.keysType, 1);
        EXPECT_EQ(layout->settings.keyDelay, 3);
        EXPECT_EQ(layout->settings.typematicRate, 5);
    }
}

struct CodeCase {
    const char* field;
    int32_t stored;
};

TEST(LayoutFileReader, CodesOutsideAByteReadAsZero) {
    const CodeCase cases[] = {{"255", 255},  {"256", 0},  {"-1", 0},   {"0", 0},
                              {" 224", 224}, {"abc", 0},  {"1000", 0}, {"99999999999", 0},
                              {"-255", 0},   {"12x", 12}, {"", 0}};
    for (const CodeCase& c : cases) {
        auto layout = FreshLayout();
        layout->key(4).codes.fill(77);
        ReadLayoutText(*layout, kHeader57 + "4; 9, " + c.field +
                                    ", 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9; 2;0;K\r\n");
        EXPECT_EQ(layout->key(4).codes[0], 9) << c.field;
        EXPECT_EQ(layout->key(4).codes[1], c.stored) << c.field;
        EXPECT_EQ(layout->key(4).codes[15], 9) << c.field;
    }
}

struct FlagCase {
    const char* flagField;
    uint8_t before;
    uint8_t after;
};

TEST(LayoutFileReader, FlagNumberSetsTheLowFourBitsOnly) {
    const FlagCase cases[] = {
        {"21", 0xF2, 0xF5}, // group set, single cleared, mode 1; bit 4 of the number dropped
        {"2", 0x00, 0x02},  {"0", 0x3F, 0x30}, {"15", 0x80, 0x8F},
        {"-1", 0x00, 0x0F}, {"", 0xAB, 0xA0},  {"300", 0x00, 0x0C},
    };
    for (const FlagCase& c : cases) {
        auto layout = FreshLayout();
        layout->key(1).flags = c.before;
        ReadLayoutText(*layout, kHeader57 + "1; " + kCodes16 + "; " + c.flagField + ";0;K\r\n");
        EXPECT_EQ(layout->key(1).flags, c.after) << c.flagField;
    }
    auto layout = FreshLayout();
    layout->key(1).flags = 0xF2;
    ReadLayoutText(*layout, kHeader57 + "1; " + kCodes16 + "; 21;0;K\r\n");
    EXPECT_TRUE(layout->key(1).group());
    EXPECT_FALSE(layout->key(1).single());
    EXPECT_EQ(layout->key(1).mode(), 1);
}

TEST(LayoutFileReader, NamesStopAtSeparatorsAndAreCut) {
    const std::pair<std::string, std::string> cases[] = {
        {"a,b", "a"},
        {"a;b", "a"},
        {"", ""},
        {std::string("ab\0cd", 5), "ab"},
        {std::string(102, 'q'), std::string(102, 'q')},
        {std::string(103, 'q'), std::string(102, 'q')},
    };
    for (const auto& [field, name] : cases) {
        auto layout = FreshLayout();
        ReadLayoutText(*layout, "56; 0; 0; 2; 11\r\n2; 1, 0, 0, 0, 0, 0, 0; 2;" + field + "\r\n");
        EXPECT_EQ(layout->key(2).name, name);
    }
}

TEST(LayoutFileReader, SevenScanLinesFillSevenCodesAndKeepTheRest) {
    auto layout = FreshLayout(56);
    layout->key(3).codes.fill(66);
    layout->key(3).groupNumber = 12;
    ReadLayoutText(*layout, "112; 0; 0; 2; 11\r\n3; 1, 2, 3, 4, 5, 6, 7; 6;Seven\r\n");
    EXPECT_EQ(layout->keyCount, 112);
    const KeyRecord& record = layout->key(3);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(record.codes[static_cast<std::size_t>(i)], i + 1);
    for (int i = 7; i < 16; ++i)
        EXPECT_EQ(record.codes[static_cast<std::size_t>(i)], 66);
    EXPECT_EQ(record.flags & 0x0F, 6);
    EXPECT_EQ(record.groupNumber, 12); // a 7/3scan line has no group number
    EXPECT_EQ(record.name, "Seven");
}

TEST(LayoutFileReader, LinesBeyondTheKeyCountOfA56KeyFileAreNotRead) {
    std::string text = kHeader57;
    for (int k = 1; k <= 112; ++k)
        text += Line16(k, kCodes16, 2, 0, "NEW" + std::to_string(k));
    auto layout = FreshLayout(112);
    for (int k = 1; k <= 112; ++k)
        layout->key(k).name = "OLD";
    ReadLayoutText(*layout, text);
    EXPECT_EQ(layout->keyCount, 56);
    EXPECT_EQ(layout->key(56).name, "NEW56");
    EXPECT_EQ(layout->key(57).name, "OLD");
    EXPECT_EQ(layout->key(112).name, "OLD");
}

TEST(LayoutFileReader, ReadingStopsAfterALineAtOrBeyondTheKeyCount) {
    auto layout = FreshLayout();
    ReadLayoutText(*layout, kHeader57 + Line16(1, kCodes16, 2, 0, "one") +
                                Line16(60, kCodes16, 2, 0, "sixty") +
                                Line16(2, kCodes16, 2, 0, "two"));
    EXPECT_EQ(layout->key(1).name, "one");
    EXPECT_EQ(layout->key(60).name, "sixty"); // stored in that key's record
    EXPECT_EQ(layout->key(2).name, "KEY2");

    auto full = FreshLayout();
    std::string text = "113; 0; 0; 2; 11; 144; 0; 0; 3\r\n";
    for (int k = 1; k <= 112; ++k)
        text += Line16(k, kCodes16, 2, 0, "N" + std::to_string(k));
    text += Line16(1, kCodes16, 2, 0, "again");
    ReadLayoutText(*full, text);
    EXPECT_EQ(full->key(112).name, "N112");
    EXPECT_EQ(full->key(1).name, "N1");
}

TEST(LayoutFileReader, KeyNumbersOutside1To112AreIgnored) {
    auto layout = FreshLayout();
    for (KeyRecord& record : layout->keyTable)
        record.name = "OLD";
    const std::string before = Snapshot(*layout);
    ReadLayoutText(*layout, kHeader57 + Line16(0, kCodes16, 3, 9, "zero") +
                                Line16(113, kCodes16, 3, 9, "beyond") +
                                Line16(119, kCodes16, 3, 9, "last slot") +
                                Line16(-1, kCodes16, 3, 9, "negative") + "99999999999; " +
                                kCodes16 + "; 3;9;huge\r\n" + "; 1, 2; 3;9;no number\r\n" +
                                Line16(6, kCodes16, 3, 9, "six"));
    // Only key 6 changed, and the ignored lines did not stop the reading.
    auto expected = FreshLayout();
    for (KeyRecord& record : expected->keyTable)
        record.name = "OLD";
    ReadLayoutText(*expected, kHeader57 + Line16(6, kCodes16, 3, 9, "six"));
    EXPECT_EQ(Snapshot(*layout), Snapshot(*expected));
    EXPECT_NE(Snapshot(*layout), before);
    EXPECT_EQ(layout->key(6).name, "six");
}

TEST(LayoutFileReader, MissingFieldsReadAsZeroAndNeverAsTheLineBefore) {
    auto layout = FreshLayout();
    SetKey(*layout, 3, {9, 9, 9}, 0xF7, 9, "OLD");
    ReadLayoutText(*layout, kHeader57 + "2; 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16; "
                                        "3;4;LONGNAME\r\n"
                                        "3; 28\r\n"
                                        "4\r\n");
    const KeyRecord& three = layout->key(3);
    EXPECT_EQ(three.codes, (KeyCodes{28}));
    EXPECT_EQ(three.flags, 0xF0);
    EXPECT_EQ(three.groupNumber, 0);
    EXPECT_EQ(three.name, "");
    EXPECT_EQ(layout->key(4).codes, KeyCodes{});
    EXPECT_EQ(layout->key(4).name, "");
    EXPECT_EQ(layout->key(2).name, "LONGNAME");
}

TEST(LayoutFileReader, LastLineWithoutItsLineBreakIsRead) {
    auto layout = FreshLayout();
    ReadLayoutText(*layout,
                   kHeader57 + Line16(1, kCodes16, 2, 0, "one") + "5; " + kCodes16 + "; 6;0;KEY5");
    EXPECT_EQ(layout->key(5).name, "KEY5");
    EXPECT_EQ(layout->key(5).codes[1], 50);
    EXPECT_EQ(layout->key(5).mode(), 1);
}

TEST(LayoutFileReader, FileEndingBeforeItsFirstKeyLine) {
    for (const std::string& text : std::vector<std::string>{
             "113; 1; 1; 3; 31; 0; 7; 8; 9", "113; 1; 1; 3; 31; 0; 7; 8; 9\r\n",
             "113; 1; 1; 3; 31; 0; 7; 8; 9\r", std::string()}) {
        auto layout = FreshLayout();
        const std::string recordsBefore = RecordsSnapshot(*layout);
        ReadLayoutText(*layout, text);
        EXPECT_EQ(RecordsSnapshot(*layout), recordsBefore) << "keys changed for [" << text << "]";
        if (!text.empty()) {
            EXPECT_EQ(layout->keyCount, 112);
            EXPECT_EQ(layout->settings.keysPause, 9);
            EXPECT_EQ(layout->rfid.prefix, 7);
        }
    }
}

TEST(LayoutFileReader, EmptyFileReadsAsAFiftySixKey16ScanHeaderOfZeros) {
    auto layout = FreshLayout(112);
    ReadLayoutText(*layout, "");
    EXPECT_EQ(layout->keyCount, 56);
    EXPECT_TRUE(layout->scan16Mode);
    EXPECT_EQ(layout->settings.keyDelay, 0);
    EXPECT_EQ(layout->settings.typematicRate, 0);
    EXPECT_EQ(layout->settings.keysPause, 2);
    EXPECT_EQ(layout->rfid.digitsCount, 0);
    EXPECT_EQ(layout->rfid.digitsNum, 1);
}

TEST(LayoutFileReader, OverlongLinesKeepTheirHeadAndDropTheRest) {
    auto layout = FreshLayout();
    std::string text = kHeader57;
    // A name far too long: the codes survive, the name is cut, the next line reads cleanly.
    text += Line16(1, kCodes16, 6, 3, std::string(300, 'n'));
    // A line of 600 "7, " after its first code: the head is read, the tail never reaches key 3.
    text += "2; 99";
    for (int i = 0; i < 600; ++i)
        text += ", 7";
    text += "\r\n";
    text += "3; 1, 2, 3\r\n";
    // A key number of 500 digits saturates and is ignored.
    text += std::string(500, '1') + "; 1, 2\r\n";
    text += Line16(4, kCodes16, 2, 0, "four");
    ReadLayoutText(*layout, text);

    EXPECT_EQ(layout->key(1).codes[0], 28);
    EXPECT_EQ(layout->key(1).mode(), 1);
    EXPECT_EQ(layout->key(1).groupNumber, 3);
    EXPECT_EQ(layout->key(1).name, std::string(102, 'n'));

    const KeyRecord& two = layout->key(2);
    EXPECT_EQ(two.codes[0], 99);
    for (int i = 1; i < 16; ++i)
        EXPECT_EQ(two.codes[static_cast<std::size_t>(i)], 7);
    EXPECT_EQ(two.flags & 0x0F, 7);
    EXPECT_EQ(two.groupNumber, 7);
    EXPECT_EQ(two.name, " 7");

    EXPECT_EQ(layout->key(3).codes, (KeyCodes{1, 2, 3}));
    EXPECT_EQ(layout->key(3).name, "");
    EXPECT_EQ(layout->key(4).name, "four");
}

TEST(LayoutFileReader, TailOfAnOverlongLineNeverReadsAsALine) {
    std::string overlong = "6; 1";
    overlong.resize(kLayoutLineContentLimit, ' ');
    overlong += "5; 77; 2;0;smuggled"; // starts right behind the part that is kept
    for (const char* lineBreak : {"\r\n", "\n"}) {
        auto layout = FreshLayout();
        ReadLayoutText(*layout, kHeader57 + overlong + lineBreak + Line16(7, kCodes16, 2, 0, "7"));
        EXPECT_EQ(layout->key(6).codes[0], 1);
        EXPECT_EQ(layout->key(5).codes, KeyCodes{});
        EXPECT_EQ(layout->key(5).name, "KEY5");
        EXPECT_EQ(layout->key(7).name, "7");
    }
}

TEST(LayoutFileReader, OverlongHeaderDropsItsTail) {
    auto layout = FreshLayout();
    ReadLayoutText(*layout, "57; 1; 1; 3; 31; 144; 5; 6; 7" + std::string(400, ';') + "\r\n" +
                                Line16(1, kCodes16, 2, 0, "one"));
    EXPECT_EQ(layout->settings.keysPause, 7);
    EXPECT_EQ(layout->rfid.suffix, 6);
    EXPECT_EQ(layout->key(1).name, "one");
}

TEST(LayoutFileReader, LfAndCrOnlyLineEndsReadLikeCrLf) {
    std::mt19937 random(11);
    for (int keyCount : {56, 112}) {
        for (int variant : {1, 2}) {
            auto source = testing::RandomLayout(random, keyCount);
            const std::string crlf = LayoutFileText(*source, static_cast<FileVariant>(variant));
            std::string lf, cr;
            for (std::size_t i = 0; i < crlf.size(); ++i) {
                if (crlf.compare(i, 2, "\r\n") == 0) {
                    lf += '\n';
                    cr += '\r';
                    ++i;
                } else {
                    lf += crlf[i];
                    cr += crlf[i];
                }
            }
            auto a = FreshLayout(), b = FreshLayout(), c = FreshLayout();
            ReadLayoutText(*a, crlf);
            ReadLayoutText(*b, lf);
            ReadLayoutText(*c, cr);
            EXPECT_EQ(Snapshot(*a), Snapshot(*b));
            EXPECT_EQ(Snapshot(*a), Snapshot(*c));
        }
    }
}

// What every read must leave, whatever the input: a key count and values the rest of the
// programmer can work with, and nothing outside records 1..112 touched.
void ExpectSaneAfterRead(const Layout& layout, const std::string& input) {
    SCOPED_TRACE(::testing::Message() << "input of " << input.size() << " bytes");
    EXPECT_TRUE(layout.keyCount == 56 || layout.keyCount == 112);
    EXPECT_EQ(layout.fileIsScan16, layout.scan16Mode ? 1 : 0);
    EXPECT_LE(static_cast<uint32_t>(layout.settings.keysType), 1u);
    EXPECT_LE(static_cast<uint32_t>(layout.settings.keyBeep), 1u);
    EXPECT_LE(static_cast<uint32_t>(layout.settings.keyDelay), 3u);
    EXPECT_LE(static_cast<uint32_t>(layout.settings.typematicRate), 31u);
    EXPECT_GE(layout.settings.keysPause, 1);
    EXPECT_LE(layout.settings.keysPause, 255);
    EXPECT_LE(layout.rfid.digitsCount, 13);
    for (int k = 1; k <= kMaxKeys; ++k) {
        const KeyRecord& record = layout.key(k);
        ASSERT_EQ(record.number, k);
        for (int code : record.codes)
            ASSERT_TRUE(code >= 0 && code <= 255) << "key " << k;
        ASSERT_LE(record.name.size(), kMaxKeyNameLength);
        ASSERT_EQ(record.name.find_first_of(std::string_view(";,\r\n\0", 5)), std::string::npos);
    }
    for (int k : {0, 113, 114, 115, 116, 117, 118, 119}) {
        ASSERT_EQ(layout.keyTable[static_cast<std::size_t>(k)].name, "untouched");
        ASSERT_EQ(layout.keyTable[static_cast<std::size_t>(k)].codes, KeyCodes{});
    }
}

std::unique_ptr<Layout> GuardedLayout() {
    auto layout = FreshLayout();
    for (int k : {0, 113, 114, 115, 116, 117, 118, 119})
        layout->keyTable[static_cast<std::size_t>(k)].name = "untouched";
    return layout;
}

TEST(LayoutFileReader, BinaryGarbageIsReadWithoutHarm) {
    std::mt19937 random(2024);
    const std::string alphabet("0123456789;, -+\r\n\t\0KEY", 22);
    for (int round = 0; round < 600; ++round) {
        const int length = std::uniform_int_distribution<int>(0, 6000)(random);
        std::string input;
        const bool structured = round % 2 == 0;
        for (int i = 0; i < length; ++i) {
            const int pick = std::uniform_int_distribution<int>(0, 255)(random);
            input += structured ? alphabet[static_cast<std::size_t>(pick) % alphabet.size()]
                                : static_cast<char>(pick);
        }
        if (round % 3 == 0)
            input = std::to_string(56 + round % 4 * 19) + "; " + input; // 56, 75, 94, 113
        auto layout = GuardedLayout();
        ReadLayoutText(*layout, input);
        ExpectSaneAfterRead(*layout, input);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(LayoutFileReader, MutatedWriterOutputIsReadWithoutHarm) {
    std::mt19937 random(99);
    for (int round = 0; round < 400; ++round) {
        auto source = testing::RandomLayout(random, round % 2 ? 112 : 56);
        std::string text = LayoutFileText(*source, static_cast<FileVariant>(round % 5));
        const int edits = std::uniform_int_distribution<int>(1, 40)(random);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const auto at = std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random);
            const char byte = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
            switch (e % 4) {
            case 0:
                text[at] = byte;
                break;
            case 1:
                text.erase(at, std::uniform_int_distribution<std::size_t>(1, 300)(random));
                break;
            case 2:
                text.insert(at, std::uniform_int_distribution<std::size_t>(1, 300)(random), byte);
                break;
            default:
                text.resize(at); // truncated
                break;
            }
        }
        auto layout = GuardedLayout();
        ReadLayoutText(*layout, text);
        ExpectSaneAfterRead(*layout, text);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

// ---- Reading and writing files ------------------------------------------------------------

TEST(LayoutFileReader, FileThatCannotBeOpenedChangesNothing) {
    TemporaryDirectory directory;
    const std::pair<std::string, std::string> cases[] = {
        {directory.File("missing.txt"), "No such file or directory"},
        {directory.path().string(), "not a regular file"},
        {std::string(), "no file name"},
    };
    for (const auto& [name, reason] : cases) {
        auto layout = FreshLayout(112);
        layout->fileName = name;
        const std::string before = Snapshot(*layout);
        ScriptedPrompts prompts;
        prompts.ExpectError(kStrCannotOpenFile);
        ReadLayoutFile(*layout, prompts);
        EXPECT_EQ(Snapshot(*layout), before) << name;
        ASSERT_EQ(prompts.asked().size(), 1u);
        EXPECT_EQ(prompts.asked().back().detail, reason) << name;
    }
}

// A file with no key line at all (empty, a header alone, garbage) is reported; what could be
// read of it is kept. One key line, even the last, is enough to make it a layout.
TEST(LayoutFileReader, FileWithoutAKeyLineIsReported) {
    struct Case {
        const char* label;
        std::string text;
        bool reported;
        std::string detail; // where and why
    };
    const std::string noKey = "\" where a key number 1..112 was expected, and no line names a key";
    const Case cases[] = {
        {"empty", "", true, "1:1: the file is empty"},
        {"header only", "57; 0; 0; 2; 11; 144; 0; 0; 3\r\n", true,
         "2:1: the file ends before its first key line"},
        {"garbage", std::string("\x01\xFFzz\r\n\x7F;;;\n", 11), true, "2:1: found \"\\x7F" + noKey},
        {"key number outside 1..112", "57; 0; 0; 2; 11\r\n0; 28\r\n113; 28\r\n", true,
         "2:1: found \"0" + noKey},
        {"one key line", "57; 0; 0; 2; 11\r\n5; 28; 2;0;K\r\n", false, ""},
    };
    TemporaryDirectory directory;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto layout = FreshLayout(56);
        layout->fileName = directory.File("in.txt");
        WriteBytes(layout->fileName, c.text);
        ScriptedPrompts prompts;
        if (c.reported)
            prompts.ExpectError(kResultInvalidFileFormat);
        ReadLayoutFile(*layout, prompts);
        if (c.reported && !prompts.asked().empty()) {
            EXPECT_EQ(prompts.asked().back().detail, c.detail);
        }
    }
}

#if defined(__unix__)
// A pipe would keep the reader waiting for ever: only regular files are read.
TEST(LayoutFileReader, APipeIsNotRead) {
    TemporaryDirectory directory;
    const fs::path pipe = directory.path() / "pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto layout = FreshLayout(56);
    layout->fileName = pipe.string();
    ScriptedPrompts prompts;
    prompts.ExpectError(kStrCannotOpenFile);
    ReadLayoutFile(*layout, prompts);
}
#endif

// A file far larger than any layout (a sparse file of gigabytes, say) is refused by its size, as
// zrwin refuses it, before a byte of it is read.
TEST(LayoutFileReader, AFileLargerThanTheEngineTakesIsNotRead) {
    TemporaryDirectory directory;
    auto layout = FreshLayout(56);
    layout->fileName = directory.File("large.txt");
    WriteBytes(layout->fileName, "57; 0; 0; 2; 11; 144; 0; 0; 3\r\n1; 28\r\n");
    ASSERT_EQ(::truncate(layout->fileName.c_str(), kMaxLayoutFileSize + 1), 0);
    ScriptedPrompts prompts;
    prompts.ExpectError(kResultInvalidFileFormat);
    EXPECT_EQ(ReadLayoutFile(*layout, prompts), ReadResult::NotALayout);
    ASSERT_FALSE(prompts.asked().empty());
    EXPECT_EQ(prompts.asked().back().detail, "the file is larger than 1048576 bytes");
    EXPECT_EQ(layout->key(1).codes[0], 0);

    ASSERT_EQ(::truncate(layout->fileName.c_str(), kMaxLayoutFileSize), 0);
    std::string reason;
    EXPECT_EQ(ReadLayoutFile(*layout, nullptr, reason), ReadResult::Read) << reason;
    EXPECT_EQ(layout->key(1).codes[0], 28);
}

class LayoutFileSave : public ::testing::Test {
  protected:
    TemporaryDirectory directory;
    std::unique_ptr<Layout> layout = FreshLayout();
    ScriptedPrompts prompts;

    void SetUp() override {
        SetKey(*layout, 1, {0x1C}, 0x02, 0, "A");
        layout->scan16Mode = true;
    }
};

TEST_F(LayoutFileSave, WritesTheTextAndLeavesTheLayoutAsItIs) {
    for (int variant : {0, 1, 2, 3, 4}) {
        layout->fileName = directory.File("v" + std::to_string(variant) + ".txt");
        layout->scan16Mode = variant == 1;
        EXPECT_NE(WriteLayoutFile(*layout, static_cast<FileVariant>(variant), prompts),
                  WriteResult::Failed);
        EXPECT_EQ(ReadBytes(layout->fileName),
                  LayoutFileText(*layout, static_cast<FileVariant>(variant)));
        EXPECT_EQ(layout->scan16Mode, variant == 1) << "the document records the save";
    }
    EXPECT_TRUE(prompts.asked().empty());
    EXPECT_EQ(directory.Entries(),
              (std::vector<std::string>{"v0.txt", "v1.txt", "v2.txt", "v3.txt", "v4.txt"}));
}

TEST_F(LayoutFileSave, ReplacesAnOldFileAndKeepsItsPermissions) {
    layout->fileName = directory.File("old.txt");
    WriteBytes(layout->fileName, "old contents, much longer than nothing at all");
    fs::permissions(layout->fileName,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(WriteLayoutFile(*layout, FileVariant::Scan7, prompts), WriteResult::Stored);
    EXPECT_EQ(ReadBytes(layout->fileName), LayoutFileText(*layout, FileVariant::Scan7));
    EXPECT_EQ(fs::status(layout->fileName).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(directory.Entries(), (std::vector<std::string>{"old.txt"}));
}

TEST_F(LayoutFileSave, WritesThroughASymbolicLink) {
    const fs::path real = directory.path() / "real.txt";
    WriteBytes(real, "old");
    fs::create_symlink(real, directory.path() / "link.txt");
    layout->fileName = directory.File("link.txt");
    EXPECT_EQ(WriteLayoutFile(*layout, FileVariant::Scan16, prompts), WriteResult::Stored);
    EXPECT_TRUE(fs::is_symlink(directory.path() / "link.txt"));
    EXPECT_EQ(ReadBytes(real), LayoutFileText(*layout, FileVariant::Scan16));
}

TEST_F(LayoutFileSave, NoProgrammedKeyIsReportedAfterTheWrite) {
    layout->key(1).codes[0] = 0;
    layout->key(1).codes[1] = 0x1C;  // only the first slot counts
    layout->key(80).codes[0] = 0x1C; // beyond the key count of 56
    layout->fileName = directory.File("empty.txt");
    prompts.ExpectError(kStrNoProgrammedKey);
    EXPECT_EQ(WriteLayoutFile(*layout, FileVariant::Scan7, prompts),
              WriteResult::StoredWithoutProgrammedKey);
    EXPECT_EQ(ReadBytes(layout->fileName), LayoutFileText(*layout, FileVariant::Scan7));
}

struct CountCase {
    int keyCount;
    int variant;
    int programmedKey;
    bool result;
};

TEST_F(LayoutFileSave, ProgrammedKeysAreCountedOnRecordsOneToKeyCount) {
    const CountCase cases[] = {
        {56, 2, 56, true},
        {56, 2, 57, false},
        {112, 2, 112, true},
        // the count always looks at record k, whatever the side variant writes
        {112, 4, 60, true},
        {112, 3, 60, true},
        {112, 4, 1, true},
        {56, 4, 60, false},
    };
    for (const CountCase& c : cases) {
        auto subject = FreshLayout(c.keyCount);
        subject->key(c.programmedKey).codes[0] = 0x1C;
        subject->fileName = directory.File("count.txt");
        ScriptedPrompts script;
        if (!c.result)
            script.ExpectError(kStrNoProgrammedKey);
        EXPECT_EQ(WriteLayoutFile(*subject, static_cast<FileVariant>(c.variant), script) ==
                      WriteResult::Stored,
                  c.result)
            << c.keyCount << " keys, variant " << c.variant << ", key " << c.programmedKey;
    }
}

// A failed save: the error, false, the old file as it was, no temporary left, and the document
// still modified in its old family.
// detail: the reason below "Cannot open file!".
void ExpectFailedSave(Layout& layout, ScriptedPrompts& prompts, const TemporaryDirectory& dir,
                      const std::vector<std::string>& entriesBefore, const std::string& detail) {
    layout.scan16Mode = false;
    prompts.ExpectError(kStrCannotOpenFile);
    EXPECT_EQ(WriteLayoutFile(layout, FileVariant::Scan16, prompts), WriteResult::Failed);
    if (!prompts.asked().empty()) {
        EXPECT_EQ(prompts.asked().back().detail, detail);
    }
    EXPECT_FALSE(layout.scan16Mode);
    EXPECT_EQ(dir.Entries(), entriesBefore);
}

TEST_F(LayoutFileSave, MissingDirectoryGivesTheError) {
    layout->fileName = directory.File("no-such-directory/out.txt");
    ExpectFailedSave(*layout, prompts, directory, {},
                     "the folder " + directory.File("no-such-directory") +
                         ": No such file or directory");
}

TEST_F(LayoutFileSave, EmptyFileNameGivesTheError) {
    layout->fileName.clear();
    ExpectFailedSave(*layout, prompts, directory, {}, "no file name");
}

TEST_F(LayoutFileSave, DirectoryInThePlaceOfTheFileIsLeftAlone) {
    fs::create_directory(directory.path() / "taken.txt");
    WriteBytes(directory.path() / "taken.txt" / "inside", "keep");
    layout->fileName = directory.File("taken.txt");
    ExpectFailedSave(*layout, prompts, directory, {"taken.txt"}, "not a regular file");
    EXPECT_EQ(ReadBytes(directory.path() / "taken.txt" / "inside"), "keep");
}

#if defined(__unix__)
// A special file, named directly or through a link, is never replaced by a layout.
TEST_F(LayoutFileSave, SpecialFileOrALinkToOneIsLeftAlone) {
    const fs::path pipe = directory.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink(pipe, directory.path() / "link.txt");
    for (const char* name : {"pipe", "link.txt"}) {
        SCOPED_TRACE(name);
        layout->fileName = directory.File(name);
        ExpectFailedSave(*layout, prompts, directory, {"link.txt", "pipe"}, "not a regular file");
        EXPECT_TRUE(fs::is_fifo(pipe));
    }
}

TEST_F(LayoutFileSave, ReadOnlyDirectoryGivesTheErrorAndKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    layout->fileName = directory.File("old.txt");
    WriteBytes(layout->fileName, "old");
    fs::permissions(directory.path(), fs::perms::owner_read | fs::perms::owner_exec);
    ExpectFailedSave(*layout, prompts, directory, {"old.txt"},
                     "the folder " + directory.path().string() + ": Permission denied");
    EXPECT_EQ(ReadBytes(layout->fileName), "old");
}

TEST_F(LayoutFileSave, ReadOnlyFileGivesTheErrorAndStaysAsItWas) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    layout->fileName = directory.File("old.txt");
    WriteBytes(layout->fileName, "old");
    fs::permissions(layout->fileName, fs::perms::owner_read);
    ExpectFailedSave(*layout, prompts, directory, {"old.txt"}, "Permission denied");
    EXPECT_EQ(ReadBytes(layout->fileName), "old");
}

// The file size limit makes the write fail part-way, after the temporary file was created and
// partly written: the old file must survive and the temporary must go.
TEST_F(LayoutFileSave, WriteFailingPartWayKeepsTheOldFile) {
    layout->fileName = directory.File("old.txt");
    WriteBytes(layout->fileName, "old layout");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    layout->scan16Mode = false;
    prompts.ExpectError(kStrCannotOpenFile);
    const bool written =
        WriteLayoutFile(*layout, FileVariant::Scan16, prompts) != WriteResult::Failed;
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(prompts.asked().back().detail, "File too large");
    EXPECT_FALSE(layout->scan16Mode);
    EXPECT_EQ(ReadBytes(layout->fileName), "old layout");
    EXPECT_EQ(directory.Entries(), (std::vector<std::string>{"old.txt"}));
}
#endif

} // namespace
} // namespace zr4700
