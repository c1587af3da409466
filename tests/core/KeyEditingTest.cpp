// The key editing commands: codes from the capture dialog, "Copy key", "Clear Key" and
// "Clear All", with scripted answers to their questions.

#include "LayoutTestSupport.h"

#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

using Args = std::vector<std::string>;
using CodeNames = std::array<std::string, kCodeSlots>;

CodeNames Names(std::initializer_list<const char*> names) {
    CodeNames result;
    std::size_t slot = 0;
    for (const char* name : names)
        result[slot++] = name;
    return result;
}

// What the window does around the capture dialog: select the key, then hand back its result.
void Capture(Layout& layout, int k, const KeyCodes& codes, const CodeNames& names,
             UserPrompts& prompts) {
    layout.currentKey = k;
    layout.SelectKey(k);
    layout.ApplyCapturedCodes(codes, names, prompts);
}

TEST(CapturedCodesTest, ProgrammingABlankKeyMakesItSingleAndRecordsIt) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    ScriptedPrompts prompts;
    layout.currentKey = 5;
    layout.SelectKey(5);
    layout.panel.panelName = "Enter";
    layout.panel.panelSingle = 0;
    layout.ApplyCapturedCodes(Codes({0x5A}), Names({"Enter"}), prompts);

    const KeyRecord& record = layout.key(5);
    EXPECT_EQ(layout.state(5), CellState::Single);
    EXPECT_EQ(record.codes, Codes({0x5A}));
    EXPECT_EQ(record.name, "Enter");
    EXPECT_FALSE(record.single());
    ASSERT_EQ(layout.programmedKeyCount(), 1);
    EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Enter *"}));
    EXPECT_EQ(layout.programmedKeyComboSelection, 0);
    // The key is shown again with its codes.
    EXPECT_EQ(layout.shownKey, 5);
    EXPECT_EQ(layout.panel.panelCodeNames[0], "Enter");
    EXPECT_EQ(doc.observer.LastPictureAt(5), kPictureSelectedProgrammed);
    EXPECT_TRUE(prompts.asked().empty());
}

TEST(CapturedCodesTest, AMemberOfADoublePassesCodesAndNameToItsPartner) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    ScriptedPrompts prompts;
    Program(layout, 3, {0x1C}, "Pair");
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    layout.key(3).setMode(1);
    Capture(layout, 4, Codes({0x32}), Names({"B"}), prompts);
    layout.panel.panelName = "Renamed";
    layout.ApplyCapturedCodes(Codes({0x21, 0x23}), Names({"C", "D"}), prompts);
    for (int k : {3, 4}) {
        EXPECT_EQ(layout.key(k).codes, Codes({0x21, 0x23})) << k;
        EXPECT_EQ(layout.key(k).name, "Renamed") << k;
        EXPECT_EQ(layout.state(k), CellState::Double) << k;
        EXPECT_TRUE(layout.key(k).group()) << k;
    }
    EXPECT_EQ(layout.key(3).mode(), 1);
    EXPECT_EQ(layout.key(4).mode(), 0);
}

TEST(CapturedCodesTest, TheComboSelectsTheKeysNameWhereverItIsSorted) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    ScriptedPrompts prompts;
    Program(layout, 1, {0x1C}, "Alpha");
    Program(layout, 2, {0x32}, "Charlie");
    layout.RebuildProgrammedKeyList();
    layout.currentKey = 7;
    layout.SelectKey(7);
    layout.panel.panelName = "Bravo";
    layout.ApplyCapturedCodes(Codes({0x21}), Names({"C"}), prompts);
    EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Alpha *", "Bravo *", "Charlie *"}));
    EXPECT_EQ(layout.programmedKeyComboSelection, 1);
}

TEST(CapturedCodesTest, AnUnmarkedEntryOfTheSameNameTakesTheCodesButNoMark) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    ScriptedPrompts prompts;
    layout.programmedKeyList.push_back({Codes({0x1C}), "Old", 0});
    layout.programmedKeyOrder.push_back(0);
    layout.FillProgrammedKeyCombo();
    Capture(layout, 9, {}, {}, prompts); // blank key, no codes: nothing happens
    layout.panel.panelName = "Old";
    layout.ApplyCapturedCodes(Codes({0x32}), Names({"B"}), prompts);
    ASSERT_EQ(layout.programmedKeyCount(), 1);
    EXPECT_EQ(layout.programmedKeyList[0].codes, Codes({0x32}));
    EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Old"}));
    EXPECT_EQ(layout.programmedKeyComboSelection, 0);
}

TEST(CapturedCodesTest, NoCodesOnABlankKeyStoresOnlyThePanelValues) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    ScriptedPrompts prompts; // no question
    layout.currentKey = 6;
    layout.SelectKey(6);
    layout.panel.panelName = "Typed";
    layout.ApplyCapturedCodes({}, {}, prompts);
    EXPECT_EQ(layout.key(6).name, "Typed");
    EXPECT_EQ(layout.state(6), CellState::Blank);
    EXPECT_EQ(layout.programmedKeyCount(), 0);
}

