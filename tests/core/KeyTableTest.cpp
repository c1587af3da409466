// The key table: resetting, copying and propagating keys, the new-layout reset, the group
// counter and the switch between 56 and 112 keys.

#include "LayoutTestSupport.h"

#include "support/RecordingObserver.h"

#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

using Drawing = RecordingObserver::Drawing;

void ExpectFreshKey(const Layout& layout, int k) {
    SCOPED_TRACE("key " + std::to_string(k));
    const KeyRecord& record = layout.key(k);
    EXPECT_EQ(record.number, k);
    EXPECT_EQ(record.name, "KEY" + std::to_string(k));
    EXPECT_EQ(record.codes, KeyCodes{});
    EXPECT_TRUE(record.single());
    EXPECT_FALSE(record.group());
    EXPECT_EQ(record.mode(), 0);
    EXPECT_EQ(record.groupNumber, 0);
    EXPECT_EQ(layout.state(k), CellState::Blank);
    EXPECT_EQ(PartnersOf(layout, k), (std::array<int32_t, 3>{0, 0, 0}));
}

// Makes every key look used, so that a reset shows what it touched.
void Scramble(Layout& layout) {
    for (int k = 1; k <= kMaxKeys; ++k) {
        KeyRecord& record = layout.key(k);
        record.number = 999;
        record.codes = Codes({0x1C, 0x32});
        record.flags = 0xFD; // group, mode 3 and high bits; single clear
        record.name = "X";
        record.groupNumber = 77;
        layout.state(k) = CellState::Quad;
        layout.partners[static_cast<std::size_t>(k)] = {1, 2, 3};
    }
}

TEST(KeyTableTest, NewDocumentIsAFreshUntitledLayout) {
    Layout layout;
    for (int k = 1; k <= kMaxKeys; ++k)
        ExpectFreshKey(layout, k);
    EXPECT_EQ(layout.keyCount, 56);
    EXPECT_EQ(layout.currentKey, 1);
    EXPECT_EQ(layout.shownKey, 1);
    EXPECT_EQ(layout.nextGroupNumber, 1);
    EXPECT_EQ(layout.programmedKeyCount(), 0);
    EXPECT_EQ(layout.panel.panelName, "KEY1");
    EXPECT_EQ(layout.panel.panelNumber, 1u);
}

struct ResetCase {
    int key;
    int keyCount;
    std::vector<Drawing> drawings; // what the grid is told, in order
    bool changes;                  // whether the record changes at all
};

class ResetKeyBlankTest : public ::testing::TestWithParam<ResetCase> {};

TEST_P(ResetKeyBlankTest, ResetsOnlyKeysOfTheTable) {
    const ResetCase& c = GetParam();
    ObservedLayout doc(c.keyCount);
    Scramble(doc.layout);
    doc.layout.ResetKey(c.key, true);
    EXPECT_EQ(doc.observer.drawings, c.drawings);
    if (c.changes) {
        ExpectFreshKey(doc.layout, c.key);
        // Bits 4-7 carry no meaning and stay as they were.
        EXPECT_EQ(doc.layout.key(c.key).flags & 0xF0, 0xF0);
    }
    for (int k = 1; k <= kMaxKeys; ++k) {
        if (k != c.key) {
            EXPECT_EQ(doc.layout.key(k).number, 999) << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, ResetKeyBlankTest,
                         ::testing::Values(ResetCase{0, 56, {}, false},
                                           ResetCase{1, 56, {{1, 152}}, true},
                                           ResetCase{60, 56, {{60, 152}, {60, 154}}, true},
                                           ResetCase{60, 112, {{60, 152}}, true},
                                           ResetCase{112, 112, {{112, 152}}, true},
                                           ResetCase{112, 56, {{112, 152}, {112, 154}}, true},
                                           ResetCase{113, 112, {}, false},
                                           ResetCase{-1, 112, {}, false}));

TEST(KeyTableTest, ResetKeyNotBlankSplitsAMemberOffItsCell) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 3, {0x1C}, "Alpha");
    layout.key(3).setMode(2);
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    const int group = layout.key(4).groupNumber;
    doc.observer.Clear();

    layout.ResetKey(4, false);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{4, 153}}));
    const KeyRecord& record = layout.key(4);
    EXPECT_EQ(record.codes, Codes({0x1C}));
    EXPECT_EQ(record.name, "Alpha");
    EXPECT_EQ(layout.state(4), CellState::Single);
    EXPECT_FALSE(record.group());
    EXPECT_TRUE(record.single());
    EXPECT_EQ(record.mode(), 0); // its own mode, not the anchor's
    EXPECT_EQ(record.groupNumber, group);
    EXPECT_EQ(PartnersOf(layout, 4), (std::array<int32_t, 3>{0, 0, 0}));
}

