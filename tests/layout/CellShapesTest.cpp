// Forming double and quad cells, splitting them, and rebuilding cells after a file load.

#include "LayoutTestSupport.h"

#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

using Drawing = RecordingObserver::Drawing;

enum class Shape { Right, Down, Quad };

bool Form(Layout& layout, Shape shape) {
    switch (shape) {
    case Shape::Right:
        return layout.FormDoubleRight();
    case Shape::Down:
        return layout.FormDoubleDown();
    case Shape::Quad:
        return layout.FormQuad();
    }
    return false;
}

struct ShapeCase {
    const char* label;
    int keyCount;
    Shape shape;
    int key;
    CellState keyState;       // the state the key is given before the command
    int occupied;             // a neighbour made Single first (0: none)
    std::vector<int> members; // empty: the command changes nothing
};

class ShapeCommandTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeCommandTest, FormsACellOnlyWhenEveryRuleHolds) {
    const ShapeCase& c = GetParam();
    ObservedLayout doc(c.keyCount);
    Layout& layout = doc.layout;
    Program(layout, c.key, {0x1C}, "Anchor");
    layout.state(c.key) = c.keyState;
    if (c.occupied != 0)
        Program(layout, c.occupied, {0x32}, "Other");
    const Layout before = layout;
    layout.currentKey = c.key;
    doc.observer.Clear();

    const bool formed = Form(layout, c.shape);
    EXPECT_EQ(formed, !c.members.empty());
    if (c.members.empty()) {
        for (int k = 1; k <= kMaxKeys; ++k) {
            EXPECT_EQ(layout.state(k), before.state(k)) << k;
            EXPECT_EQ(layout.key(k).name, before.key(k).name) << k;
            EXPECT_EQ(layout.key(k).flags, before.key(k).flags) << k;
        }
        EXPECT_EQ(layout.nextGroupNumber, before.nextGroupNumber);
        // Only the reselection of the key is drawn.
        ASSERT_FALSE(doc.observer.drawings.empty());
        EXPECT_EQ(doc.observer.drawings.back().key, c.key);
        return;
    }
    const CellState cellState = c.members.size() == 2 ? CellState::Double : CellState::Quad;
    for (int member : c.members) {
        EXPECT_EQ(layout.state(member), cellState) << member;
        EXPECT_EQ(layout.key(member).name, "Anchor") << member;
        EXPECT_EQ(layout.key(member).codes, Codes({0x1C})) << member;
        EXPECT_EQ(layout.key(member).groupNumber, 1) << member;
        EXPECT_TRUE(layout.key(member).group()) << member;
        EXPECT_EQ(layout.key(member).number, member);
        std::vector<int> others;
        for (int other : c.members) {
            if (other != member)
                others.push_back(other);
        }
        others.resize(3, 0);
        EXPECT_EQ(PartnersOf(layout, member),
                  (std::array<int32_t, 3>{others[0], others[1], others[2]}))
            << member;
    }
    EXPECT_EQ(layout.nextGroupNumber, 2);
    EXPECT_EQ(layout.modified, 0);
    const int picture = c.shape == Shape::Right  ? kPictureDoubleRight
                        : c.shape == Shape::Down ? kPictureDoubleDown
                                                 : kPictureQuad;
    EXPECT_EQ(doc.observer.drawings.front(), (Drawing{c.key, picture}));
    EXPECT_EQ(doc.observer.drawings.back(), (Drawing{c.key, kPictureSelectedProgrammed}));
    EXPECT_EQ(layout.shownKey, c.key);
}

