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
    int32_t groupNumber = 200; // the number the file gave the key's cell
};

void LoadKeys(Layout& layout, std::initializer_list<Loaded> keys) {
    for (const Loaded& loaded : keys) {
        layout.key(loaded.key).codes = Codes(loaded.codes);
        layout.key(loaded.key).setGroup(loaded.group);
        layout.key(loaded.key).groupNumber = loaded.groupNumber;
    }
}

// Cells come back as the file's group numbers (16scan) or equal codes (7/3scan) pair them, and
// only in shapes the grid can draw; any other key with codes is a single key.
TEST(RebuildCellGroupsTest, CellsComeBackOnlyInShapesTheGridDraws) {
    using S = CellState;
    struct Case {
        const char* name;
        bool scan16;
        int keyCount;
        std::initializer_list<Loaded> keys;
        std::vector<std::pair<int, CellState>> states;
        bool groupKeyError = false;
    };
    const Case cases[] = {
        {"side by side and one above the other",
         true,
         56,
         {{2, true, {0x1C}, 5},
          {3, true, {0x1C}, 5},
          {20, true, {0x32}, 9},
          {28, true, {0x32}, 9},
          {30, false, {0x21}, 0}},
         {{2, S::Double}, {3, S::Double}, {20, S::Double}, {28, S::Double}, {30, S::Single}}},
        {"a pair across a row end",
         true,
         56,
         {{8, true, {0x1C}}, {9, true, {0x1C}}},
         {{8, S::Single}, {9, S::Single}},
         true},
        {"a pair across the blocks",
         true,
         112,
         {{52, true, {0x1C}}, {60, true, {0x1C}}},
         {{52, S::Single}, {60, S::Single}},
         true},
        {"a pair apart",
         true,
         56,
         {{10, true, {0x1C}}, {20, true, {0x1C}}},
         {{10, S::Single}, {20, S::Single}},
         true},
        {"a lone group key",
         true,
         56,
         {{5, true, {0x1C}, 1}, {6, true, {0x32}, 2}},
         {{5, S::Single}, {6, S::Single}}},
        {"a square",
         true,
         56,
         {{1, true, {0x1C}}, {2, true, {0x1C}}, {9, true, {0x1C}}, {10, true, {0x1C}}},
         {{1, S::Quad}, {2, S::Quad}, {9, S::Quad}, {10, S::Quad}}},
        {"four keys apart",
         true,
         112,
         {{2, true, {0x1C}}, {5, true, {0x1C}}, {30, true, {0x1C}}, {100, true, {0x1C}}},
         {{2, S::Single}, {5, S::Single}, {30, S::Single}, {100, S::Single}}},
        {"three equal keys",
         true,
         56,
         {{1, true, {0x1C}}, {3, true, {0x1C}}, {4, true, {0x1C}}},
         {{1, S::Single}, {3, S::Single}, {4, S::Single}}},
        {"two doubles with equal codes, numbered",
         true,
         56,
         {{1, true, {0x1C}, 1}, {2, true, {0x1C}, 1}, {17, true, {0x1C}, 2}, {25, true, {0x1C}, 2}},
         {{1, S::Double}, {2, S::Double}, {17, S::Double}, {25, S::Double}}},
        {"two doubles with equal codes, unnumbered",
         false,
         56,
         {{1, true, {0x1C}}, {2, true, {0x1C}}, {17, true, {0x1C}}, {25, true, {0x1C}}},
         {{1, S::Single}, {2, S::Single}, {17, S::Single}, {25, S::Single}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObservedLayout doc(c.keyCount);
        Layout& layout = doc.layout;
        layout.fileIsScan16 = c.scan16 ? 1 : 0;
        LoadKeys(layout, c.keys);
        ScriptedPrompts prompts;
        if (c.groupKeyError)
            prompts.ExpectError(kStrGroupKeyError);
        layout.RebuildCellGroups(prompts);
        for (const auto& [k, state] : c.states) {
            EXPECT_EQ(layout.state(k), state) << "key " << k;
            EXPECT_EQ(layout.key(k).group(), state == S::Double || state == S::Quad) << k;
            EXPECT_NE(doc.observer.LastPictureAt(k), kPictureBlank) << "a key with codes shows";
        }
    }
}

TEST(RebuildCellGroupsTest, CellsAreNumberedAfreshInKeyOrderAndTheListIsRebuilt) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    LoadKeys(layout, {{20, true, {0x32}, 3},
                      {28, true, {0x32}, 3},
                      {2, true, {0x1C}, 7},
                      {3, true, {0x1C}, 7},
                      {30, false, {0x21}}});
    ScriptedPrompts prompts;
    layout.RebuildCellGroups(prompts);
    EXPECT_EQ(PartnersOf(layout, 2)[0], 3);
    EXPECT_EQ(PartnersOf(layout, 28)[0], 20);
    EXPECT_EQ(layout.key(2).groupNumber, 1);
    EXPECT_EQ(layout.key(3).groupNumber, 1);
    EXPECT_EQ(layout.key(20).groupNumber, 2);
    EXPECT_EQ(layout.key(28).groupNumber, 2);
    EXPECT_EQ(layout.key(30).groupNumber, 0);
    EXPECT_EQ(layout.nextGroupNumber, 3);
    EXPECT_EQ(doc.observer.LastPictureAt(2), kPictureDoubleRight);
    EXPECT_EQ(doc.observer.LastPictureAt(20), kPictureDoubleDown);
    EXPECT_EQ(layout.currentKey, 1);
    EXPECT_EQ(layout.programmedKeyCount(), 5);
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
