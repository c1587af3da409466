// The key panel's own edits: stepping through keys, the name, "Single key", the modes, the two
// "for all keys" buttons and choosing an entry of the programmed-key list.

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

struct StepCase {
    int keyCount;
    bool next;
    int from;
    int to;
};

class PanelStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(PanelStepTest, WrapsAroundTheModel) {
    const StepCase& c = GetParam();
    ObservedLayout doc(c.keyCount);
    Layout& layout = doc.layout;
    layout.currentKey = c.from;
    if (c.from == 0)
        layout.shownKey = 0;
    if (c.next)
        layout.OnNextKey();
    else
        layout.OnPreviousKey();
    EXPECT_EQ(layout.currentKey, c.to);
    EXPECT_EQ(layout.shownKey, c.to);
    EXPECT_EQ(layout.panel.panelNumber, static_cast<uint32_t>(c.to));
}

INSTANTIATE_TEST_SUITE_P(Edges, PanelStepTest,
                         ::testing::Values(StepCase{112, false, 1, 112}, StepCase{56, false, 1, 56},
                                           StepCase{56, false, 30, 29}, StepCase{56, true, 56, 1},
                                           StepCase{112, true, 56, 57}, StepCase{112, true, 112, 1},
                                           // No key shown: ">>" gives key 1, "<<" the last.
                                           StepCase{56, true, 0, 1}, StepCase{112, false, 0, 112}));

TEST(KeyPanelTest, TypingInTheNameOfAProgrammedKeyRenamesItsEntry) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "Ab");
    Program(layout, 2, {0x32}, "Zulu");
    layout.RebuildProgrammedKeyList();
    layout.currentKey = 1;
    layout.SelectKey(1);
    for (const char* typed : {"Abc", "Abcd", "Zzz"}) {
        layout.KeyNameChanged(typed);
        EXPECT_EQ(layout.key(1).name, typed);
        EXPECT_EQ(layout.panel.panelName, typed);
        ASSERT_EQ(layout.programmedKeyCount(), 2);
        EXPECT_EQ(layout.programmedKeyList[0].name, typed);
        const std::string item = std::string(typed) + " *";
        ASSERT_GE(layout.programmedKeyComboSelection, 0);
        EXPECT_EQ(ProgrammedKeyItems(
                      layout)[static_cast<std::size_t>(layout.programmedKeyComboSelection)],
                  item);
    }
    EXPECT_EQ(ProgrammedKeyItems(layout), (std::vector<std::string>{"Zulu *", "Zzz *"}));
}

TEST(KeyPanelTest, TypingInTheNameOfAKeyWithoutCodesLeavesTheList) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.currentKey = 3;
    layout.SelectKey(3);
    doc.observer.Clear();
    layout.KeyNameChanged("Spare");
    EXPECT_EQ(layout.key(3).name, "Spare");
    EXPECT_EQ(layout.programmedKeyCount(), 0);
    EXPECT_EQ(doc.observer.comboChanges, 0);
}

TEST(KeyPanelTest, ANameIsCutToWhatTheRecordHolds) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.KeyNameChanged(std::string(120, 'q'));
    EXPECT_EQ(layout.key(1).name, std::string(102, 'q'));
    EXPECT_EQ(layout.panel.panelName, std::string(102, 'q'));
}

TEST(KeyPanelTest, SingleKeyChangesTheShownKeyAlone) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 3, {0x1C}, "Pair");
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    layout.SingleKeyChanged(false);
    EXPECT_FALSE(layout.key(3).single());
    EXPECT_TRUE(layout.key(4).single());
    EXPECT_EQ(layout.panel.panelSingle, 0);
}

TEST(KeyPanelTest, Mode2OnKey5ChangesOnlyItsModeBits) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.key(5).flags = 0xF3; // high bits, single and group set
    layout.currentKey = 5;
    layout.SelectKey(5);
    doc.observer.Clear();
    layout.SetMode(1);
    EXPECT_EQ(layout.key(5).flags, 0xF7);
    EXPECT_EQ(layout.panel.panelMode, 1);
    EXPECT_EQ(doc.observer.panelChanges, 0);
    layout.SetMode(3); // not a mode of the panel
    EXPECT_EQ(layout.key(5).mode(), 1);
}

TEST(KeyPanelTest, SetModeForAllCopiesTheCurrentKeysModeOnly) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    layout.key(7).setMode(2);
    layout.key(20).setSingle(false);
    layout.key(30).setGroup(true);
    layout.currentKey = 7;
    layout.OnSetModeForAll();
    for (int k = 1; k <= 112; ++k)
        EXPECT_EQ(layout.key(k).mode(), 2) << k;
    EXPECT_FALSE(layout.key(20).single());
    EXPECT_TRUE(layout.key(30).group());
    EXPECT_TRUE(layout.key(31).single());
}

TEST(KeyPanelTest, ForAllKeysStopsAtTheModel) {
    ObservedLayout doc(56);
    Layout& layout = doc.layout;
    layout.key(7).setMode(2);
    layout.currentKey = 7;
    layout.OnSetModeForAll();
    layout.OnSetFlagForAll(false);
    EXPECT_EQ(layout.key(56).mode(), 2);
    EXPECT_FALSE(layout.key(56).single());
    EXPECT_EQ(layout.key(57).mode(), 0);
    EXPECT_TRUE(layout.key(57).single());
}