std::vector<ShapeCase> ShapeCases() {
    std::vector<ShapeCase> cases = {
        {"RightOn3", 56, Shape::Right, 3, CellState::Single, 0, {3, 4}},
        {"RightOn103", 112, Shape::Right, 103, CellState::Single, 0, {103, 104}},
        {"RightOnSingleNeighbour", 56, Shape::Right, 3, CellState::Single, 4, {}},
        {"RightOnBlank", 56, Shape::Right, 3, CellState::Blank, 0, {}},
        {"RightOnDouble", 56, Shape::Right, 3, CellState::Double, 0, {}},
        {"RightOnQuad", 56, Shape::Right, 3, CellState::Quad, 0, {}},
        {"DownOn49With56", 56, Shape::Down, 49, CellState::Single, 0, {}},
        {"DownOn48With56", 56, Shape::Down, 48, CellState::Single, 0, {48, 56}},
        {"DownOn104With112", 112, Shape::Down, 104, CellState::Single, 0, {104, 112}},
        {"DownOn105With112", 112, Shape::Down, 105, CellState::Single, 0, {}},
        {"DownOn56With112", 112, Shape::Down, 56, CellState::Single, 0, {}},
        {"DownOnSingleBelow", 56, Shape::Down, 10, CellState::Single, 18, {}},
        {"DownOnBlank", 56, Shape::Down, 10, CellState::Blank, 0, {}},
        {"QuadOn47With56", 56, Shape::Quad, 47, CellState::Single, 0, {47, 48, 55, 56}},
        {"QuadOn48", 56, Shape::Quad, 48, CellState::Single, 0, {}},
        {"QuadOn41", 56, Shape::Quad, 41, CellState::Single, 0, {41, 42, 49, 50}},
        {"QuadOn49", 56, Shape::Quad, 49, CellState::Single, 0, {}},
        {"QuadOn103With112", 112, Shape::Quad, 103, CellState::Single, 0, {103, 104, 111, 112}},
        {"QuadOn104With112", 112, Shape::Quad, 104, CellState::Single, 0, {}},
        {"QuadOn105With112", 112, Shape::Quad, 105, CellState::Single, 0, {}},
        {"QuadOn52With112", 112, Shape::Quad, 52, CellState::Single, 0, {}},
        {"QuadDiagonalTaken", 56, Shape::Quad, 10, CellState::Single, 19, {}},
        {"QuadRightTaken", 56, Shape::Quad, 10, CellState::Single, 11, {}},
        {"QuadBelowTaken", 56, Shape::Quad, 10, CellState::Single, 18, {}},
        {"QuadOnDouble", 56, Shape::Quad, 10, CellState::Double, 0, {}},
        {"RightOn57With56", 56, Shape::Right, 57, CellState::Single, 0, {}},
    };
    // "to Right" in the last column of either block changes nothing.
    for (int k = 8; k <= 112; k += 8) {
        cases.push_back({nullptr, 112, Shape::Right, k, CellState::Single, 0, {}});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Preconditions, ShapeCommandTest, ::testing::ValuesIn(ShapeCases()),
                         [](const auto& test) {
                             return test.param.label
                                        ? std::string(test.param.label)
                                        : "RightOnLastColumn" + std::to_string(test.param.key);
                         });

TEST(CellShapesTest, AbsorbedKeysKeepTheirOwnMode) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 3, {0x1C}, "Three");
    layout.key(4).setMode(2);
    layout.key(4).setSingle(false);
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    EXPECT_EQ(layout.key(4).mode(), 2);
    EXPECT_TRUE(layout.key(4).single()); // the anchor's single bit
    EXPECT_EQ(layout.key(4).name, "Three");
}

TEST(CellShapesTest, SingleSplitsADoubleIntoTwoProgrammedKeys) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 3, {0x1C}, "Three");
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    layout.currentKey = 4;
    layout.SelectKey(4);
    doc.observer.Clear();
    layout.SplitCell(false);
    for (int k : {3, 4}) {
        EXPECT_EQ(layout.state(k), CellState::Single) << k;
        EXPECT_EQ(layout.key(k).name, "Three") << k;
        EXPECT_EQ(layout.key(k).groupNumber, 1) << k;
        EXPECT_FALSE(layout.key(k).group()) << k;
        EXPECT_EQ(PartnersOf(layout, k), (std::array<int32_t, 3>{0, 0, 0})) << k;
    }
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{3, 153}, {4, 153}, {4, 166}}));
    EXPECT_EQ(layout.modified, 0);
}

TEST(CellShapesTest, SplitCellBlankClearsEveryMemberOfAQuad) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    Program(layout, 60, {0x1C}, "Quad");
    layout.currentKey = 60;
    ASSERT_TRUE(layout.FormQuad());
    layout.currentKey = 68;
    layout.SelectKey(68);
    doc.observer.Clear();
    layout.SplitCell(true);
    for (int k : {60, 61, 68, 69}) {
        EXPECT_EQ(layout.state(k), CellState::Blank) << k;
        EXPECT_EQ(layout.key(k).name, "KEY" + std::to_string(k));
        EXPECT_EQ(layout.key(k).codes, KeyCodes{});
    }
    // Partners in slot order, then the key itself, then the highlight.
    EXPECT_EQ(doc.observer.drawings,
              (std::vector<Drawing>{{60, 152}, {61, 152}, {69, 152}, {68, 152}, {68, 167}}));
}

