// Where keys sit on the client surface, the hit test at its pixel edges, picture sizes and the
// choice of pictures as data.

#include "core/model/GridGeometry.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

namespace zr4700::testing {
namespace {

struct OriginCase {
    int key;
    int x;
    int y;
};

class KeyOriginTest : public ::testing::TestWithParam<OriginCase> {};

TEST_P(KeyOriginTest, PlacesKeysRowByRowInTwoBlocks) {
    const OriginCase& c = GetParam();
    const GridPoint origin = KeyOrigin(c.key);
    EXPECT_EQ(origin.x, c.x);
    EXPECT_EQ(origin.y, c.y);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyOriginTest,
                         ::testing::Values(OriginCase{1, 9, 90}, OriginCase{8, 247, 90},
                                           OriginCase{9, 9, 124}, OriginCase{56, 247, 294},
                                           OriginCase{57, 281, 90}, OriginCase{64, 519, 90},
                                           OriginCase{105, 281, 294}, OriginCase{112, 519, 294},
                                           // Outside the table: no place on the grid.
                                           OriginCase{0, 0, 0}, OriginCase{113, 0, 0}));

TEST(GridGeometryTest, EveryKeyIsFoundAtEveryPixelOfItsSquare) {
    for (int k = 1; k <= kMaxKeys; ++k) {
        const GridPoint origin = KeyOrigin(k);
        for (int dx : {0, 17, 33}) {
            for (int dy : {0, 17, 33}) {
                EXPECT_EQ(KeyFromPoint(origin.x + dx, origin.y + dy), k) << k;
            }
        }
    }
}

struct HitCase {
    int x;
    int y;
    int keyCount;
    int key; // 0: nothing
};

class KeyAtTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(KeyAtTest, FindsTheKeyOnlyOnTheGrid) {
    const HitCase& c = GetParam();
    Layout layout;
    layout.keyCount = c.keyCount;
    EXPECT_EQ(layout.KeyAt(c.x, c.y), c.key);
    EXPECT_EQ(IsOnGrid(c.x, c.y, c.keyCount), c.key != 0);
}

INSTANTIATE_TEST_SUITE_P(PixelEdges, KeyAtTest,
                         ::testing::Values(HitCase{9, 90, 112, 1}, HitCase{280, 90, 112, 8},
                                           HitCase{281, 90, 112, 57}, HitCase{552, 327, 112, 112},
                                           HitCase{553, 100, 112, 0}, HitCase{100, 328, 112, 0},
                                           HitCase{8, 100, 112, 0}, HitCase{100, 89, 112, 0},
                                           HitCase{42, 123, 112, 1}, HitCase{43, 124, 112, 10},
                                           HitCase{9, 90, 56, 1}, HitCase{280, 327, 56, 56},
                                           HitCase{281, 100, 56, 0}, HitCase{552, 327, 56, 0},
                                           HitCase{0, 0, 56, 0}, HitCase{-40, -40, 112, 0}));

TEST(GridGeometryTest, KeyFromPointAloneKnowsNothingOfTheBounds) {
    // The callers check the bounds first; the column and row truncate toward zero.
    EXPECT_EQ(KeyFromPoint(0, 90), 1);
    EXPECT_EQ(KeyFromPoint(553, 90), 0);
    EXPECT_EQ(KeyFromPoint(100, 400), 0);
    EXPECT_EQ(KeyFromPoint(-100, 90), 0);
}

TEST(GridGeometryTest, PictureSizeFollowsFromItsNumber) {
    const std::vector<std::array<int, 3>> sizes = {{152, 34, 34}, {153, 34, 34}, {154, 34, 34},
                                                   {155, 34, 68}, {156, 68, 34}, {157, 68, 68},
                                                   {166, 34, 34}, {167, 34, 34}};
    for (const auto& [picture, width, height] : sizes) {
        EXPECT_EQ(PictureWidth(picture), width) << picture;
        EXPECT_EQ(PictureHeight(picture), height) << picture;
    }
}

TEST(CellPicturesTest, FreshLayoutWith56Keys) {
    Layout layout;
    const std::vector<CellPicture> pictures = CellPictures(layout);
    ASSERT_EQ(pictures.size(), 56u + 56u + 1u);
    for (int k = 1; k <= 56; ++k)
        EXPECT_EQ(pictures[static_cast<std::size_t>(k - 1)], (CellPicture{k, 152}));
    for (int k = 57; k <= 112; ++k)
        EXPECT_EQ(pictures[static_cast<std::size_t>(k - 1)], (CellPicture{k, 154}));
    EXPECT_EQ(pictures.back(), (CellPicture{1, 167}));
}

TEST(CellPicturesTest, CellsAtTheirAnchorsAndTheHighlightLast) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "Right");
    Program(layout, 20, {0x32}, "Down");
    Program(layout, 60, {0x21}, "Quad");
    Program(layout, 40, {0x23}, "Single");
    layout.currentKey = 1;
    ASSERT_TRUE(layout.FormDoubleRight());
    layout.currentKey = 20;
    ASSERT_TRUE(layout.FormDoubleDown());
    layout.currentKey = 60;
    ASSERT_TRUE(layout.FormQuad());
    layout.currentKey = 61;
    layout.SelectKey(61);

    const std::vector<CellPicture> pictures = CellPictures(layout);
    ASSERT_EQ(pictures.size(), 112u - 1u - 1u - 3u + 1u);
    auto pictureAt = [&pictures](int key) {
        int found = 0;
        for (std::size_t i = 0; i + 1 < pictures.size(); ++i) {
            if (pictures[i].key == key)
                found = pictures[i].picture;
        }
        return found;
    };
    EXPECT_EQ(pictureAt(1), kPictureDoubleRight);
    EXPECT_EQ(pictureAt(2), 0);
    EXPECT_EQ(pictureAt(20), kPictureDoubleDown);
    EXPECT_EQ(pictureAt(28), 0);
    EXPECT_EQ(pictureAt(60), kPictureQuad);
    EXPECT_EQ(pictureAt(61), 0);
    EXPECT_EQ(pictureAt(68), 0);
    EXPECT_EQ(pictureAt(69), 0);
    EXPECT_EQ(pictureAt(40), kPictureProgrammed);
    EXPECT_EQ(pictureAt(41), kPictureBlank);
    // The highlight covers only the member's own square.
    EXPECT_EQ(pictures.back(), (CellPicture{61, kPictureSelectedProgrammed}));
    // Painting order: keys ascending.
    for (std::size_t i = 1; i + 1 < pictures.size(); ++i)
        EXPECT_LT(pictures[i - 1].key, pictures[i].key);
}

TEST(CellPicturesTest, NoHighlightWithoutAShownKey) {
    Layout layout;
    layout.shownKey = 0;
    const std::vector<CellPicture> pictures = CellPictures(layout);
    EXPECT_EQ(pictures.size(), 112u);
    EXPECT_EQ(pictures.back(), (CellPicture{112, kPictureAbsent}));
}

TEST(CellPicturesTest, DrawAllKeyCellsTellsTheGridTheSamePictures) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    Program(layout, 3, {0x1C}, "Three");
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormQuad());
    doc.observer.Clear();
    layout.DrawAllKeyCells();
    std::vector<CellPicture> told;
    for (const auto& drawing : doc.observer.drawings)
        told.push_back({drawing.key, drawing.picture});
    std::vector<CellPicture> expected = CellPictures(layout);
    expected.pop_back(); // the highlight is the paint handler's
    EXPECT_EQ(told, expected);
}

} // namespace
} // namespace zr4700::testing
