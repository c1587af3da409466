#include "core/scancodes/ScanCodeTables.h"

#include <gtest/gtest.h>

#include <ostream>

#include <set>
#include <string>
#include <vector>

namespace zr4700 {

// Readable failure messages.
static void PrintTo(const CodeEntry& entry, std::ostream* os) {
    *os << "{" << entry.code << ", \"" << entry.name << "\"}";
}

namespace {

// A second copy of the tables, typed apart from the sources (set-2 codes in decimal) so that a
// slipped row in either shows up as a mismatch.
struct Set1Row {
    int set1;
    int set2;
    const char* name;
};

const Set1Row expectedSet1Rows[] = {
    {0x00, 0, ""},
    {0x01, 118, "Esc"},
    {0x02, 22, "1"},
    {0x03, 30, "2"},
    {0x04, 38, "3"},
    {0x05, 37, "4"},
    {0x06, 46, "5"},
    {0x07, 54, "6"},
    {0x08, 61, "7"},
    {0x09, 62, "8"},
    {0x0A, 70, "9"},
    {0x0B, 69, "0"},
    {0x0C, 78, "-"},
    {0x0D, 85, "="},
    {0x0E, 102, "Backspace"},
    {0x0F, 13, "Tab"},
    {0x10, 21, "Q"},
    {0x11, 29, "W"},
    {0x12, 36, "E"},
    {0x13, 45, "R"},
    {0x14, 44, "T"},
    {0x15, 53, "Y"},
    {0x16, 60, "U"},
    {0x17, 67, "I"},
    {0x18, 68, "O"},
    {0x19, 77, "P"},
    {0x1A, 84, "["},
    {0x1B, 91, "]"},
    {0x1C, 90, "Enter"},
    {0x1D, 20, "Ctrl_left"},
    {0x1E, 28, "A"},
    {0x1F, 27, "S"},
    {0x20, 35, "D"},
    {0x21, 43, "F"},
    {0x22, 52, "G"},
    {0x23, 51, "H"},
    {0x24, 59, "J"},
    {0x25, 66, "K"},
    {0x26, 75, "L"},
    {0x27, 76, ";"},
    {0x28, 82, "'"},
    {0x29, 14, "`"},
    {0x2A, 18, "Shift_left"},
    {0x2B, 93, "\\"},
    {0x2C, 26, "Z"},
    {0x2D, 34, "X"},
    {0x2E, 33, "C"},
    {0x2F, 42, "V"},
    {0x30, 50, "B"},
    {0x31, 49, "N"},
    {0x32, 58, "M"},
    {0x33, 65, ","},
    {0x34, 73, "."},
    {0x35, 74, "/"},
    {0x36, 89, "Shift_right"},
    {0x37, 124, "*_num"},
    {0x38, 17, "Alt_left"},
    {0x39, 41, "Space"},
    {0x3A, 88, "Caps_lock"},
    {0x3B, 5, "F1"},
    {0x3C, 6, "F2"},
    {0x3D, 4, "F3"},
    {0x3E, 12, "F4"},
    {0x3F, 3, "F5"},
    {0x40, 11, "F6"},
    {0x41, 131, "F7"},
    {0x42, 10, "F8"},
    {0x43, 1, "F9"},
    {0x44, 9, "F10"},
    {0x45, 119, "Num_lock"},
    {0x46, 126, "Scroll_Lock"},
    {0x47, 108, "7_num"},
    {0x48, 117, "8_num"},
    {0x49, 125, "9_num"},
    {0x4A, 123, "-_num"},
    {0x4B, 107, "4_num"},
    {0x4C, 115, "5_num"},
    {0x4D, 116, "6_num"},
    {0x4E, 121, "+_num"},
    {0x4F, 105, "1_num"},
    {0x50, 114, "2_num"},
    {0x51, 122, "3_num"},
    {0x52, 112, "0_num"},
    {0x53, 113, "._num"},
    {0x54, 0, "Sys_Req"},
    {0x55, 0, ""},
    {0x56, 0, ""},
    {0x57, 120, "F11"},
    {0x58, 7, "F12"},
    {0x59, 0, ""},
    {0x5A, 0, ""},
    {0x5B, 31, "Win_left"},
    {0x5C, 39, "Win_right"},
    {0x5D, 47, "Win_Pop_up"},
};

// Names of the extended keys, indices 94..117; every index not listed is empty.
struct ExtendedNameRow {
    int index;
    const char* name;
};

const ExtendedNameRow expectedExtendedNames[] = {
    {99, "/_num"},   {100, "Enter_num"},  {101, "Num_lock"},  {103, "Home"},
    {104, "Up"},     {105, "Page_up"},    {107, "Left"},      {109, "Right"},
    {111, "End"},    {112, "Down"},       {113, "Page_down"}, {114, "Insert"},
    {115, "Delete"}, {116, "Ctrl_right"}, {117, "Alt_right"},
};

std::string ExpectedName(int index) {
    if (index < 94) {
        return expectedSet1Rows[index].name;
    }
    for (const ExtendedNameRow& row : expectedExtendedNames) {
        if (row.index == index) {
            return row.name;
        }
    }
    return "";
}

// What each extended key is stored as, and under which name.
struct ExtendedStrokeRow {
    int set1;
    int set2;
    const char* name;
};

const ExtendedStrokeRow expectedExtendedStrokes[] = {
    {0x35, 74, "/_num"},    {0x1C, 90, "Enter_num"},  {0x45, 119, "Num_lock"},
    {0x47, 108, "Home"},    {0x48, 117, "Up"},        {0x49, 125, "Page_up"},
    {0x4B, 107, "Left"},    {0x4D, 116, "Right"},     {0x4F, 105, "End"},
    {0x50, 114, "Down"},    {0x51, 122, "Page_down"}, {0x52, 112, "Insert"},
    {0x53, 113, "Delete"},  {0x1D, 20, "Ctrl_right"}, {0x38, 17, "Alt_right"},
    {0x5B, 31, "Win_left"}, {0x5C, 39, "Win_right"},  {0x5D, 47, "Win_Pop_up"},
};

int ExpectedOffset(int c) {
    switch (c) {
    case 0x1C:
        return 72;
    case 0x1D:
        return 87;
    case 0x35:
        return 46;
    case 0x38:
        return 61;
    case 0x5B:
    case 0x5C:
    case 0x5D:
        return 0;
    default:
        return 32;
    }
}

std::vector<CodeEntry> Entries(std::initializer_list<CodeEntry> entries) {
    return std::vector<CodeEntry>(entries);
}

TEST(ScanCodeTables, TableSizes) {
    EXPECT_EQ(set1ToSet2.size(), 94u);
    EXPECT_EQ(keyNames.size(), 118u);
    EXPECT_EQ(std::size(expectedSet1Rows), 94u);
}

TEST(ScanCodeTables, EverySet1RowMatchesTheTypedCopy) {
    for (std::size_t i = 0; i < std::size(expectedSet1Rows); ++i) {
        const Set1Row& row = expectedSet1Rows[i];
        SCOPED_TRACE(testing::Message() << "set-1 code 0x" << std::hex << row.set1);
        ASSERT_EQ(row.set1, static_cast<int>(i)) << "typed copy out of order";
        EXPECT_EQ(set1ToSet2[i], row.set2);
    }
}

TEST(ScanCodeTables, EveryKeyNameMatchesTheTypedCopy) {
    for (std::size_t i = 0; i < keyNames.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "name index " << i);
        EXPECT_EQ(std::string(keyNames[i]), ExpectedName(static_cast<int>(i)));
    }
}

TEST(ScanCodeTables, NonZeroSet2CodesAreAllDifferent) {
    std::set<int> seen;
    for (std::uint8_t code : set1ToSet2) {
        if (code != 0) {
            EXPECT_TRUE(seen.insert(code).second) << "duplicate set-2 code " << int(code);
        }
    }
    EXPECT_EQ(seen.size(), 88u);
}

TEST(ScanCodeTables, NamesFitTwentyCharacterFields) {
    for (std::string_view name : keyNames) {
        EXPECT_LE(name.size(), 19u) << name;
    }
}

TEST(ScanCodeTables, ExtendedNameOffsetForEveryCode) {
    for (int c = -1; c <= 0x100; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(ExtendedNameOffset(c), ExpectedOffset(c));
    }
    EXPECT_EQ(0x1C + ExtendedNameOffset(0x1C), 100);
    EXPECT_EQ(0x1D + ExtendedNameOffset(0x1D), 116);
    EXPECT_EQ(0x35 + ExtendedNameOffset(0x35), 99);
    EXPECT_EQ(0x38 + ExtendedNameOffset(0x38), 117);
}

// The cases the tables are known for.

TEST(TranslateKeyStroke, LetterA) {
    EXPECT_EQ(TranslateKeyStroke(0x41, 0x1E, false), Entries({{28, "A"}}));
}

TEST(TranslateKeyStroke, RightAndLeftCtrl) {
    EXPECT_EQ(TranslateKeyStroke(0x11, 0x1D, true),
              Entries({{224, "extended"}, {20, "Ctrl_right"}}));
    EXPECT_EQ(TranslateKeyStroke(0x11, 0x1D, false), Entries({{20, "Ctrl_left"}}));
}

TEST(TranslateKeyStroke, KeypadAndMainEnter) {
    EXPECT_EQ(TranslateKeyStroke(0x0D, 0x1C, true),
              Entries({{224, "extended"}, {90, "Enter_num"}}));
    EXPECT_EQ(TranslateKeyStroke(0x0D, 0x1C, false), Entries({{90, "Enter"}}));
}

TEST(TranslateKeyStroke, NumLockIsStoredWithoutPrefix) {
    EXPECT_EQ(TranslateKeyStroke(144, 0x45, true), Entries({{119, "Num_lock"}}));
    EXPECT_EQ(TranslateKeyStroke(144, 0x45, false), Entries({{119, "Num_lock"}}));
}

TEST(TranslateKeyStroke, PauseGivesNothing) {
    EXPECT_TRUE(TranslateKeyStroke(19, 0x45, false).empty());
    EXPECT_TRUE(TranslateKeyStroke(19, 0x45, true).empty());
    EXPECT_TRUE(TranslateKeyStroke(19, 0x00, false).empty());
    EXPECT_TRUE(TranslateKeyStroke(19, 0xFF, true).empty());
}

TEST(TranslateKeyStroke, LeftWindowsKey) {
    EXPECT_EQ(TranslateKeyStroke(0x5B, 0x5B, true), Entries({{224, "extended"}, {31, "Win_left"}}));
}

TEST(TranslateKeyStroke, RowsWithoutSet2Code) {
    EXPECT_EQ(TranslateKeyStroke(0, 0x54, false), Entries({{0, "Sys_Req"}}));
    EXPECT_EQ(TranslateKeyStroke(0, 0x56, false), Entries({{0, ""}}));
}

TEST(TranslateKeyStroke, ExtendedKeyTakesNameAtOffset32WhateverItHolds) {
    EXPECT_EQ(TranslateKeyStroke(0, 0x46, true), Entries({{224, "extended"}, {126, ""}}));
}

TEST(TranslateKeyStroke, SameCodeForExtendedTwin) {
    EXPECT_EQ(TranslateKeyStroke(0, 0x47, false), Entries({{108, "7_num"}}));
    EXPECT_EQ(TranslateKeyStroke(0, 0x47, true), Entries({{224, "extended"}, {108, "Home"}}));
}

TEST(TranslateKeyStroke, VirtualKeyOtherThanPauseAndNumLockIsIgnored) {
    for (std::uint32_t vk : {0u, 1u, 0x41u, 0xFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(TranslateKeyStroke(vk, 0x1E, false), Entries({{28, "A"}}));
    }
}

TEST(TranslateKeyStroke, EveryPlainSet1Code) {
    for (const Set1Row& row : expectedSet1Rows) {
        SCOPED_TRACE(testing::Message() << "set-1 code 0x" << std::hex << row.set1);
        EXPECT_EQ(TranslateKeyStroke(0, static_cast<std::uint8_t>(row.set1), false),
                  Entries({{row.set2, row.name}}));
    }
}

TEST(TranslateKeyStroke, EveryListedExtendedKey) {
    for (const ExtendedStrokeRow& row : expectedExtendedStrokes) {
        SCOPED_TRACE(testing::Message() << "set-1 code 0x" << std::hex << row.set1);
        EXPECT_EQ(TranslateKeyStroke(0, static_cast<std::uint8_t>(row.set1), true),
                  Entries({{224, "extended"}, {row.set2, row.name}}));
    }
}

TEST(TranslateKeyStroke, EveryExtendedCodeWithinTheNameTable) {
    for (const Set1Row& row : expectedSet1Rows) {
        const int nameIndex = row.set1 + ExpectedOffset(row.set1);
        if (nameIndex >= 118) {
            continue;
        }
        SCOPED_TRACE(testing::Message() << "set-1 code 0x" << std::hex << row.set1);
        EXPECT_EQ(TranslateKeyStroke(0, static_cast<std::uint8_t>(row.set1), true),
                  Entries({{224, "extended"}, {row.set2, ExpectedName(nameIndex)}}));
    }
}

// Strokes outside the tables: an empty slot, never a read past a table.

TEST(TranslateKeyStroke, Set1CodeAboveTableGivesEmptyEntry) {
    for (int c = 0x5E; c <= 0xFF; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(TranslateKeyStroke(0, static_cast<std::uint8_t>(c), false), Entries({{0, ""}}));
        EXPECT_EQ(TranslateKeyStroke(0, static_cast<std::uint8_t>(c), true), Entries({{0, ""}}));
    }
}

TEST(TranslateKeyStroke, ExtendedCodeWhoseNameIsPastTheTableGivesEmptyEntry) {
    for (int c : {0x56, 0x57, 0x58, 0x59, 0x5A}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(TranslateKeyStroke(0, static_cast<std::uint8_t>(c), true), Entries({{0, ""}}));
    }
    // Their plain variants are in the table.
    EXPECT_EQ(TranslateKeyStroke(0, 0x57, false), Entries({{120, "F11"}}));
    EXPECT_EQ(TranslateKeyStroke(0, 0x58, false), Entries({{7, "F12"}}));
}

// NameOfCode

TEST(NameOfCode, ListedCases) {
    EXPECT_EQ(NameOfCode(0, 0), "");
    EXPECT_EQ(NameOfCode(0, 224), "");
    EXPECT_EQ(NameOfCode(0, 28), "");
    EXPECT_EQ(NameOfCode(224, 0), "extended");
    EXPECT_EQ(NameOfCode(224, 224), "extended");
    EXPECT_EQ(NameOfCode(224, 28), "extended");
    EXPECT_EQ(NameOfCode(108, 0), "7_num");
    EXPECT_EQ(NameOfCode(108, 224), "Home");
    EXPECT_EQ(NameOfCode(31, 0), "Win_left");
    EXPECT_EQ(NameOfCode(31, 224), "Win_left");
    EXPECT_EQ(NameOfCode(132, 0), "key_132");
    EXPECT_EQ(NameOfCode(240, 0), "key_240");
    EXPECT_EQ(NameOfCode(240, 224), "key_240");
}

TEST(NameOfCode, PreviousCodeOtherThanPrefixGivesPlainName) {
    EXPECT_EQ(NameOfCode(108, 108), "7_num");
    EXPECT_EQ(NameOfCode(20, 1), "Ctrl_left");
    EXPECT_EQ(NameOfCode(20, 224), "Ctrl_right");
}

TEST(NameOfCode, EveryCodeOfTheTable) {
    for (const Set1Row& row : expectedSet1Rows) {
        if (row.set2 == 0) {
            continue;
        }
        SCOPED_TRACE(testing::Message() << "set-2 code " << row.set2);
        EXPECT_EQ(NameOfCode(row.set2, 0), row.name);
        const int nameIndex = row.set1 + ExpectedOffset(row.set1);
        if (nameIndex < 118) {
            EXPECT_EQ(NameOfCode(row.set2, 224), ExpectedName(nameIndex));
        }
    }
}

TEST(NameOfCode, EveryListedExtendedKey) {
    for (const ExtendedStrokeRow& row : expectedExtendedStrokes) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(NameOfCode(row.set2, 224), row.name);
    }
}

TEST(NameOfCode, CodesNotInTheTableAreNamedByNumber) {
    std::set<int> known;
    for (const Set1Row& row : expectedSet1Rows) {
        known.insert(row.set2);
    }
    for (int code = 1; code <= 255; ++code) {
        if (code == 224 || known.count(code) != 0) {
            continue;
        }
        SCOPED_TRACE(code);
        const std::string expected = "key_" + std::to_string(code);
        EXPECT_EQ(NameOfCode(code, 0), expected);
        EXPECT_EQ(NameOfCode(code, 224), expected);
    }
    EXPECT_EQ(NameOfCode(256, 0), "key_256");
    EXPECT_EQ(NameOfCode(-1, 0), "key_-1");
}

TEST(NameOfCode, ExtendedNamesPastTheTableAreNamedByNumber) {
    // F11 (120) and F12 (7) have no extended name; after a prefix they are named by number.
    EXPECT_EQ(NameOfCode(120, 224), "key_120");
    EXPECT_EQ(NameOfCode(7, 224), "key_7");
    EXPECT_EQ(NameOfCode(120, 0), "F11");
    EXPECT_EQ(NameOfCode(7, 0), "F12");
}

TEST(NameOfCode, RoundTripsEveryTranslatedStroke) {
    for (int c = 0; c <= 0xFF; ++c) {
        for (bool extended : {false, true}) {
            const std::vector<CodeEntry> entries =
                TranslateKeyStroke(0, static_cast<std::uint8_t>(c), extended);
            int previous = 0;
            for (const CodeEntry& entry : entries) {
                SCOPED_TRACE(testing::Message() << "set-1 " << c << " extended " << extended);
                // A code without a set-2 value is an empty slot and is shown without a name.
                if (entry.code != 0) {
                    EXPECT_EQ(NameOfCode(entry.code, previous), entry.name);
                }
                previous = entry.code;
            }
        }
    }
}

} // namespace
} // namespace zr4700
