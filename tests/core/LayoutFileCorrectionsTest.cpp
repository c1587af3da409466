// What the editor's reader notes of the corrections it makes: each kind with its line, column,
// text found and value used, the values read unchanged by the noting, whether zrwin takes the
// same file (as the README lists them), and files written by the editor reading back without any.

#include "core/files/LayoutFileEditor.h"
#include "engine/LayoutParser.h"

#include "core/LayoutFileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zr4700 {

inline std::ostream& operator<<(std::ostream& out, const ReadCorrection& c) {
    return out << c.line << ":" << c.column << " [" << c.found << "] -> [" << c.used << "] kind "
               << static_cast<int>(c.kind);
}

namespace {

using Kind = CorrectionKind;

const std::string kHeader16 = "57; 0; 0; 2; 11; 144; 0; 0; 3\r\n";

// Key line k of a 16scan file with every code 0 except those given (text as written).
std::string KeyLine16(int k, std::vector<std::pair<int, std::string>> codes = {},
                      const std::string& tail = "; 2;0;KEY") {
    std::string line = std::to_string(k) + "; ";
    for (int i = 0; i < kCodeSlots; ++i) {
        std::string code = "0";
        for (const auto& [slot, text] : codes)
            if (slot == i)
                code = text;
        line += (i > 0 ? ", " : "") + code;
    }
    return line + tail + "\r\n";
}

// The text with every CR LF turned into a CR alone.
std::string CrAlone(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at + 1, 1);
    return text;
}

struct Case {
    const char* label;
    std::string text;
    std::vector<ReadCorrection> expected;
    std::function<int64_t(const Layout&)> value; // what was read, as today
    int64_t valueRead;
    bool zrwinTakes = false; // the engine's parser accepts the file as it stands
};

const std::string kSkipped = "no key (the line is skipped)";
const std::string kCut = "nothing (the rest of the line is dropped)";
const std::string kLongName(150, 'n');