TEST(CellShapesTest, SplitCellLeavesABlankKeyAlone) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.key(7).name = "Named";
    layout.currentKey = 7;
    doc.observer.Clear();
    layout.SplitCell(false);
    EXPECT_EQ(layout.state(7), CellState::Blank);
    EXPECT_EQ(layout.key(7).name, "Named");
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{1, 152}, {7, 167}}));
}

TEST(CellShapesTest, SplitCellWithoutAKeyDoesNothing) {
    ObservedLayout doc;
    doc.layout.currentKey = 0;
    doc.layout.SplitCell(true);
    EXPECT_TRUE(doc.observer.drawings.empty());
}

// ---- Rebuilding cells after a load -------------------------------------------------------------

struct Loaded {
    int key;
    bool group;
    std::initializer_list<int> codes;
};

void LoadKeys(Layout& layout, std::initializer_list<Loaded> keys) {
    for (const Loaded& loaded : keys) {
        layout.key(loaded.key).codes = Codes(loaded.codes);
        layout.key(loaded.key).setGroup(loaded.group);
        layout.key(loaded.key).groupNumber = 200; // stale numbers from the file
    }
}

TEST(RebuildCellGroupsTest, PairsSideBySideAndOneAboveTheOther) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    LoadKeys(layout, {{8, true, {0x1C}},
                      {9, true, {0x1C}},
                      {20, true, {0x32}},
                      {28, true, {0x32}},
                      {30, false, {0x21}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);

    EXPECT_EQ(layout.state(8), CellState::Double);
    EXPECT_EQ(layout.state(9), CellState::Double);
    EXPECT_EQ(PartnersOf(layout, 8)[0], 9);
    EXPECT_EQ(PartnersOf(layout, 9)[0], 8);
    EXPECT_EQ(layout.state(20), CellState::Double);
    EXPECT_EQ(layout.state(28), CellState::Double);
    EXPECT_EQ(layout.state(30), CellState::Single);
    EXPECT_EQ(layout.state(31), CellState::Blank);
    // One number per cell, in key order; non-group keys get none.
    EXPECT_EQ(layout.key(8).groupNumber, 1);
    EXPECT_EQ(layout.key(9).groupNumber, 1);
    EXPECT_EQ(layout.key(20).groupNumber, 2);
    EXPECT_EQ(layout.key(28).groupNumber, 2);
    EXPECT_EQ(layout.key(30).groupNumber, 0);
    EXPECT_EQ(layout.nextGroupNumber, 3);
    // The pictures as the cells are found, then key 1 selected, then every cell again.
    const auto& drawn = doc.observer.drawings;
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], (Drawing{8, 156}));
    EXPECT_EQ(drawn[1], (Drawing{20, 155}));
    EXPECT_EQ(drawn[2], (Drawing{30, 153}));
    EXPECT_EQ(doc.observer.LastPictureAt(8), kPictureDoubleRight);
    EXPECT_EQ(doc.observer.LastPictureAt(20), kPictureDoubleDown);
    EXPECT_EQ(layout.currentKey, 1);
    EXPECT_EQ(layout.shownKey, 1);
    // The list is rebuilt from the keys.
    EXPECT_EQ(layout.programmedKeyCount(), 5);
    EXPECT_EQ(layout.programmedKeyComboSelection, 0);
}

TEST(RebuildCellGroupsTest, APairThatIsNotNeighboursIsAnError) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    LoadKeys(layout, {{10, true, {0x1C}}, {20, true, {0x1C}}});
    ScriptedPrompts prompts;
    prompts.ExpectError(kStrGroupKeyError);
    layout.RebuildCellGroups(prompts);
    EXPECT_EQ(layout.state(10), CellState::Blank);
    EXPECT_EQ(layout.state(20), CellState::Blank);
    EXPECT_EQ(layout.key(10).codes, Codes({0x1C}));
    EXPECT_TRUE(layout.key(20).group());
    // Each gets a number of its own.
    EXPECT_EQ(layout.key(10).groupNumber, 1);
    EXPECT_EQ(layout.key(20).groupNumber, 2);
}

