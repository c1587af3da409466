// The legend sheet's geometry: which caps get an insert, their size and place in millimetres,
// the texts they carry, cut marks and pages.

#include "LayoutTestSupport.h"

#include "core/legend/LegendSheet.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zr4700::testing {
namespace {

constexpr double kUnit = 19.05 - 2 * 1.0; // one key's insert at the default pitch and margin

bool Overlap(const RectMm& a, const RectMm& b) {
    return a.x < b.right() - 1e-9 && b.x < a.right() - 1e-9 && a.y < b.bottom() - 1e-9 &&
           b.y < a.bottom() - 1e-9;
}

LegendOptions Packed() {
    LegendOptions options;
    options.arrangement = LegendArrangement::Packed;
    return options;
}

// Key 1 a double to the right, 3 a double downward, 5 a quad and 20 a single, each named.
void ProgramBigCapsAndASingle(Layout& layout) {
    Program(layout, 1, {0x1C}, "Total");
    Program(layout, 3, {0x32}, "Void");
    Program(layout, 5, {0x21}, "Cash");
    Program(layout, 20, {0x23}, "Single");
    layout.currentKey = 1;
    ASSERT_TRUE(layout.FormDoubleRight());
    layout.currentKey = 3;
    ASSERT_TRUE(layout.FormDoubleDown());
    layout.currentKey = 5;
    ASSERT_TRUE(layout.FormQuad());
}

bool Inside(const RectMm& inner, const RectMm& outer) {
    return inner.x >= outer.x - 1e-9 && inner.y >= outer.y - 1e-9 &&
           inner.right() <= outer.right() + 1e-9 && inner.bottom() <= outer.bottom() + 1e-9;
}

// Every insert lies inside its page's margins and no two inserts of a page overlap.
void ExpectSoundPages(const LegendSheet& sheet) {
    const double margin = sheet.options.pageMarginMm;
    for (const LegendPage& page : sheet.pages) {
        for (std::size_t i = 0; i < page.caps.size(); ++i) {
            const RectMm& insert = page.caps[i].insert;
            EXPECT_GE(insert.x, margin);
            EXPECT_GE(insert.y, margin);
            EXPECT_LE(insert.right(), sheet.pageWidthMm - margin);
            EXPECT_LE(insert.bottom(), sheet.pageHeightMm - margin);
            // The key number stands in the insert's top-left corner, above the name.
            const LegendCap& cap = page.caps[i];
            EXPECT_TRUE(Inside(cap.numberBox, insert)) << cap.key;
            EXPECT_GT(cap.numberBox.height, 0) << cap.key;
            EXPECT_LT(cap.numberBox.x - insert.x, sheet.options.pitchMm / 10) << cap.key;
            EXPECT_LT(cap.numberBox.y - insert.y, sheet.options.pitchMm / 10) << cap.key;
            EXPECT_GE(cap.nameBox.y, cap.numberBox.bottom() - 1e-9) << cap.key;
            for (std::size_t j = i + 1; j < page.caps.size(); ++j)
                EXPECT_FALSE(Overlap(insert, page.caps[j].insert))
                    << page.caps[i].key << " " << page.caps[j].key;
        }
    }
}

TEST(LegendSheetTest, SinglesGetAnInsertEachInKeyOrderWithCutMarks) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 10, {0x1C, 0x32, 0x0D}, "Cash drawer");
    Program(layout, 3, {0x1C}, "Total");

    const LegendSheet sheet = ComputeLegendSheet(layout, Packed());
    ASSERT_EQ(sheet.pages.size(), 1u);
    const LegendPage& page = sheet.pages[0];
    ASSERT_EQ(page.caps.size(), 2u);
    EXPECT_EQ(page.caps[0].key, 3);
    EXPECT_EQ(page.caps[0].name, "Total");
    EXPECT_EQ(page.caps[1].key, 10);
    EXPECT_EQ(page.caps[1].name, "Cash drawer");
    EXPECT_TRUE(page.caps[1].codeNames.empty()) << "code names only when asked for";
    EXPECT_EQ(page.caps[1].shape, CapShape::Single);
    EXPECT_NEAR(page.caps[0].insert.width, kUnit, 1e-9);
    EXPECT_NEAR(page.caps[0].insert.height, kUnit, 1e-9);
    // Side by side at the pitch: the gap between two inserts is twice the margin.
    EXPECT_NEAR(page.caps[1].insert.x - page.caps[0].insert.right(), 2.0, 1e-9);
    EXPECT_NEAR(page.caps[1].insert.y, page.caps[0].insert.y, 1e-9);
    // A4 with 10 mm margins holds 9 columns of 19.05 mm, centred.
    EXPECT_EQ(sheet.columns, 9);
    EXPECT_EQ(sheet.rows, 14);
    EXPECT_NEAR(page.caps[0].insert.x, (210 - 9 * 19.05) / 2 + 1.0, 1e-9);
    EXPECT_NEAR(page.caps[0].insert.y, 10 + 1.0, 1e-9);
    EXPECT_EQ(page.cutMarks.size(), 2u * 8u);
    for (const LineMm& mark : page.cutMarks) {
        for (const LegendCap& cap : page.caps) {
            const RectMm& r = cap.insert;
            const bool inside =
                mark.x1 > r.x && mark.x1 < r.right() && mark.y1 > r.y && mark.y1 < r.bottom();
            EXPECT_FALSE(inside) << "a cut mark never lands on an insert";
        }
    }
    ExpectSoundPages(sheet);
}

