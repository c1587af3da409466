#pragma once
// A legend sheet's page as an SVG drawing, sized in millimetres (one user unit is one millimetre),
// so that it prints at real size. The texts are set in the viewer's sans-serif font at the sizes
// the sheet's fitting rules chose with an estimate of that font's widths.

#include "core/legend/LegendSheet.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

// pageFormat is the footer's "Page %1 of %2".
std::string LegendPageSvg(const LegendSheet& sheet, int pageIndex, std::string_view pageFormat);

// Text for XML content and attribute values: the five special characters as entities, and the
// characters XML cannot carry at all (control characters, broken UTF-8) dropped.
std::string XmlEscaped(std::string_view utf8);

// Where each page goes: a file that holds one page (SVG, PNG) gets the first page, and the
// second goes beside it as "sheet-2.svg", and so on; a file of every page (PDF) is the one path.
std::vector<std::filesystem::path> LegendPagePaths(const std::filesystem::path& path,
                                                   bool onePagePerFile, int pageCount);

} // namespace zr4700