const Case kCases[] = {
    {"code above 255",
     kHeader16 + KeyLine16(4, {{2, "256"}}),
     {{2, 10, "256", "0", Kind::OutOfRange}},
     [](const Layout& l) { return l.key(4).codes[2]; },
     0},
    {"negative code",
     kHeader16 + KeyLine16(4, {{2, "-1"}}),
     {{2, 10, "-1", "0", Kind::OutOfRange}},
     [](const Layout& l) { return l.key(4).codes[2]; },
     0},
    {"characters after digits",
     kHeader16 + KeyLine16(4, {{2, "5x"}}),
     {{2, 10, "5x", "5", Kind::NotANumber}},
     [](const Layout& l) { return l.key(4).codes[2]; },
     5},
    {"characters instead of digits",
     kHeader16 + KeyLine16(4, {{0, "zz"}}),
     {{2, 4, "zz", "0", Kind::NotANumber}},
     [](const Layout& l) { return l.key(4).codes[0]; },
     0},
    {"empty field",
     kHeader16 + KeyLine16(4, {{2, ""}}),
     {{2, 10, "", "0", Kind::EmptyField}},
     [](const Layout& l) { return l.key(4).codes[2]; },
     0},
    {"short line, noted once",
     kHeader16 + "4; 0, 7\r\n",
     {{2, 8, "", "0", Kind::MissingField}},
     [](const Layout& l) { return l.key(4).codes[1] * 1000 + l.key(4).codes[2]; },
     7000},
    {"unknown layout code",
     "58; 0; 0; 2; 11; 144; 0; 0; 3\r\n" + KeyLine16(1),
     {{1, 1, "58", "57", Kind::UnknownLayoutCode}},
     [](const Layout& l) { return l.keyCount * 10 + (l.scan16Mode ? 1 : 0); },
     561},
    {"key number 0",
     kHeader16 + KeyLine16(0, {{0, "28"}}) + KeyLine16(1),
     {{2, 1, "0", kSkipped, Kind::KeyNumberOutside}},
     [](const Layout& l) { return l.key(1).codes[0]; },
     0},
    {"key number 113",
     kHeader16 + KeyLine16(113) + KeyLine16(1, {{0, "28"}}),
     {{2, 1, "113", kSkipped, Kind::KeyNumberOutside}},
     [](const Layout& l) { return l.key(1).codes[0]; },
     28,
     true},
    {"key delay 7",
     "57; 0; 0; 7; 11; 144; 0; 0; 3\r\n" + KeyLine16(1),
     {{1, 11, "7", "2", Kind::OutOfRange}},
     [](const Layout& l) { return l.settings.keyDelay; },
     2},
    {"negative keys type",
     "57; -1; 0; 2; 11; 144; 0; 0; 3\r\n" + KeyLine16(1),
     {{1, 5, "-1", "1", Kind::OutOfRange}},
     [](const Layout& l) { return l.settings.keysType; },
     1},
    {"typematic rate 40",
     "57; 0; 0; 2; 40; 144; 0; 0; 3\r\n" + KeyLine16(1),
     {{1, 14, "40", "11", Kind::OutOfRange}},
     [](const Layout& l) { return l.settings.typematicRate; },
     11},
    {"keys pause 300",
     "57; 0; 0; 2; 11; 144; 0; 0; 300\r\n" + KeyLine16(1),
     {{1, 29, "300", "2", Kind::OutOfRange}},
     [](const Layout& l) { return l.settings.keysPause; },
     2},
    {"RFID flags with 15 digits and bit 3",
     "57; 0; 0; 2; 11; 255; 0; 0; 3\r\n" + KeyLine16(1),
     {{1, 18, "255", "215", Kind::OutOfRange}},
     [](const Layout& l) { return l.rfid.digitsCount * 10 + l.rfid.digitsNum; },
     130,
     true},
    {"RFID prefix 300",
     "57; 0; 0; 2; 11; 144; 300; 0; 3\r\n" + KeyLine16(1),
     {{1, 23, "300", "44", Kind::OutOfRange}},
     [](const Layout& l) { return l.rfid.prefix; },
     44},
    {"key beep 2 in a 7/3scan header",
     "56; 0; 2; 2; 11\r\n1; 0, 0, 0, 0, 0, 0, 0; 2;KEY1\r\n",
     {{1, 8, "2", "1", Kind::OutOfRange}},
     [](const Layout& l) { return l.settings.keyBeep; },
     1},
    {"flag number 21",
     kHeader16 + KeyLine16(4, {}, "; 21;0;KEY"),
     {{2, 52, "21", "5", Kind::OutOfRange}},
     [](const Layout& l) { return l.key(4).flags & 0x0F; },
     5,
     true},
    {"group number 300",
     kHeader16 + KeyLine16(4, {}, "; 3;300;KEY"),
     {{2, 54, "300", "a new group number", Kind::OutOfRange}},
     [](const Layout& l) { return l.key(4).groupNumber; },
     300},
    {"name of 110 characters",
     kHeader16 + KeyLine16(4, {}, "; 2;0;" + std::string(110, 'n')),
     {{2, 56, std::string(kFoundTextLimit, 'n'), "its first 102 bytes", Kind::NameCut}},
     [](const Layout& l) { return static_cast<int64_t>(l.key(4).name.size()); },
     102,
     true},
    {"overlong line",
     kHeader16 + KeyLine16(4, {}, "; 2;0;" + kLongName),
     {{2, 199, std::string(7, 'n'), kCut, Kind::LineCut},
      {2, 56, std::string(kFoundTextLimit, 'n'), "its first 102 bytes", Kind::NameCut}},
     [](const Layout& l) { return static_cast<int64_t>(l.key(4).name.size()); },
     102,
     true},
    {"keys pause 0",
     "57; 0; 0; 2; 11; 144; 0; 0; 0\r\n" + KeyLine16(1),
     {{1, 29, "0", "2", Kind::OutOfRange}},
     [](const Layout& l) { return l.settings.keysPause; },
     2,
     true},
    {"flag number 255",
     kHeader16 + KeyLine16(4, {}, "; 255;0;KEY"),
     {{2, 52, "255", "15", Kind::OutOfRange}},
     [](const Layout& l) { return l.key(4).flags & 0x0F; },
     15,
     true},
    {"NUL in a name",
     kHeader16 + KeyLine16(4, {}, std::string("; 2;0;KE\0Y", 10)),
     {{2, 56, std::string("KE\0Y", 4), "its first 2 bytes", Kind::NameCut}},
     [](const Layout& l) { return static_cast<int64_t>(l.key(4).name.size()); },
     2,
     true},
    {"a sign on a number",
     kHeader16 + KeyLine16(4, {{2, "+5"}}),
     {{2, 10, "+5", "5", Kind::NotANumber}},
     [](const Layout& l) { return l.key(4).codes[2]; },
     5},
    {"line ends of a CR alone, noted once",
     CrAlone(kHeader16 + KeyLine16(1, {{0, "28"}}) + KeyLine16(2)),
     {{1, 30, "\r", "CR LF", Kind::LineEnd}},
     [](const Layout& l) { return l.key(1).codes[0]; },
     28},
};