class CapturedClearPathTest : public ::testing::TestWithParam<bool> {};

TEST_P(CapturedClearPathTest, NoCodesOnAProgrammedCellAsksToClearIt) {
    const bool yes = GetParam();
    ObservedLayout doc;
    Layout& layout = doc.layout;
    ScriptedPrompts prompts;
    Program(layout, 3, {0x1C}, "Pair");
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    layout.currentKey = 7;
    layout.SelectKey(7); // records "Pair"
    layout.SetProgrammedKeyComboSelection(0);

    prompts.ExpectQuestion(kStrClearKeyQuestion, yes, Args{"Pair"});
    Capture(layout, 4, {}, Names({}), prompts);
    if (yes) {
        for (int k : {3, 4}) {
            EXPECT_EQ(layout.state(k), CellState::Blank) << k;
            EXPECT_EQ(layout.key(k).name, "KEY" + std::to_string(k)) << k;
            EXPECT_EQ(layout.key(k).codes, KeyCodes{}) << k;
        }
        EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Pair"}));
        EXPECT_EQ(layout.programmedKeyComboSelection, 0);
        EXPECT_EQ(doc.observer.LastPictureAt(4), kPictureSelectedBlank);
    } else {
        for (int k : {3, 4}) {
            EXPECT_EQ(layout.state(k), CellState::Double) << k;
            EXPECT_EQ(layout.key(k).codes, Codes({0x1C})) << k;
        }
        EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Pair *"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, CapturedClearPathTest, ::testing::Bool());

TEST(CapturedCodesTest, WithoutAKeyNothingIsStored) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    ScriptedPrompts prompts;
    layout.currentKey = 0;
    layout.panel.panelName = "Nobody";
    doc.observer.Clear();
    layout.ApplyCapturedCodes(Codes({0x1C}), Names({"A"}), prompts);
    EXPECT_EQ(layout.key(0).name, "");
    EXPECT_TRUE(doc.observer.drawings.empty());
}

// ---- "Copy key" ------------------------------------------------------------------------------

// A list with "Alpha" (codes 0x1C, in use) and "Bravo" (codes 0x32, not in use), Bravo selected.
void TwoEntries(Layout& layout) {
    layout.programmedKeyList.push_back({Codes({0x32}), "Bravo", 0});
    layout.programmedKeyList.push_back({Codes({0x1C}), "Alpha", 1});
    layout.programmedKeyOrder = {0, 1};
    layout.SortProgrammedKeyList();
    layout.SetProgrammedKeyComboSelection(1);
}

TEST(CopyKeyTest, YesCopiesTheEntryOntoTheKeyAndItsCell) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    TwoEntries(layout);
    Program(layout, 10, {0x21}, "Quad");
    layout.currentKey = 10;
    ASSERT_TRUE(layout.FormQuad());
    const uint8_t flags = layout.key(10).flags;
    const int group = layout.key(10).groupNumber;
    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrInsertKeyQuestion, true, Args{"Bravo", "10"});
    layout.CopyKey(prompts);

    for (int k : {10, 11, 18, 19}) {
        EXPECT_EQ(layout.key(k).name, "Bravo") << k;
        EXPECT_EQ(layout.key(k).codes, Codes({0x32})) << k;
        EXPECT_EQ(layout.state(k), CellState::Quad) << k;
    }
    EXPECT_EQ(layout.key(10).flags, flags);
    EXPECT_EQ(layout.key(10).groupNumber, group);
    EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Alpha *", "Bravo *"}));
    EXPECT_EQ(layout.programmedKeyComboSelection, 1);
    EXPECT_EQ(layout.shownKey, 10);
    EXPECT_EQ(layout.panel.panelName, "Bravo");
}

TEST(CopyKeyTest, ABlankKeyBecomesSingle) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    TwoEntries(layout);
    layout.currentKey = 20;
    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrInsertKeyQuestion, true, Args{"Bravo", "20"});
    layout.CopyKey(prompts);
    EXPECT_EQ(layout.state(20), CellState::Single);
    EXPECT_EQ(doc.observer.LastPictureAt(20), kPictureSelectedProgrammed);
}

TEST(CopyKeyTest, NoChangesNothingButShowsTheKey) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    TwoEntries(layout);
    layout.currentKey = 20;
    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrInsertKeyQuestion, false);
    layout.CopyKey(prompts);
    EXPECT_EQ(layout.key(20).name, "KEY20");
    EXPECT_EQ(layout.state(20), CellState::Blank);
    EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Alpha *", "Bravo"}));
    EXPECT_EQ(layout.shownKey, 20);
}