TEST(KeyPanelTest, SetFlagForAllGivesEveryKeyThePanelsFlag) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    layout.key(9).setMode(1);
    layout.OnSetFlagForAll(false);
    for (int k = 1; k <= 112; ++k)
        EXPECT_FALSE(layout.key(k).single()) << k;
    EXPECT_EQ(layout.key(9).mode(), 1);
    layout.OnSetFlagForAll(true);
    EXPECT_TRUE(layout.key(50).single());
}

TEST(KeyPanelTest, ChoosingAnEntryShowsTheFirstKeyCarryingIt) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 9, {0x1C}, "Shared");
    Program(layout, 4, {0x1C}, "Shared");
    layout.key(4).setMode(2);
    layout.key(4).setSingle(false);
    Program(layout, 20, {0x32}, "Apart");
    layout.RebuildProgrammedKeyList(); // "Apart", "Shared"
    layout.currentKey = 20;
    layout.SelectKey(20);
    doc.observer.Clear();

    layout.OnProgrammedKeySelected(1);
    EXPECT_EQ(layout.currentKey, 4);
    EXPECT_EQ(layout.shownKey, 4);
    EXPECT_EQ(layout.panel.panelNumber, 4u);
    EXPECT_EQ(layout.panel.panelMode, 2);
    EXPECT_EQ(layout.panel.panelSingle, 0);
    EXPECT_EQ(layout.programmedKeyComboSelection, 1);
    EXPECT_EQ(doc.observer.LastPictureAt(4), kPictureSelectedProgrammed);
    EXPECT_EQ(doc.observer.LastPictureAt(20), kPictureProgrammed); // repainted, not highlighted
}

TEST(KeyPanelTest, ChoosingAnEntryNoKeyCarriesShowsTheEntryAlone) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.programmedKeyList.push_back({{224, 108, 28}, "Gone", 0});
    layout.programmedKeyOrder = {0};
    layout.FillProgrammedKeyCombo();
    Program(layout, 6, {0x32}, "Six");
    layout.currentKey = 6;
    layout.SelectKey(6);
    layout.panel.panelMode = 2;
    doc.observer.Clear();

    layout.OnProgrammedKeySelected(0);
    EXPECT_EQ(layout.currentKey, 0);
    EXPECT_EQ(layout.shownKey, 0);
    EXPECT_EQ(layout.panel.panelNumber, 0u);
    EXPECT_EQ(layout.panel.panelName, "Gone");
    EXPECT_EQ(layout.panel.panelSingle, 0);
    EXPECT_EQ(layout.panel.panelGroup, 0);
    EXPECT_EQ(layout.panel.panelMode, 2);
    EXPECT_EQ(layout.panel.panelCodeNames[0], "extended");
    EXPECT_EQ(layout.panel.panelCodeNames[1], "Home");
    EXPECT_EQ(layout.panel.panelCodeNames[2], "A");
    EXPECT_EQ(layout.panel.panelCodeNames[3], "");
    EXPECT_EQ(doc.observer.panelChanges, 1);
    // Every cell repainted, none highlighted.
    for (const auto& drawing : doc.observer.drawings) {
        EXPECT_NE(drawing.picture, kPictureSelectedBlank);
        EXPECT_NE(drawing.picture, kPictureSelectedProgrammed);
    }
    EXPECT_EQ(doc.observer.LastPictureAt(6), kPictureProgrammed);
    EXPECT_EQ(CellPictures(layout).back(), (CellPicture{112, kPictureAbsent}));
}

// With no key shown, the panel's edits have no key to change (only "Set flag for all keys", which
// needs none), and the next selection does not record the entry shown meanwhile.
TEST(KeyPanelTest, WithNoKeyShownThePanelChangesNoKey) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.programmedKeyList.push_back({Codes({0x1C}), "Gone", 0});
    layout.programmedKeyOrder = {0};
    layout.FillProgrammedKeyCombo();
    layout.OnProgrammedKeySelected(0);
    ASSERT_EQ(layout.shownKey, 0);
    const Layout before = layout;

    layout.KeyNameChanged("Typed");
    layout.SingleKeyChanged(true);
    layout.SetMode(2);
    layout.OnSetModeForAll();
    for (int k = 0; k < kKeyTableSize; ++k) {
        EXPECT_EQ(layout.key(k).name, before.key(k).name) << k;
        EXPECT_EQ(layout.key(k).flags, before.key(k).flags) << k;
    }
    layout.OnSetFlagForAll(false);
    for (int k = 1; k <= layout.keyCount; ++k)
        EXPECT_FALSE(layout.key(k).single()) << k;
    EXPECT_EQ(layout.programmedKeyList[0].name, "Gone");
    EXPECT_EQ(layout.panel.panelName, "Typed");
    EXPECT_EQ(layout.shownKey, 0);

    layout.currentKey = 8;
    layout.SelectKey(8);
    EXPECT_EQ(layout.programmedKeyCount(), 1);
    EXPECT_EQ(layout.panel.panelName, "KEY8");
}

TEST(KeyPanelTest, ChoosingNoEntryDoesNothing) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.OnProgrammedKeySelected(-1);
    layout.OnProgrammedKeySelected(0);
    EXPECT_EQ(layout.shownKey, 1);
    EXPECT_EQ(layout.currentKey, 1);
    EXPECT_EQ(doc.observer.panelChanges, 0);
}

} // namespace
} // namespace zr4700::testing
