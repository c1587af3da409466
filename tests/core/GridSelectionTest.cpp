// Selecting keys: the highlight, the panel's values, redrawing the key being left, and moving
// the selection with the arrow keys.

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

using Drawing = RecordingObserver::Drawing;

TEST(SelectKeyTest, FillsThePanelFromTheRecord) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    KeyRecord& record = layout.key(12);
    record.codes = Codes({224, 108, 28});
    record.name = "Home A";
    record.setGroup(true);
    record.setSingle(false);
    record.setMode(2);
    layout.state(12) = CellState::Single;
    layout.currentKey = 12;
    layout.SelectKey(12);

    const KeyPanel& panel = layout.panel;
    EXPECT_EQ(panel.panelNumber, 12u);
    EXPECT_EQ(panel.panelName, "Home A");
    EXPECT_EQ(panel.panelGroup, 1);
    EXPECT_EQ(panel.panelSingle, 0);
    EXPECT_EQ(panel.panelMode, 2);
    EXPECT_EQ(panel.panelCodeNames[0], "extended");
    EXPECT_EQ(panel.panelCodeNames[1], "Home");
    EXPECT_EQ(panel.panelCodeNames[2], "A");
    for (std::size_t slot = 3; slot < kCodeSlots; ++slot)
        EXPECT_EQ(panel.panelCodeNames[slot], "") << slot;
    EXPECT_EQ(doc.observer.panelChanges, 1);
    EXPECT_EQ(layout.shownKey, 12);
}

TEST(SelectKeyTest, RedrawsTheKeyBeingLeftThenHighlights) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 5, {0x1C}, "Five");
    layout.SelectKey(5);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{1, 152}, {5, 166}}));
    doc.observer.Clear();
    layout.SelectKey(6);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{5, 153}, {6, 167}}));
    doc.observer.Clear();
    layout.SelectKey(6); // same key: highlight only
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{6, 167}}));
}

TEST(SelectKeyTest, RecordsTheProgrammedKeyBeingLeft) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "One");
    layout.SelectKey(2);
    ASSERT_EQ(layout.programmedKeyCount(), 1);
    EXPECT_EQ(layout.programmedKeyList[0].name, "One");
    layout.SelectKey(3); // key 2 has no codes
    EXPECT_EQ(layout.programmedKeyCount(), 1);
}

TEST(SelectKeyTest, IgnoresKeysOutsideTheTable) {
    ObservedLayout doc;
    doc.layout.SelectKey(0);
    doc.layout.SelectKey(113);
    EXPECT_EQ(doc.layout.shownKey, 1);
    EXPECT_TRUE(doc.observer.drawings.empty());
}

TEST(SelectKeyTest, RightHalfOfADoubleIsHighlightedAloneAndLeftWhole) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    Program(layout, 3, {0x1C}, "Three");
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleRight());
    const int k = layout.KeyAt(KeyOrigin(4).x + 5, KeyOrigin(4).y + 5);
    EXPECT_EQ(k, 4);
    doc.observer.Clear();
    layout.currentKey = k;
    layout.SelectKey(k);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{3, 156}, {4, 166}}));
    doc.observer.Clear();
    layout.currentKey = 20;
    layout.SelectKey(20);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{3, 156}, {20, 167}}));
}

struct RedrawCase {
    const char* label;
    int anchor;
    int shape; // 0 right, 1 down, 2 quad
    int member;
    Drawing drawing;
};

class RedrawKeyCellTest : public ::testing::TestWithParam<RedrawCase> {};

TEST_P(RedrawKeyCellTest, DrawsTheWholeCellAtItsAnchor) {
    const RedrawCase& c = GetParam();
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    Program(layout, c.anchor, {0x1C}, "Cell");
    layout.currentKey = c.anchor;
    const bool formed = c.shape == 0   ? layout.FormDoubleRight()
                        : c.shape == 1 ? layout.FormDoubleDown()
                                       : layout.FormQuad();
    ASSERT_TRUE(formed);
    doc.observer.Clear();
    layout.RedrawKeyCell(c.member);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{c.drawing}));
}

INSTANTIATE_TEST_SUITE_P(Cells, RedrawKeyCellTest,
                         ::testing::Values(RedrawCase{"RightAnchor", 3, 0, 3, {3, 156}},
                                           RedrawCase{"RightPartner", 3, 0, 4, {3, 156}},
                                           RedrawCase{"DownAnchor", 20, 1, 20, {20, 155}},
                                           RedrawCase{"DownPartner", 20, 1, 28, {20, 155}},
                                           RedrawCase{"QuadAnchor", 60, 2, 60, {60, 157}},
                                           RedrawCase{"QuadLastMember", 60, 2, 69, {60, 157}},
                                           RedrawCase{"QuadUpperRight", 60, 2, 61, {60, 157}}),
                         [](const auto& test) { return std::string(test.param.label); });