TEST(KeyTableTest, ResetKeyNotBlankKeepsSingleFlagAndMode) {
    ObservedLayout doc;
    KeyRecord& record = doc.layout.key(9);
    record.codes = Codes({0x15});
    record.setSingle(false);
    record.setMode(1);
    record.groupNumber = 5;
    doc.layout.ResetKey(9, false);
    EXPECT_FALSE(record.single());
    EXPECT_EQ(record.mode(), 1);
    EXPECT_EQ(record.groupNumber, 5);
    EXPECT_EQ(record.codes, Codes({0x15}));
}

TEST(KeyTableTest, CopyKeyContentsCopiesEverythingButTheMode) {
    Layout layout;
    KeyRecord& src = layout.key(10);
    src.codes = Codes({224, 0x6C, 0x1C});
    src.name = "Source";
    src.groupNumber = 42;
    src.flags = 0x01 | 0x08 | 0x30; // group, single clear, mode 2, high bits
    KeyRecord& dst = layout.key(20);
    dst.flags = 0x02 | 0x04 | 0x80; // single, mode 1, a high bit

    layout.CopyKeyContents(20, 10);
    EXPECT_EQ(dst.number, 20);
    EXPECT_EQ(dst.codes, src.codes);
    EXPECT_EQ(dst.name, "Source");
    EXPECT_EQ(dst.groupNumber, 42);
    EXPECT_TRUE(dst.group());
    EXPECT_FALSE(dst.single());
    EXPECT_EQ(dst.mode(), 1);
    EXPECT_EQ(dst.flags & 0xF0, 0x80);
}

TEST(KeyTableTest, CopyKeyContentsIgnoresKeysOutsideTheTable) {
    Layout layout;
    layout.key(5).name = "Five";
    layout.CopyKeyContents(0, 5);
    layout.CopyKeyContents(113, 5);
    layout.CopyKeyContents(5, 0);
    EXPECT_EQ(layout.key(5).name, "Five");
    EXPECT_EQ(layout.key(0).name, "");
}

struct PropagateCase {
    const char* label;
    CellState state;
    std::array<int32_t, 3> partners;
    CellState stateAfter;
    std::vector<int> receivers;
};

class PropagateToGroupTest : public ::testing::TestWithParam<PropagateCase> {};

TEST_P(PropagateToGroupTest, CopiesIntoThePartnersOfTheCell) {
    const PropagateCase& c = GetParam();
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    layout.state(10) = c.state;
    layout.partners[10] = c.partners;
    layout.key(10).codes = Codes({0x1C, 0x32});
    layout.key(10).name = "Cell";
    for (int k : {11, 18, 19})
        layout.key(k).setMode(2);

    layout.PropagateToGroup(10);
    EXPECT_EQ(layout.state(10), c.stateAfter);
    for (int k : {11, 18, 19}) {
        const bool receives =
            std::find(c.receivers.begin(), c.receivers.end(), k) != c.receivers.end();
        EXPECT_EQ(layout.key(k).name, receives ? "Cell" : "KEY" + std::to_string(k)) << k;
        EXPECT_EQ(layout.key(k).codes, receives ? Codes({0x1C, 0x32}) : KeyCodes{}) << k;
        EXPECT_EQ(layout.key(k).mode(), 2) << k;
    }
    EXPECT_TRUE(doc.observer.drawings.empty()); // the caller reselects the key
}

