// The legend sheet as SVG: a drawing any XML reader takes, in millimetres, with every name and
// code name as its text (escaped, whatever it holds), fitted onto its insert; and the text
// fitting the drawing and the Windows printer share.

#include "LayoutTestSupport.h"

#include "core/legend/LegendDrawing.h"
#include "core/legend/LegendSvg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zr4700::testing {
namespace {

// What Python's own XML reader makes of a drawing: the svg element's width, height and viewBox,
// the numbers of rectangles and lines, then every text element's text, one a line.
std::vector<std::string> ReadBack(const std::string& svg) {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("zr4700-svg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const auto in = dir / "page.svg";
    const auto out = dir / "read.txt";
    std::ofstream(in, std::ios::binary) << svg;
    const std::string script =
        "import sys, xml.etree.ElementTree as E\n"
        "n = '{http://www.w3.org/2000/svg}'\n"
        "r = E.parse(sys.argv[1]).getroot()\n"
        "lines = [r.get('width'), r.get('height'), r.get('viewBox'),\n"
        "         str(len(r.findall('.//' + n + 'rect'))), str(len(r.findall('.//' + n + "
        "'line')))]\n"
        "lines += [t.text or '' for t in r.iter(n + 'text')]\n"
        "open(sys.argv[2], 'w', encoding='utf-8').write('\\n'.join(lines))\n";
    std::ofstream(dir / "read.py") << script;
    const std::string command =
        "python3 " + (dir / "read.py").string() + " " + in.string() + " " + out.string();
    std::vector<std::string> lines;
    if (std::system(command.c_str()) != 0)
        return lines;
    std::ifstream read(out, std::ios::binary);
    for (std::string line; std::getline(read, line);)
        lines.push_back(line);
    std::filesystem::remove_all(dir);
    return lines;
}

TEST(LegendSvgTest, APageIsWellFormedSvgInMillimetresWithItsTextsEscaped) {
    ObservedLayout doc;
    Layout& layout = doc.layout;
    Program(layout, 1, {0x1C}, "A&<B>");
    Program(layout, 2, {0x32}, "Tom's\"x\"\x01");
    LegendOptions options;
    options.showCodeNames = true;
    options.footer = "till <1>.txt";
    const LegendSheet sheet = ComputeLegendSheet(layout, options);
    ASSERT_EQ(sheet.pages.size(), 1u);
    const std::string svg = LegendPageSvg(sheet, 0, "Page %1 of %2");
    const std::vector<std::string> read = ReadBack(svg);
    ASSERT_GE(read.size(), 5u) << "python3 could not read the drawing:\n" << svg;
    EXPECT_EQ(read[0], "210mm");
    EXPECT_EQ(read[1], "297mm");
    EXPECT_EQ(read[2], "0 0 210 297") << "one user unit is one millimetre";
    EXPECT_EQ(read[3], std::to_string(sheet.pages[0].caps.size()));
    EXPECT_EQ(read[4], std::to_string(sheet.pages[0].cutMarks.size()));
    const std::vector<std::string> texts(read.begin() + 5, read.end());
    const std::vector<std::string> expected{"1",          "2", "A&<B>",       "A",
                                            "Tom's\"x\"", "B", "till <1>.txt"};
    EXPECT_EQ(texts, expected)
        << "the key numbers, then each name and its code names (the control character dropped)";
}

TEST(LegendSvgTest, XmlEscapingTable) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&apos;f"},
        {"bell\x07tab\t", "belltab\t"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"broken\xC3", "broken"},
        {"\xEF\xBF\xBE", ""}, // U+FFFE
    };
    for (const Case& c : cases)
        EXPECT_EQ(XmlEscaped(c.in), c.out) << c.in;
}

TEST(LegendSvgTest, NamesFitOnOneLineTwoLinesOrElided) {
    struct Case {
        const char* name;
        double height;
        std::size_t lineCount;
        const char* joined; // the lines joined by a space; null: the first line is elided
    };
    const Case cases[] = {
        {"Total", 10, 1, "Total"},
        {"Cash drawer open", 10, 2, "Cash drawer open"},
        {"Subtotalsubtotalsubtotalsubtotal", 3, 1, nullptr},
        {"  ", 10, 0, ""},
    };
    constexpr double kWidth = 15;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FittedText fitted = FitName(c.name, kWidth, c.height, 5.1, 1.6, EstimatedTextWidth);
        ASSERT_EQ(fitted.lines.size(), c.lineCount);
        std::string joined;
        for (const std::string& line : fitted.lines) {
            joined += (joined.empty() ? "" : " ") + line;
            EXPECT_LE(EstimatedTextWidth(line, fitted.sizeMm), kWidth + 0.01);
        }
        if (c.joined) {
            EXPECT_EQ(joined, c.joined);
        } else {
            EXPECT_EQ(joined.rfind("Subtotal", 0), 0u);
            EXPECT_EQ(joined.substr(joined.size() - 3), "\u2026");
            EXPECT_DOUBLE_EQ(fitted.sizeMm, 1.6) << "elided only at the smallest size";
        }
    }
    EXPECT_DOUBLE_EQ(FitName("Total", kWidth, 10, 5.1, 1.6, EstimatedTextWidth).sizeMm, 5.1);
}

TEST(LegendSvgTest, LaterPagesGoBesideTheFirst) {
    const auto paths = LegendPagePaths("out/sheet.svg", true, 3);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[1], std::filesystem::path("out/sheet-2.svg"));
    EXPECT_EQ(paths[2], std::filesystem::path("out/sheet-3.svg"));
    EXPECT_EQ(LegendPagePaths("sheet.pdf", false, 3).size(), 1u);
    ObservedLayout doc;
    Program(doc.layout, 1, {0x1C}, "A");
    LegendOptions options;
    options.footer = "f";
    const LegendSheet sheet = ComputeLegendSheet(doc.layout, options);
    EXPECT_EQ(LegendFooterText(sheet, 0, "Page %1 of %2"), "f");
}

} // namespace
} // namespace zr4700::testing