TEST(LegendSheetTest, CodeNamesAndBlankKeysWhenAskedFor) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 10, {0x1C, 0x32, 0x0D}, "Cash drawer");
    Program(layout, 11, {224, 0x75}, "Up");
    LegendOptions options;
    options.showCodeNames = true;
    options.onlyProgrammed = false;

    const LegendSheet sheet = ComputeLegendSheet(layout, options);
    ASSERT_EQ(sheet.capCount(), 56);
    const LegendPage& page = sheet.pages[0];
    EXPECT_FALSE(page.caps[0].programmed);
    EXPECT_TRUE(page.caps[0].name.empty()) << "a blank cap carries no name";
    const LegendCap& cash = page.caps[9];
    EXPECT_EQ(cash.key, 10);
    EXPECT_EQ(cash.codeNames, "A, B, Tab");
    EXPECT_GT(cash.codeBox.height, 0);
    EXPECT_LE(cash.nameBox.bottom(), cash.codeBox.y);
    EXPECT_EQ(page.caps[10].codeNames.find("extended, "), std::string::npos)
        << "the prefix is not a name of its own";
    EXPECT_EQ(CodeNamesText(Codes({0x1C, 0x32, 0x0D})), "A, B, Tab");
    ExpectSoundPages(sheet);
}

TEST(LegendSheetTest, DoublesAndQuadsAreOneInsertEach) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    ASSERT_NO_FATAL_FAILURE(ProgramBigCapsAndASingle(layout));

    const LegendSheet sheet = ComputeLegendSheet(layout, Packed());
    ASSERT_EQ(sheet.pages.size(), 1u);
    const auto& caps = sheet.pages[0].caps;
    ASSERT_EQ(caps.size(), 4u);
    EXPECT_EQ(caps[0].key, 1);
    EXPECT_EQ(caps[0].shape, CapShape::DoubleRight);
    EXPECT_NEAR(caps[0].insert.width, 2 * 19.05 - 2, 1e-9);
    EXPECT_NEAR(caps[0].insert.height, kUnit, 1e-9);
    EXPECT_EQ(caps[1].key, 3);
    EXPECT_EQ(caps[1].shape, CapShape::DoubleDown);
    EXPECT_NEAR(caps[1].insert.height, 2 * 19.05 - 2, 1e-9);
    EXPECT_EQ(caps[2].key, 5);
    EXPECT_EQ(caps[2].shape, CapShape::Quad);
    EXPECT_EQ(caps[2].name, "Cash");
    EXPECT_NEAR(caps[2].insert.width, 2 * 19.05 - 2, 1e-9);
    EXPECT_NEAR(caps[2].insert.height, 2 * 19.05 - 2, 1e-9);
    // The single after the big caps fills the place left in the first row.
    EXPECT_EQ(caps[3].key, 20);
    EXPECT_NEAR(caps[3].insert.y, caps[0].insert.y, 1e-9);
    ExpectSoundPages(sheet);
}

