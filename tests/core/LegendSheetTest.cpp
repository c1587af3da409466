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

    const LegendSheet sheet = ComputeLegendSheet(layout, {});
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

    const LegendSheet sheet = ComputeLegendSheet(layout, {});
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

    LegendSheet sheet = ComputeLegendSheet(layout, {});
    ASSERT_EQ(sheet.pages.size(), 1u);
    EXPECT_EQ(sheet.capCount(), 112);
    ExpectSoundPages(sheet);

    LegendOptions options;
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
    LegendOptions options;
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

} // namespace
} // namespace zr4700::testing