INSTANTIATE_TEST_SUITE_P(
    States, PropagateToGroupTest,
    ::testing::Values(
        PropagateCase{"Blank", CellState::Blank, {0, 0, 0}, CellState::Single, {}},
        PropagateCase{"Single", CellState::Single, {0, 0, 0}, CellState::Single, {}},
        PropagateCase{"Double", CellState::Double, {11, 0, 0}, CellState::Double, {11}},
        PropagateCase{"Quad", CellState::Quad, {11, 18, 19}, CellState::Quad, {11, 18, 19}},
        // A damaged cell with empty partner slots copies nowhere.
        PropagateCase{"DoubleNoPartner", CellState::Double, {0, 0, 0}, CellState::Double, {}}),
    [](const auto& test) { return std::string(test.param.label); });

TEST(KeyTableTest, PropagateToGroupIgnoresKeysOutsideTheTable) {
    Layout layout;
    layout.PropagateToGroup(0);
    layout.PropagateToGroup(113);
    EXPECT_EQ(layout.state(1), CellState::Blank);
}

TEST(KeyTableTest, GroupCounterWrapsAfter255Cells) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "A");
    layout.currentKey = 1;
    for (int cell = 1; cell <= 255; ++cell) {
        ASSERT_TRUE(layout.FormDoubleRight()) << cell;
        ASSERT_EQ(layout.key(1).groupNumber, cell % 256);
        layout.SplitCell(false); // keys 1 and 2 single again
        layout.ResetKey(2, true);
    }
    EXPECT_EQ(layout.nextGroupNumber, 0);
    ASSERT_TRUE(layout.FormDoubleRight());
    EXPECT_EQ(layout.key(1).groupNumber, 0);
    EXPECT_EQ(layout.key(2).groupNumber, 0);
    EXPECT_EQ(layout.nextGroupNumber, 1);
}

TEST(KeyTableTest, ResetLayoutRestoresDefaultsButKeepsModelAndVariant) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    Scramble(layout);
    layout.fileName = "/tmp/layout.txt";
    layout.nextGroupNumber = 9;
    layout.settings = KeyboardSettings{1, 1, 0, 31, 200};
    layout.rfid = RfidSettings{5, 1, 13, 6, 1, 0};
    layout.scan16Mode = false;
    layout.fileIsScan16 = 0;
    layout.programmedKeyList.push_back({Codes({0x1C}), "A", 1});
    layout.programmedKeyOrder.push_back(0);
    layout.FillProgrammedKeyCombo();
    layout.SetProgrammedKeyComboSelection(0);
    layout.currentKey = layout.shownKey = 30;

    layout.ResetLayout();
    for (int k = 1; k <= kMaxKeys; ++k)
        ExpectFreshKey(layout, k);
    EXPECT_EQ(layout.fileName, "");
    EXPECT_EQ(layout.nextGroupNumber, 1);
    EXPECT_EQ(layout.settings.keysType, 0);
    EXPECT_EQ(layout.settings.keyBeep, 0);
    EXPECT_EQ(layout.settings.keyDelay, 2);
    EXPECT_EQ(layout.settings.typematicRate, 11);
    EXPECT_EQ(layout.settings.keysPause, 3);
    EXPECT_EQ(layout.rfid.prefix, 0);
    EXPECT_EQ(layout.rfid.prefixExtended, 0);
    EXPECT_EQ(layout.rfid.digitsCount, 9);
    EXPECT_EQ(layout.rfid.suffix, 0);
    EXPECT_EQ(layout.rfid.suffixExtended, 0);
    EXPECT_EQ(layout.rfid.digitsNum, 1);
    EXPECT_EQ(layout.programmedKeyCount(), 0);
    EXPECT_TRUE(layout.programmedKeyOrder.empty());
    EXPECT_TRUE(ProgrammedKeyItems(layout).empty());
    EXPECT_EQ(layout.programmedKeyComboSelection, -1);
    EXPECT_EQ(layout.currentKey, 1);
    EXPECT_EQ(layout.shownKey, 1);
    EXPECT_EQ(layout.keyCount, 112);
    EXPECT_FALSE(layout.scan16Mode);
    EXPECT_EQ(layout.fileIsScan16, 0);
    // The panel shows a fresh key 1, highlighted.
    EXPECT_EQ(layout.panel.panelName, "KEY1");
    EXPECT_EQ(layout.panel.panelSingle, 1);
    EXPECT_EQ(layout.panel.panelGroup, 0);
    EXPECT_EQ(layout.panel.panelMode, 0);
    EXPECT_EQ(doc.observer.LastPictureAt(1), kPictureSelectedBlank);
    EXPECT_EQ(doc.observer.LastPictureAt(112), kPictureBlank);
}

