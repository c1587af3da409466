// The programmed-key list behind the "Programmed keys:" combo box, and the key popup menu's
// enabling rules.

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

std::vector<std::string> Items(std::initializer_list<const char*> items) {
    return {items.begin(), items.end()};
}

// Records key k into the list the way leaving it does.
void Record(Layout& layout, int k) {
    layout.shownKey = k;
    layout.UpdateProgrammedKeyList();
}

TEST(ProgrammedKeyListTest, AKeyWithoutCodesIsNotRecorded) {
    ObservedLayout doc;
    Record(doc.layout, 4);
    EXPECT_EQ(doc.layout.programmedKeyCount(), 0);
    EXPECT_EQ(doc.observer.comboChanges, 0);
}

TEST(ProgrammedKeyListTest, NewKeysAreAppendedMarkedAndSorted) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "Delta");
    Program(layout, 2, {0x32}, "alpha");
    Program(layout, 3, {0x21}, "Bravo");
    for (int k : {1, 2, 3})
        Record(layout, k);
    ASSERT_EQ(layout.programmedKeyCount(), 3);
    // Storage keeps the order of adding; the combo box shows them by name, byte-wise.
    EXPECT_EQ(layout.programmedKeyList[0].name, "Delta");
    EXPECT_EQ(layout.programmedKeyOrder, (std::vector<int32_t>{2, 0, 1}));
    EXPECT_EQ(ProgrammedKeyItems(layout), Items({"Bravo *", "Delta *", "alpha *"}));
    EXPECT_EQ(layout.programmedKeyComboSelection, -1);
    for (const ProgrammedKeyEntry& entry : layout.programmedKeyList)
        EXPECT_EQ(entry.inUse, 1);
}

TEST(ProgrammedKeyListTest, SortComparesBytesAsUnsigned) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    const std::vector<std::string> names = {"z", "\xC3\xA9t\xC3\xA9", "Z", "", "a b", "ab"};
    for (const std::string& name : names)
        layout.programmedKeyList.push_back({Codes({0x1C}), name, 0});
    for (int32_t e = 0; e < static_cast<int32_t>(names.size()); ++e)
        layout.programmedKeyOrder.push_back(e);
    layout.SortProgrammedKeyList();
    EXPECT_EQ(ProgrammedKeyItems(layout),
              (std::vector<std::string>{"", "Z", "a b", "ab", "z", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_EQ(layout.programmedKeyOrder, (std::vector<int32_t>{3, 2, 4, 5, 0, 1}));
}

TEST(ProgrammedKeyListTest, AKnownNameTakesTheNewCodesOnly) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "Key");
    Record(layout, 1);
    layout.programmedKeyList[0].inUse = 0;
    layout.FillProgrammedKeyCombo();
    doc.observer.Clear();

    layout.key(1).codes = Codes({0x32, 0x21});
    Record(layout, 1);
    ASSERT_EQ(layout.programmedKeyCount(), 1);
    EXPECT_EQ(layout.programmedKeyList[0].codes, Codes({0x32, 0x21}));
    EXPECT_EQ(layout.programmedKeyList[0].inUse, 0);
    EXPECT_EQ(doc.observer.comboChanges, 0); // no re-sort
    EXPECT_EQ(ProgrammedKeyItems(layout), Items({"Key"}));
}

TEST(ProgrammedKeyListTest, KnownCodesUnderANewNameRenameTheEntry) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "Mike");
    Program(layout, 2, {0x32}, "Lima");
    Record(layout, 1);
    Record(layout, 2);
    EXPECT_EQ(ProgrammedKeyItems(layout), Items({"Lima *", "Mike *"}));
    layout.key(1).name = "Kilo";
    Record(layout, 1);
    ASSERT_EQ(layout.programmedKeyCount(), 2);
    EXPECT_EQ(layout.programmedKeyList[0].name, "Kilo");
    EXPECT_EQ(ProgrammedKeyItems(layout), Items({"Kilo *", "Lima *"}));
}

TEST(ProgrammedKeyListTest, TheListGrowsPastTwoHundredEntries) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.key(1).codes = Codes({0x1C});
    for (int n = 0; n < 250; ++n) {
        layout.key(1).name = "K" + std::to_string(1000 + n);
        layout.key(1).codes[1] = n + 1; // new codes and a new name: a new entry
        Record(layout, 1);
    }
    EXPECT_EQ(layout.programmedKeyCount(), 250);
    EXPECT_EQ(layout.programmedKeyOrder.size(), 250u);
    EXPECT_EQ(ProgrammedKeyItems(layout).front(), "K1000 *");
    EXPECT_EQ(ProgrammedKeyItems(layout).back(), "K1249 *");
}