TEST(CopyKeyTest, AnEntryWithoutANameIsNotAskedAbout) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.programmedKeyList.push_back({Codes({0x32}), "", 1});
    layout.programmedKeyOrder = {0};
    layout.FillProgrammedKeyCombo();
    layout.SetProgrammedKeyComboSelection(0);
    layout.currentKey = 20;
    ScriptedPrompts prompts;
    layout.CopyKey(prompts);
    EXPECT_EQ(layout.key(20).codes, KeyCodes{});
    EXPECT_EQ(layout.shownKey, 20);
}

TEST(CopyKeyTest, WithoutASelectionOnlyTheKeyIsShown) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    TwoEntries(layout);
    layout.SetProgrammedKeyComboSelection(-1);
    layout.currentKey = 20;
    ScriptedPrompts prompts;
    layout.CopyKey(prompts);
    EXPECT_EQ(layout.key(20).codes, KeyCodes{});
    EXPECT_EQ(layout.shownKey, 20);
}

// ---- "Clear Key" -----------------------------------------------------------------------------

TEST(ClearKeyTest, ABlankKeyIsIgnored) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.currentKey = 9;
    ScriptedPrompts prompts;
    layout.ClearKey(prompts);
    EXPECT_TRUE(doc.observer.drawings.empty());
    EXPECT_EQ(layout.shownKey, 1);
}

TEST(ClearKeyTest, NoKeepsTheKeyAndShowsIt) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 9, {0x1C}, "Nine");
    layout.currentKey = 9;
    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrClearKeyQuestion, false, Args{"Nine"});
    layout.ClearKey(prompts);
    EXPECT_EQ(layout.state(9), CellState::Single);
    EXPECT_EQ(layout.shownKey, 9);
}

TEST(ClearKeyTest, ClearsTheWholeCellFromAnyMember) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 3, {0x1C}, "Pair");
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    layout.currentKey = 4;
    layout.SelectKey(4);
    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrClearKeyQuestion, true, Args{"Pair"});
    layout.ClearKey(prompts);
    EXPECT_EQ(layout.state(3), CellState::Blank);
    EXPECT_EQ(layout.state(4), CellState::Blank);
    EXPECT_EQ(layout.key(3).name, "KEY3");
    EXPECT_EQ(layout.key(4).name, "KEY4");
}

TEST(ClearKeyTest, TheMarkGoesOnlyWithTheLastKeyOfThatName) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "Twin");
    Program(layout, 2, {0x1C}, "Twin");
    Program(layout, 5, {0x32}, "Other");
    layout.RebuildProgrammedKeyList();
    layout.SetProgrammedKeyComboSelection(1);
    ASSERT_EQ(ProgrammedKeyItems(layout), (Args{"Other *", "Twin *"}));

    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrClearKeyQuestion, true, Args{"Twin"});
    layout.currentKey = 1;
    layout.ClearKey(prompts);
    EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Other *", "Twin *"}));

    prompts.ExpectQuestion(kStrClearKeyQuestion, true, Args{"Twin"});
    layout.currentKey = 2;
    layout.ClearKey(prompts);
    EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Other *", "Twin"}));
    EXPECT_EQ(layout.programmedKeyComboSelection, 1);
    EXPECT_EQ(layout.programmedKeyCount(), 2);
    EXPECT_EQ(layout.shownKey, 2);
}

// ---- "Clear All" -----------------------------------------------------------------------------

class ClearAllTest : public ::testing::TestWithParam<bool> {};

TEST_P(ClearAllTest, SelectsKeyOneAndTheFirstItemWhateverTheAnswer) {
    const bool yes = GetParam();
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    layout.fileName = "/tmp/keys.txt";
    Program(layout, 7, {0x1C}, "Seven");
    Program(layout, 90, {0x32}, "Ninety");
    layout.RebuildProgrammedKeyList();
    layout.currentKey = 90;
    layout.SelectKey(90);
    ScriptedPrompts prompts;
    prompts.ExpectQuestion(kStrClearAllQuestion, yes, Args{});
    layout.ClearAll(prompts);

    EXPECT_EQ(layout.currentKey, 1);
    EXPECT_EQ(layout.shownKey, 1);
    EXPECT_EQ(layout.programmedKeyComboSelection, 0);
    EXPECT_EQ(layout.programmedKeyCount(), 2);
    if (yes) {
        EXPECT_EQ(layout.fileName, "");
        EXPECT_EQ(layout.state(90), CellState::Blank);
        EXPECT_EQ(layout.key(90).name, "KEY90");
        EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Ninety", "Seven"}));
    } else {
        EXPECT_EQ(layout.fileName, "/tmp/keys.txt");
        EXPECT_EQ(layout.state(90), CellState::Single);
        EXPECT_EQ(ProgrammedKeyItems(layout), (Args{"Ninety *", "Seven *"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ClearAllTest, ::testing::Bool());

} // namespace
} // namespace zr4700::testing