TEST(RebuildCellGroupsTest, ALoneGroupKeyStaysBlankWithItsCodes) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    LoadKeys(layout, {{5, true, {0x1C}}, {6, true, {0x32}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    EXPECT_EQ(layout.state(5), CellState::Blank);
    EXPECT_EQ(layout.state(6), CellState::Blank);
    EXPECT_EQ(layout.key(5).codes, Codes({0x1C}));
    EXPECT_EQ(doc.observer.LastPictureAt(5), kPictureBlank);
}

TEST(RebuildCellGroupsTest, ThreeEqualKeysLeaveTheFirstBlank) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    LoadKeys(layout, {{1, true, {0x1C}}, {3, true, {0x1C}}, {4, true, {0x1C}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    EXPECT_EQ(layout.state(1), CellState::Blank);
    EXPECT_EQ(layout.state(3), CellState::Double);
    EXPECT_EQ(layout.state(4), CellState::Double);
    EXPECT_EQ(layout.key(1).groupNumber, 1);
    EXPECT_EQ(layout.key(3).groupNumber, 2);
    EXPECT_EQ(layout.key(4).groupNumber, 2);
}

TEST(RebuildCellGroupsTest, FourEqualKeysFormAQuadWhereverTheyAre) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    LoadKeys(layout,
             {{2, true, {0x1C}}, {5, true, {0x1C}}, {30, true, {0x1C}}, {100, true, {0x1C}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    for (int k : {2, 5, 30, 100})
        EXPECT_EQ(layout.state(k), CellState::Quad) << k;
    EXPECT_EQ(PartnersOf(layout, 2), (std::array<int32_t, 3>{5, 30, 100}));
    EXPECT_EQ(PartnersOf(layout, 5), (std::array<int32_t, 3>{2, 30, 100}));
    EXPECT_EQ(PartnersOf(layout, 30), (std::array<int32_t, 3>{2, 5, 100}));
    EXPECT_EQ(PartnersOf(layout, 100), (std::array<int32_t, 3>{2, 5, 30}));
    EXPECT_EQ(doc.observer.drawings.front(), (Drawing{2, 157}));
}

TEST(RebuildCellGroupsTest, FiveEqualKeysMakeAQuadOfTheLastFour) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    LoadKeys(layout, {{1, true, {0x1C}},
                      {2, true, {0x1C}},
                      {3, true, {0x1C}},
                      {10, true, {0x1C}},
                      {11, true, {0x1C}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    EXPECT_EQ(layout.state(1), CellState::Blank);
    for (int k : {2, 3, 10, 11})
        EXPECT_EQ(layout.state(k), CellState::Quad) << k;
}

TEST(RebuildCellGroupsTest, TwoDoublesWithEqualCodesComeBackAsOneQuad) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    LoadKeys(layout,
             {{1, true, {0x1C}}, {2, true, {0x1C}}, {17, true, {0x1C}}, {25, true, {0x1C}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    for (int k : {1, 2, 17, 25}) {
        EXPECT_EQ(layout.state(k), CellState::Quad) << k;
        EXPECT_EQ(layout.key(k).groupNumber, 1) << k;
    }
    EXPECT_EQ(doc.observer.LastPictureAt(1), kPictureQuad);
    const std::vector<CellPicture> pictures = CellPictures(layout);
    EXPECT_EQ(std::count(pictures.begin(), pictures.end(), CellPicture{1, kPictureQuad}), 1);
}

TEST(RebuildCellGroupsTest, KeysWithoutCodesAreNeverCells) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.key(1).setGroup(true);
    layout.key(2).setGroup(true);
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    EXPECT_EQ(layout.state(1), CellState::Blank);
    EXPECT_EQ(layout.key(1).groupNumber, 0);
    EXPECT_EQ(layout.nextGroupNumber, 1);
}

TEST(RebuildCellGroupsTest, StalePartnersAreCleared) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    layout.partners[5] = {6, 13, 14};
    layout.state(5) = CellState::Quad;
    LoadKeys(layout, {{5, false, {0x1C}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    EXPECT_EQ(layout.state(5), CellState::Single);
    EXPECT_EQ(PartnersOf(layout, 5), (std::array<int32_t, 3>{0, 0, 0}));
}

} // namespace
} // namespace zr4700::testing