TEST(ProgrammedKeyListTest, LongNamesAreCutAndStillFindTheirEntry) {
    struct Case {
        std::string name;
        std::string entryName;
    };
    const std::string twoByteChar = "\xC3\xA9"; // e acute: byte 99 falls inside it
    const Case cases[] = {
        {std::string(102, 'x'), std::string(99, 'x')},
        {std::string(98, 'a') + twoByteChar + "bc", std::string(98, 'a')},
    };
    for (const Case& c : cases) {
        ObservedLayout doc;
        Layout& layout = doc.layout;
        Program(layout, 1, {0x1C}, c.name);
        Record(layout, 1);
        ASSERT_EQ(layout.programmedKeyCount(), 1);
        EXPECT_EQ(layout.programmedKeyList[0].name, c.entryName);
        layout.key(1).codes = Codes({0x32});
        Record(layout, 1); // the same entry, by its name
        EXPECT_EQ(layout.programmedKeyCount(), 1);
        EXPECT_EQ(layout.programmedKeyList[0].codes, Codes({0x32}));
        layout.panel.panelName = c.name;
        layout.SelectProgrammedKeyEntry();
        EXPECT_EQ(layout.programmedKeyComboSelection, 0);
        // Choosing the entry finds the key again.
        layout.OnProgrammedKeySelected(0);
        EXPECT_EQ(layout.shownKey, 1) << c.name;
    }
}

TEST(ProgrammedKeyListTest, SelectEntryFindsThePositionShowingThePanelName) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "Charlie");
    Program(layout, 2, {0x32}, "Alpha");
    Program(layout, 3, {0x21}, "Bravo");
    for (int k : {1, 2, 3})
        Record(layout, k);
    layout.panel.panelName = "Charlie";
    layout.SelectProgrammedKeyEntry();
    EXPECT_EQ(layout.programmedKeyComboSelection, 2);
    layout.panel.panelName = "Nobody";
    layout.SelectProgrammedKeyEntry();
    EXPECT_EQ(layout.programmedKeyComboSelection, 2);
}

TEST(ProgrammedKeyListTest, ComboSelectionPastTheItemsIsNone) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.SetProgrammedKeyComboSelection(0);
    EXPECT_EQ(layout.programmedKeyComboSelection, -1);
    Program(layout, 1, {0x1C}, "One");
    Record(layout, 1);
    layout.SetProgrammedKeyComboSelection(0);
    EXPECT_EQ(layout.programmedKeyComboSelection, 0);
    layout.SetProgrammedKeyComboSelection(5);
    EXPECT_EQ(layout.programmedKeyComboSelection, -1);
}

TEST(ProgrammedKeyListTest, RebuildTakesEachNameOnceFromTheKeysOfTheModel) {
    ObservedLayout doc(56);
    Layout& layout = doc.layout;
    Record(layout, 0); // nothing to record
    layout.programmedKeyList.push_back({Codes({0x44}), "Stale", 0});
    layout.programmedKeyOrder.push_back(0);
    Program(layout, 3, {0x1C}, "Same");
    Program(layout, 9, {0x32}, "Same");
    Program(layout, 12, {0x21}, "Other");
    layout.key(60).codes = Codes({0x23}); // outside a 56-key model
    layout.RebuildProgrammedKeyList();
    ASSERT_EQ(layout.programmedKeyCount(), 2);
    EXPECT_EQ(layout.programmedKeyList[0].name, "Same");
    EXPECT_EQ(layout.programmedKeyList[0].codes, Codes({0x1C}));
    EXPECT_EQ(ProgrammedKeyItems(layout), Items({"Other *", "Same *"}));
    EXPECT_EQ(layout.programmedKeyComboSelection, 0);
}

TEST(ProgrammedKeyListTest, RebuildOfAnEmptyLayoutSelectsNothing) {
    ObservedLayout doc;
    doc.layout.RebuildProgrammedKeyList();
    EXPECT_TRUE(ProgrammedKeyItems(doc.layout).empty());
    EXPECT_EQ(doc.layout.programmedKeyComboSelection, -1);
}

// ---- The key popup menu ------------------------------------------------------------------------

struct PopupCase {
    const char* label;
    int keyCount;
    int key;
    CellState state;
    std::vector<int> programmedNeighbours;
    Layout::PopupState expected; // copyKey and clearAll as set up below
};

Layout::PopupState Enabled(bool single, bool toRight, bool toDown, bool quad, bool clearKey) {
    Layout::PopupState state;
    state.single = single;
    state.toRight = toRight;
    state.toDown = toDown;
    state.quad = quad;
    state.clearKey = clearKey;
    state.clearAll = true;
    state.copyKey = false;
    return state;
}

