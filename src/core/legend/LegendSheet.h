#pragma once
// The sheet of paper inserts that go under the keyboard's clear key caps: one insert per cap of
// the layout (single, double to the right, double downward, quad) at real size, laid out on
// pages with cut marks. Everything here is in millimetres from a page's top-left corner, so one
// painting routine can draw it onto a PDF, a printer, an SVG drawing or a picture alike.

#include "core/model/Layout.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

enum class CapShape { Single, DoubleRight, DoubleDown, Quad };

// Width and height of a cap in key units.
int CapColumns(CapShape shape);
int CapRows(CapShape shape);

// How the inserts are laid out on the paper.
enum class LegendArrangement {
    Keyboard, // each insert where its cap stands on the keyboard, so a cut insert says where it
              // goes
    Packed,   // in key order, each at the first free place: the least paper
};

struct LegendOptions {
    LegendArrangement arrangement = LegendArrangement::Keyboard;
    double pitchMm = 19.05;     // distance between the centres of two neighbouring keys
    double marginMm = 1.0;      // trimmed off each side of a cap's pitch square
    bool onlyProgrammed = true; // false: blank keys get an insert too
    bool showCodeNames = false; // a small second line with the names of the codes
    double pageWidthMm = 210.0; // A4 unless the printer or locale says otherwise
    double pageHeightMm = 297.0;
    double pageMarginMm = 10.0; // kept free along every edge, where printers cannot print
    std::string footer;         // e.g. the layout's file name and the date; empty: no footer
};

// Sizes the user may choose; values outside are brought into range.
constexpr double kMinPitchMm = 5.0;
constexpr double kMaxPitchMm = 60.0;
constexpr double kMaxMarginMm = 5.0;
// The margin may not eat the insert: at most a quarter of the pitch, and never above the maximum.
constexpr double MaxMarginMm(double pitchMm) {
    return pitchMm / 4 < kMaxMarginMm ? pitchMm / 4 : kMaxMarginMm;
}

struct RectMm {
    double x = 0, y = 0, width = 0, height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
};

struct LineMm {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct LegendCap {
    int key = 0; // the cap's anchor, its lowest-numbered key
    CapShape shape = CapShape::Single;
    bool programmed = false; // blank caps carry no name
    RectMm insert;           // the paper to cut out
    RectMm nameBox;          // where the name goes, inside the insert's padding
    RectMm codeBox;          // where the code names go (height 0 when not shown)
    RectMm numberBox;        // the top-left corner that carries the key number in small type
    std::string name;        // the key's name, whole; the painter wraps or elides it
    std::string codeNames;   // "A, B, Tab"; empty when not shown or not programmed
};

struct LegendPage {
    std::vector<LegendCap> caps;
    std::vector<LineMm> cutMarks;
    RectMm footerBox; // height 0 without a footer
};

struct LegendSheet {
    // As used: sizes brought into range, and Packed when not even one block of the keyboard fits
    // on a page.
    LegendOptions options;
    double pageWidthMm = 0, pageHeightMm = 0; // as used: turned when only that fits
    bool turned = false; // the page is the requested one turned a quarter (portrait to landscape)
    int columns = 0, rows = 0; // key units per page
    std::vector<LegendPage> pages;
    int capCount() const;
};

// The caps of a layout in key order, each at its anchor: which keys are drawn as one cap follows
// the cell state and partners of keys 1..keyCount.
struct LayoutCap {
    int key = 0;
    CapShape shape = CapShape::Single;
    bool programmed = false;
};
std::vector<LayoutCap> LayoutCaps(const Layout& layout, bool onlyProgrammed);

// The names of a key's codes for a legend or a screen reader: "A, B, Tab". The extended prefix
// is left out, since the name of the code after it already says "extended".
std::string CodeNamesText(const KeyCodes& codes);

// Byte offsets where a name may be broken onto a second line: after a space (the space itself
// is dropped from both lines), after a hyphen or slash. Sorted, never 0 or the end.
struct NameBreak {
    std::size_t firstEnd = 0;    // the first line is name[0, firstEnd)
    std::size_t secondStart = 0; // the second line is name[secondStart, end)
};
std::vector<NameBreak> NameBreaks(std::string_view name);

// Lays out the sheet.
// Keyboard: every cap stands where it stands on the grid, the two blocks of a 112-key keyboard
// side by side. When that does not fit the page, the right block goes below the left one, and
// when that does not fit either, each block gets a page of its own. Each of these is tried on the
// page as requested and then turned, so the page turns only when that is what makes it fit.
// Packed: caps are placed in key order, each at the first free place (row by row) of a grid of
// pitch squares where its whole shape fits; a cap that fits nowhere on the page starts a new
// page. A cap larger than an empty page still gets a page of its own.
LegendSheet ComputeLegendSheet(const Layout& layout, const LegendOptions& options);

} // namespace zr4700