TEST(RedrawKeyCellTest, PlainKeysAndKeysOutsideTheTable) {
    ObservedLayout doc(56);
    Layout& layout = doc.layout;
    Program(layout, 7, {0x1C});
    layout.RedrawKeyCell(7);
    layout.RedrawKeyCell(8);
    layout.RedrawKeyCell(60); // never the absent picture
    layout.RedrawKeyCell(0);
    layout.RedrawKeyCell(113);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{7, 153}, {8, 152}, {60, 152}}));
}

TEST(DrawKeyCellTest, IgnoresKeysOutsideTheTable) {
    ObservedLayout doc;
    doc.layout.DrawKeyCell(0, 152);
    doc.layout.DrawKeyCell(113, 152);
    doc.layout.DrawKeyCell(112, 154);
    EXPECT_EQ(doc.observer.drawings, (std::vector<Drawing>{{112, 154}}));
}

enum class Arrow { Right, Left, Down, Up };

struct ArrowCase {
    int keyCount;
    Arrow arrow;
    int from;
    int to; // the same key: nothing happens
};

class ArrowTest : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowTest, MovesTheSelection) {
    const ArrowCase& c = GetParam();
    ObservedLayout doc(c.keyCount);
    Layout& layout = doc.layout;
    layout.currentKey = c.from;
    if (c.from >= 1)
        layout.SelectKey(c.from);
    else
        layout.shownKey = c.from;
    doc.observer.Clear();
    switch (c.arrow) {
    case Arrow::Right:
        layout.SelectNextKey();
        break;
    case Arrow::Left:
        layout.SelectPreviousKey();
        break;
    case Arrow::Down:
        layout.SelectKeyBelow();
        break;
    case Arrow::Up:
        layout.SelectKeyAbove();
        break;
    }
    EXPECT_EQ(layout.currentKey, c.to);
    if (c.to == c.from) {
        EXPECT_TRUE(doc.observer.drawings.empty());
    } else {
        EXPECT_EQ(layout.shownKey, c.to);
        EXPECT_EQ(doc.observer.LastPictureAt(c.to), kPictureSelectedBlank);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ArrowTest,
    ::testing::Values(ArrowCase{56, Arrow::Right, 56, 1}, ArrowCase{56, Arrow::Right, 8, 9},
                      ArrowCase{56, Arrow::Left, 1, 56}, ArrowCase{56, Arrow::Left, 9, 8},
                      ArrowCase{112, Arrow::Right, 8, 57}, ArrowCase{112, Arrow::Right, 64, 9},
                      ArrowCase{112, Arrow::Right, 56, 105}, ArrowCase{112, Arrow::Right, 112, 1},
                      ArrowCase{112, Arrow::Right, 3, 4}, ArrowCase{112, Arrow::Left, 57, 8},
                      ArrowCase{112, Arrow::Left, 9, 64}, ArrowCase{112, Arrow::Left, 1, 112},
                      ArrowCase{112, Arrow::Left, 105, 56}, ArrowCase{112, Arrow::Left, 70, 69},
                      ArrowCase{56, Arrow::Up, 8, 8}, ArrowCase{56, Arrow::Up, 9, 1},
                      ArrowCase{112, Arrow::Up, 60, 60}, ArrowCase{112, Arrow::Up, 65, 57},
                      ArrowCase{56, Arrow::Down, 48, 56}, ArrowCase{56, Arrow::Down, 49, 49},
                      ArrowCase{112, Arrow::Down, 104, 112}, ArrowCase{112, Arrow::Down, 105, 105},
                      ArrowCase{112, Arrow::Down, 56, 56}, ArrowCase{112, Arrow::Down, 52, 52},
                      // With no key selected every arrow starts at key 1.
                      ArrowCase{56, Arrow::Right, 0, 1}, ArrowCase{56, Arrow::Left, 0, 1},
                      ArrowCase{112, Arrow::Down, 0, 1}, ArrowCase{112, Arrow::Up, 0, 1}));

TEST(ArrowTest, RightRunsAlongWholeScreenRowsWith112Keys) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    std::vector<int> visited;
    for (int step = 0; step < 112; ++step) {
        layout.SelectNextKey();
        visited.push_back(layout.currentKey);
    }
    // 2 .. 8, 57 .. 64, 9 .. 16, ... 105 .. 112, then 1: every key once.
    EXPECT_EQ(visited[7], 57);
    EXPECT_EQ(visited[15], 9);
    EXPECT_EQ(visited.back(), 1);
    std::vector<int> sorted = visited;
    std::sort(sorted.begin(), sorted.end());
    for (int k = 1; k <= 112; ++k)
        EXPECT_EQ(sorted[static_cast<std::size_t>(k - 1)], k);
    for (int step = 0; step < 112; ++step) {
        layout.SelectPreviousKey();
        EXPECT_EQ(layout.currentKey, visited[static_cast<std::size_t>(110 - step + 112) % 112]);
    }
}

} // namespace
} // namespace zr4700::testing