class PopupStateTest : public ::testing::TestWithParam<PopupCase> {};

TEST_P(PopupStateTest, EnablesTheItemsThatCanAct) {
    const PopupCase& c = GetParam();
    ObservedLayout doc(c.keyCount);
    Layout& layout = doc.layout;
    Program(layout, 50, {0x1C}); // some key has codes: "Clear All" enabled
    layout.state(c.key) = c.state;
    for (int k : c.programmedNeighbours)
        Program(layout, k, {0x32});
    const Layout::PopupState popup = layout.PopupStateFor(c.key);
    EXPECT_EQ(popup.single, c.expected.single);
    EXPECT_EQ(popup.toRight, c.expected.toRight);
    EXPECT_EQ(popup.toDown, c.expected.toDown);
    EXPECT_EQ(popup.quad, c.expected.quad);
    EXPECT_EQ(popup.clearKey, c.expected.clearKey);
    EXPECT_EQ(popup.clearAll, c.expected.clearAll);
    EXPECT_EQ(popup.copyKey, c.expected.copyKey);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PopupStateTest,
    ::testing::Values(
        PopupCase{
            "Blank", 56, 10, CellState::Blank, {}, Enabled(false, false, false, false, false)},
        PopupCase{
            "SingleFree", 56, 10, CellState::Single, {}, Enabled(false, true, true, true, true)},
        PopupCase{"Single16LastColumn",
                  56,
                  16,
                  CellState::Single,
                  {},
                  Enabled(false, false, true, false, true)},
        PopupCase{"Single52LastRow56",
                  56,
                  52,
                  CellState::Single,
                  {},
                  Enabled(false, true, false, false, true)},
        PopupCase{"Single52LastRow112",
                  112,
                  52,
                  CellState::Single,
                  {},
                  Enabled(false, true, false, false, true)},
        PopupCase{"Single100With112",
                  112,
                  100,
                  CellState::Single,
                  {},
                  Enabled(false, true, true, true, true)},
        PopupCase{"Single105LastRow112",
                  112,
                  105,
                  CellState::Single,
                  {},
                  Enabled(false, true, false, false, true)},
        PopupCase{"Single112Corner",
                  112,
                  112,
                  CellState::Single,
                  {},
                  Enabled(false, false, false, false, true)},
        PopupCase{"SingleRightTaken",
                  56,
                  10,
                  CellState::Single,
                  {11},
                  Enabled(false, false, true, false, true)},
        PopupCase{"SingleBelowTaken",
                  56,
                  10,
                  CellState::Single,
                  {18},
                  Enabled(false, true, false, false, true)},
        // The diagonal key is left to the command itself.
        PopupCase{"SingleDiagonalTaken",
                  56,
                  10,
                  CellState::Single,
                  {19},
                  Enabled(false, true, true, true, true)},
        PopupCase{
            "Double", 56, 10, CellState::Double, {}, Enabled(true, false, false, false, true)},
        PopupCase{"Quad", 56, 10, CellState::Quad, {}, Enabled(true, false, false, false, true)},
        PopupCase{
            "NoKey", 56, 0, CellState::Blank, {}, Enabled(false, false, false, false, false)}),
    [](const auto& test) { return std::string(test.param.label); });

TEST(PopupStateTest, ClearAllNeedsAKeyWithCodesInTheModel) {
    ObservedLayout doc(56);
    Layout& layout = doc.layout;
    EXPECT_FALSE(layout.PopupStateFor(1).clearAll);
    layout.key(60).codes = Codes({0x1C}); // beyond 56 keys
    EXPECT_FALSE(layout.PopupStateFor(1).clearAll);
    layout.key(56).codes = Codes({0x1C});
    EXPECT_TRUE(layout.PopupStateFor(1).clearAll);
}

TEST(PopupStateTest, CopyKeyNeedsASelectedItemWithText) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    EXPECT_FALSE(layout.PopupStateFor(1).copyKey);
    layout.programmedKeyList.push_back({Codes({0x1C}), "", 0});
    layout.programmedKeyList.push_back({Codes({0x32}), "", 1});
    layout.programmedKeyOrder = {0, 1};
    layout.FillProgrammedKeyCombo();
    EXPECT_EQ(ProgrammedKeyItems(layout), Items({"", " *"}));
    EXPECT_FALSE(layout.PopupStateFor(1).copyKey); // nothing selected
    layout.SetProgrammedKeyComboSelection(0);
    EXPECT_FALSE(layout.PopupStateFor(1).copyKey); // empty text
    layout.SetProgrammedKeyComboSelection(1);
    EXPECT_TRUE(layout.PopupStateFor(1).copyKey);
}

} // namespace
} // namespace zr4700::testing
