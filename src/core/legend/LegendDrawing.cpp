#include "core/legend/LegendDrawing.h"

#include "core/document/Views.h"

namespace zr4700 {

namespace {

constexpr Rgb kNameColour{0, 0, 0};
constexpr Rgb kCodeColour{80, 80, 80};
constexpr Rgb kFooterColour{60, 60, 60};
constexpr Rgb kNumberColour{90, 90, 90};
constexpr double kSmallestNameMm = 1.6;

std::string Replaced(std::string text, std::string_view marker, std::string_view value) {
    const auto at = text.find(marker);
    if (at != std::string::npos)
        text.replace(at, marker.size(), value);
    return text;
}

// The lines of a fitted text, centred one under the other in the box.
void PlaceLines(const FittedText& fitted, const RectMm& box, Rgb colour,
                std::vector<PlacedText>& texts) {
    const double height = fitted.lineHeight();
    double top = box.y + (box.height - height * static_cast<double>(fitted.lines.size())) / 2;
    for (const std::string& line : fitted.lines) {
        texts.push_back({line, {box.x, top, box.width, height}, fitted.sizeMm, true, colour});
        top += height;
    }
}

} // namespace

std::string LegendFooterText(const LegendSheet& sheet, int pageIndex, std::string_view pageFormat) {
    std::string text = sheet.options.footer;
    if (sheet.pages.size() > 1) {
        const std::string page =
            Replaced(Replaced(std::string(pageFormat), "%1", std::to_string(pageIndex + 1)), "%2",
                     std::to_string(sheet.pages.size()));
        text = text.empty() ? page : text + "    " + page;
    }
    return text;
}

LegendDrawing DrawLegendPage(const LegendSheet& sheet, int pageIndex, std::string_view pageFormat,
                             const TextMeasure& measure) {
    LegendDrawing drawing;
    drawing.widthMm = sheet.pageWidthMm;
    drawing.heightMm = sheet.pageHeightMm;
    drawing.title = sheet.options.footer;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(sheet.pages.size()))
        return drawing;
    const LegendPage& page = sheet.pages[static_cast<std::size_t>(pageIndex)];
    for (const LegendCap& cap : page.caps)
        drawing.outlines.push_back(cap.insert);
    drawing.cutMarks = page.cutMarks;

    // Every insert, blank or not, says in its corner which key it goes on.
    for (const LegendCap& cap : page.caps) {
        if (cap.numberBox.height > 0 && cap.numberBox.width > 0)
            drawing.texts.push_back({std::to_string(cap.key), cap.numberBox,
                                     cap.numberBox.height * 0.8, false, kNumberColour});
    }
    const double unit = sheet.options.pitchMm - 2 * sheet.options.marginMm;
    for (const LegendCap& cap : page.caps) {
        if (!cap.programmed)
            continue;
        // Bigger caps may carry bigger letters, but a quad's name should not shout.
        const double largest = unit * (cap.shape == CapShape::Quad ? 0.4 : 0.3);
        const FittedText name = FitName(ShownKeyName(cap.name), cap.nameBox.width,
                                        cap.nameBox.height, largest, kSmallestNameMm, measure);
        PlaceLines(name, cap.nameBox, kNameColour, drawing.texts);
        if (cap.codeBox.height > 0 && !cap.codeNames.empty()) {
            const double size = cap.codeBox.height * 0.75;
            const FittedText codes{size,
                                   {ElidedRight(cap.codeNames, cap.codeBox.width, size, measure)}};
            PlaceLines(codes, cap.codeBox, kCodeColour, drawing.texts);
        }
    }

    const std::string footer = LegendFooterText(sheet, pageIndex, pageFormat);
    if (!footer.empty() && page.footerBox.height > 0) {
        const double size = page.footerBox.height * 0.55;
        drawing.texts.push_back({ElidedMiddle(footer, page.footerBox.width, size, measure),
                                 page.footerBox, size, false, kFooterColour});
    }
    return drawing;
}

} // namespace zr4700