TEST(KeyTableTest, ResetLayoutDoesNotRecordTheKeyBeingLeft) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 5, {0x1C}, "Five");
    layout.currentKey = 5;
    layout.shownKey = 5;
    layout.ResetLayout();
    EXPECT_EQ(layout.programmedKeyCount(), 0);
}

TEST(KeyTableTest, ResetLayoutDrawsTheRightBlockAbsentWith56Keys) {
    ObservedLayout doc(56);
    doc.layout.ResetLayout();
    for (int k = 57; k <= kMaxKeys; ++k)
        EXPECT_EQ(doc.observer.LastPictureAt(k), kPictureAbsent) << k;
    EXPECT_EQ(doc.observer.LastPictureAt(56), kPictureBlank);
}

TEST(KeyTableTest, SwitchTo56KeysClearsTheRightBlock) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    Program(layout, 60, {0x1C}, "Sixty");
    layout.currentKey = 60;
    ASSERT_TRUE(layout.FormDoubleDown());
    Program(layout, 5, {0x32}, "Five");
    doc.observer.Clear();

    layout.keyCount = 56;
    layout.AlignKeysWithKeyCount();
    for (int k = 57; k <= kMaxKeys; ++k) {
        ExpectFreshKey(layout, k);
        EXPECT_EQ(doc.observer.LastPictureAt(k), kPictureAbsent);
    }
    EXPECT_EQ(layout.key(5).name, "Five");
    // Ascending order, each key blank first, then absent.
    ASSERT_GE(doc.observer.drawings.size(), 2u);
    EXPECT_EQ(doc.observer.drawings[0], (Drawing{57, 152}));
    EXPECT_EQ(doc.observer.drawings[1], (Drawing{57, 154}));
}

TEST(KeyTableTest, SwitchTo112KeysDrawsBlankRightKeysAsBlank) {
    ObservedLayout doc(56);
    Layout& layout = doc.layout;
    layout.keyCount = 112;
    layout.state(70) = CellState::Single; // only blank keys are redrawn
    layout.AlignKeysWithKeyCount();
    EXPECT_EQ(doc.observer.drawings.size(), 55u);
    EXPECT_EQ(doc.observer.LastPictureAt(57), kPictureBlank);
    EXPECT_EQ(doc.observer.LastPictureAt(70), 0);
    EXPECT_EQ(doc.observer.LastPictureAt(1), 0);
}

TEST(KeyTableTest, NamesAreCutToWhatTheirFieldsHold) {
    KeyRecord record;
    record.setName(std::string(150, 'n'));
    EXPECT_EQ(record.name.size(), kMaxKeyNameLength);
    ProgrammedKeyEntry entry;
    entry.setName(std::string(150, 'n'));
    EXPECT_EQ(entry.name.size(), kMaxEntryNameLength);
}

TEST(CutName, NeverSplitsACharacter) {
    struct Case {
        std::string name;
        std::size_t limit;
        std::string expected;
    };
    const std::string e = "\xC3\xA9";        // two bytes
    const std::string euro = "\xE2\x82\xAC"; // three bytes
    const Case cases[] = {
        {"KEY1", 102, "KEY1"}, {"abcdef", 3, "abc"}, {"a" + e, 2, "a"},     {"a" + e, 3, "a" + e},
        {e + e, 3, e},         {euro + "x", 2, ""},  {euro + "x", 3, euro}, {"", 5, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutName(c.name, c.limit), c.expected) << c.name << " cut at " << c.limit;
}

} // namespace
} // namespace zr4700::testing