TEST(LegendSheetTest, AFull112KeyLayoutFillsOnePageAndABiggerPitchPages) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    for (int k = 1; k <= 112; ++k)
        Program(layout, k, {0x1C}, "K" + std::to_string(k));

    LegendSheet sheet = ComputeLegendSheet(layout, Packed());
    ASSERT_EQ(sheet.pages.size(), 1u);
    EXPECT_EQ(sheet.capCount(), 112);
    ExpectSoundPages(sheet);

    LegendOptions options = Packed();
    options.pitchMm = 30;
    options.footer = "layout.txt  2024-01-01";
    sheet = ComputeLegendSheet(layout, options);
    // 6 columns by 9 rows (the footer takes its band): 54 a page.
    EXPECT_EQ(sheet.columns, 6);
    EXPECT_EQ(sheet.rows, 9);
    ASSERT_EQ(sheet.pages.size(), 3u);
    EXPECT_EQ(sheet.pages[0].caps.size(), 54u);
    EXPECT_EQ(sheet.pages[2].caps.size(), 4u);
    EXPECT_EQ(sheet.capCount(), 112);
    std::set<int> keys;
    for (const LegendPage& page : sheet.pages) {
        EXPECT_GT(page.footerBox.height, 0);
        for (const LegendCap& cap : page.caps) {
            keys.insert(cap.key);
            EXPECT_LE(cap.insert.bottom(), page.footerBox.y);
        }
    }
    EXPECT_EQ(keys.size(), 112u);
    ExpectSoundPages(sheet);
}

TEST(LegendSheetTest, FiftySixKeysLeaveTheAbsentBlockOut) {
    ObservedLayout doc(56);
    LegendOptions options;
    options.onlyProgrammed = false;
    options.pageWidthMm = 215.9; // Letter
    options.pageHeightMm = 279.4;
    const LegendSheet sheet = ComputeLegendSheet(doc.layout, options);
    EXPECT_EQ(sheet.capCount(), 56);
    EXPECT_NEAR(sheet.pageWidthMm, 215.9, 1e-9);
    for (const LegendPage& page : sheet.pages) {
        for (const LegendCap& cap : page.caps)
            EXPECT_LE(cap.key, 56);
    }
    ExpectSoundPages(sheet);
    // Nothing programmed and only programmed keys asked for: one empty page.
    const LegendSheet empty = ComputeLegendSheet(doc.layout, {});
    ASSERT_EQ(empty.pages.size(), 1u);
    EXPECT_EQ(empty.capCount(), 0);
}

TEST(LegendSheetTest, LongNamesStayWholeAndBreakBetweenWords) {
    ObservedLayout doc;
    const std::string longName(102, 'W');
    Program(doc.layout, 1, {0x1C}, longName);
    const LegendSheet sheet = ComputeLegendSheet(doc.layout, {});
    EXPECT_EQ(sheet.pages[0].caps[0].name, longName) << "the painter fits it, not the geometry";

    auto texts = [](std::string_view name) {
        std::vector<std::string> lines;
        for (const NameBreak& b : NameBreaks(name))
            lines.push_back(std::string(name.substr(0, b.firstEnd)) + "|" +
                            std::string(name.substr(b.secondStart)));
        return lines;
    };
    EXPECT_EQ(texts("Cash drawer"), (std::vector<std::string>{"Cash|drawer"}));
    EXPECT_EQ(texts("Sub-total  now"),
              (std::vector<std::string>{"Sub-|total  now", "Sub-total|now"}));
    EXPECT_EQ(texts("A/B"), (std::vector<std::string>{"A/|B"}));
    EXPECT_TRUE(texts(" lead").empty());
    EXPECT_TRUE(texts("trail ").empty());
    EXPECT_TRUE(texts("Zwischensumme").empty());
    EXPECT_TRUE(texts("").empty());
}