TEST(LayoutFileCorrections, EachKindIsNotedWhereItWasFoundAndTheValuesStayAsRead) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.label);
        Layout withRecord;
        Layout without;
        ReadRecord record;
        ASSERT_TRUE(ReadLayoutText(withRecord, c.text, &record));
        ReadLayoutText(without, c.text);
        EXPECT_EQ(record.corrections, c.expected);
        EXPECT_EQ(record.correctionCount, c.expected.size());
        EXPECT_EQ(c.value(withRecord), c.valueRead);
        EXPECT_EQ(withRecord.keyTable, without.keyTable);
        EXPECT_EQ(withRecord.settings, without.settings);
        EXPECT_EQ(withRecord.rfid, without.rfid);
        TransferImage image;
        int size = 0;
        std::uint8_t layoutCode = 0;
        EXPECT_EQ(ParseLayoutFile(c.text, image, size, layoutCode) == 0, c.zrwinTakes);
    }
}

TEST(LayoutFileCorrections, FilesTheEditorWritesReadBackWithoutAny) {
    std::mt19937 random(20);
    for (const FileVariant variant :
         {FileVariant::Scan7, FileVariant::Scan16, FileVariant::LeftSide, FileVariant::RightSide}) {
        for (const int keyCount : {56, 112}) {
            for (int round = 0; round < 5; ++round) {
                SCOPED_TRACE(::testing::Message() << variant << ", " << keyCount << " keys");
                const auto source = round == 0 ? testing::SampleLayout(keyCount)
                                               : testing::RandomLayout(random, keyCount);
                Layout target;
                ReadRecord record;
                ReadLayoutText(target, LayoutFileText(*source, variant), &record);
                EXPECT_TRUE(record.empty()) << DescribeCorrections(record);
            }
        }
    }
}

TEST(LayoutFileCorrections, DescriptionListsTenThenCountsTheRest) {
    std::string text = kHeader16;
    for (int k = 1; k <= 12; ++k)
        text += KeyLine16(k, {{0, "256"}});
    ReadRecord record;
    Layout layout;
    ReadLayoutText(layout, text, &record);
    const std::string description = DescribeCorrections(record);
    EXPECT_EQ(description.substr(0, description.find('\n')), "2:4: found \"256\", using 0");
    EXPECT_EQ(std::count(description.begin(), description.end(), '\n'), 10);
    EXPECT_EQ(description.substr(description.rfind('\n') + 1), "and 2 more");
}

} // namespace
} // namespace zr4700
