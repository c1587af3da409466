#pragma once
// What one page of a legend sheet shows, as plain shapes and placed lines of text in millimetres:
// the inserts' faint outlines, the cut marks, each insert's key number, each programmed cap's name
// (fitted, wrapped or elided) and code names, and the footer. The SVG writer and the Windows
// printer both draw this, so they show the same as the Qt painter.

#include "core/legend/LegendSheet.h"
#include "core/legend/LegendText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// One line of text, vertically centred in its box, centred across it or from its left edge.
struct PlacedText {
    std::string text; // UTF-8
    RectMm box;
    double sizeMm = 0;
    bool centred = true;
    Rgb colour;
};

struct LegendDrawing {
    double widthMm = 0, heightMm = 0;
    std::string title; // the sheet's footer, without the page
    std::vector<RectMm> outlines;
    Rgb outlineColour{200, 200, 200};
    double outlineWidthMm = 0.1;
    std::vector<LineMm> cutMarks;
    double cutMarkWidthMm = 0.15;
    std::vector<PlacedText> texts;
};

// The footer of a page: the sheet's footer and, on a sheet of several pages, "Page 2 of 3" from
// pageFormat ("Page %1 of %2", the string table's).
std::string LegendFooterText(const LegendSheet& sheet, int pageIndex, std::string_view pageFormat);

// An empty drawing for a page the sheet does not have.
LegendDrawing DrawLegendPage(const LegendSheet& sheet, int pageIndex, std::string_view pageFormat,
                             const TextMeasure& measure);

} // namespace zr4700