TEST(LegendSheetTest, OutOfRangeSizesAreBroughtIntoRange) {
    ObservedLayout doc;
    Program(doc.layout, 1, {0x1C}, "Total");
    LegendOptions options = Packed();
    options.pitchMm = 1000;
    options.marginMm = -3;
    LegendSheet sheet = ComputeLegendSheet(doc.layout, options);
    EXPECT_EQ(sheet.options.pitchMm, kMaxPitchMm);
    EXPECT_EQ(sheet.options.marginMm, 0.0);
    EXPECT_TRUE(sheet.pages[0].cutMarks.empty()) << "inserts that touch need no marks";

    // A quad that is wider than the page gets a page of its own.
    Program(doc.layout, 3, {0x32}, "Big");
    doc.layout.currentKey = 3;
    ASSERT_TRUE(doc.layout.FormQuad());
    Program(doc.layout, 30, {0x21}, "After");
    options.pitchMm = 60;
    options.pageWidthMm = 100;
    options.pageHeightMm = 100;
    sheet = ComputeLegendSheet(doc.layout, options);
    ASSERT_EQ(sheet.pages.size(), 3u);
    EXPECT_EQ(sheet.pages[1].caps.size(), 1u);
    EXPECT_EQ(sheet.pages[1].caps[0].shape, CapShape::Quad);
    EXPECT_EQ(sheet.pages[2].caps[0].key, 30);
}

const LegendCap* CapOf(const LegendSheet& sheet, int key, int* pageIndex = nullptr) {
    for (std::size_t p = 0; p < sheet.pages.size(); ++p) {
        for (const LegendCap& cap : sheet.pages[p].caps) {
            if (cap.key == key) {
                if (pageIndex)
                    *pageIndex = static_cast<int>(p);
                return &cap;
            }
        }
    }
    return nullptr;
}

TEST(LegendSheetTest, AsOnTheKeyboardEveryInsertStandsWhereItsCapStands) {
    ObservedLayout doc(112);
    Layout& layout = doc.layout;
    ASSERT_NO_FATAL_FAILURE(ProgramBigCapsAndASingle(layout));
    Program(layout, 57, {0x24}, "Right");
    Program(layout, 112, {0x2B}, "Last");

    const LegendSheet sheet = ComputeLegendSheet(layout, {});
    EXPECT_EQ(sheet.options.arrangement, LegendArrangement::Keyboard) << "the default";
    ASSERT_EQ(sheet.pages.size(), 1u);
    ASSERT_EQ(sheet.capCount(), 6);
    const double pitch = 19.05;
    const RectMm one = CapOf(sheet, 1)->insert;
    auto expectAt = [&](int key, int columns, int rows, CapShape shape) {
        const LegendCap* cap = CapOf(sheet, key);
        ASSERT_NE(cap, nullptr) << key;
        EXPECT_EQ(cap->shape, shape) << key;
        EXPECT_NEAR(cap->insert.x - one.x, columns * pitch, 1e-9) << key;
        EXPECT_NEAR(cap->insert.y - one.y, rows * pitch, 1e-9) << key;
    };
    expectAt(1, 0, 0, CapShape::DoubleRight);
    expectAt(3, 2, 0, CapShape::DoubleDown);
    expectAt(5, 4, 0, CapShape::Quad);
    expectAt(20, 3, 2, CapShape::Single);
    // Side by side the two blocks are 16 keys (304.8 mm) wide: wider than A4 either way up, so
    // the right block stands below the left one on a portrait page.
    EXPECT_FALSE(sheet.turned);
    expectAt(57, 0, 7, CapShape::Single);
    expectAt(112, 7, 13, CapShape::Single);
    EXPECT_NEAR(CapOf(sheet, 3)->insert.height, 2 * pitch - 2, 1e-9);
    ExpectSoundPages(sheet);
}

TEST(LegendSheetTest, AsOnTheKeyboardThePageTurnsOnlyWhenThatIsWhatFits) {
    struct Case {
        const char* what;
        int keyCount;
        double pitch, pageWidth, pageHeight;
        bool footer;
        bool turned;
        std::size_t pages;
        int rightOfKey8; // key 57 stands right of key 8 (1), below key 49 (0), on page 2 (-1)
    };
    const Case cases[] = {
        {"56 keys on A4", 56, 19.05, 210, 297, true, false, 1, 1},
        {"56 keys on Letter", 56, 19.05, 215.9, 279.4, false, false, 1, 1},
        {"112 keys stacked on A4", 112, 19.05, 210, 297, true, false, 1, 0},
        {"112 keys stacked on turned A4", 112, 19.05, 297, 210, false, true, 1, 0},
        {"112 keys a block a Letter page", 112, 19.05, 215.9, 279.4, true, false, 2, -1},
        {"112 keys side by side on turned A4", 112, 15, 210, 297, true, true, 1, 1},
        {"112 keys side by side on turned Letter", 112, 15, 215.9, 279.4, false, true, 1, 1},
        {"112 keys side by side on A3", 112, 19.05, 420, 297, true, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ObservedLayout doc(c.keyCount);
        LegendOptions options;
        options.onlyProgrammed = false;
        options.pitchMm = c.pitch;
        options.pageWidthMm = c.pageWidth;
        options.pageHeightMm = c.pageHeight;
        if (c.footer)
            options.footer = "layout.txt  2024-01-01";
        const LegendSheet sheet = ComputeLegendSheet(doc.layout, options);
        EXPECT_EQ(sheet.options.arrangement, LegendArrangement::Keyboard);
        EXPECT_EQ(sheet.turned, c.turned);
        EXPECT_NEAR(sheet.pageWidthMm, c.turned ? c.pageHeight : c.pageWidth, 1e-9);
        EXPECT_NEAR(sheet.pageHeightMm, c.turned ? c.pageWidth : c.pageHeight, 1e-9);
        ASSERT_EQ(sheet.pages.size(), c.pages);
        EXPECT_EQ(sheet.capCount(), c.keyCount);
        ExpectSoundPages(sheet);
        if (c.keyCount < 112)
            continue;
        int page57 = 0;
        const RectMm k8 = CapOf(sheet, 8)->insert;
        const RectMm k49 = CapOf(sheet, 49)->insert;
        const RectMm k57 = CapOf(sheet, 57, &page57)->insert;
        if (c.rightOfKey8 == 1) {
            EXPECT_NEAR(k57.x - k8.x, c.pitch, 1e-9);
            EXPECT_NEAR(k57.y, k8.y, 1e-9);
        } else if (c.rightOfKey8 == 0) {
            EXPECT_NEAR(k57.y - k49.y, c.pitch, 1e-9);
            EXPECT_NEAR(k57.x, k49.x, 1e-9);
        } else {
            EXPECT_EQ(page57, 1);
            EXPECT_NEAR(k57.x, CapOf(sheet, 1)->insert.x, 1e-9);
            EXPECT_NEAR(k57.y, CapOf(sheet, 1)->insert.y, 1e-9);
        }
    }
}

TEST(LegendSheetTest, AsOnTheKeyboardLeavesOutABlockWithoutInsertsAndFallsBackToPacked) {
    ObservedLayout doc(112);
    Program(doc.layout, 60, {0x1C}, "Right only");
    LegendOptions options;
    options.pageWidthMm = 215.9; // Letter: a page for each block
    options.pageHeightMm = 279.4;
    LegendSheet sheet = ComputeLegendSheet(doc.layout, options);
    ASSERT_EQ(sheet.pages.size(), 1u) << "the left block has nothing to cut";
    EXPECT_EQ(sheet.pages[0].caps[0].key, 60);
    ExpectSoundPages(sheet);

    // Not even one block fits: the inserts are packed, and the sheet says so.
    options.pitchMm = 40;
    sheet = ComputeLegendSheet(doc.layout, options);
    EXPECT_EQ(sheet.options.arrangement, LegendArrangement::Packed);
    EXPECT_FALSE(sheet.turned);
    ASSERT_EQ(sheet.capCount(), 1);
    ExpectSoundPages(sheet);
}

} // namespace
} // namespace zr4700::testing
