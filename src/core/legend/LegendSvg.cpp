#include "core/legend/LegendSvg.h"

#include "core/legend/LegendDrawing.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace zr4700 {

namespace {

// A length with at most three decimals and no trailing zeros, whatever the locale.
std::string Number(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 3);
    std::string text(buffer.data(), result.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string Colour(Rgb colour) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return buffer.data();
}

// The length of the character at text[i] when it is one XML 1.0 allows; 0 if not.
std::size_t XmlCharacterLength(std::string_view text, std::size_t i) {
    const Utf8Character c = DecodeUtf8At(text, i);
    if (c.code < 0x20 && c.code != '\t' && c.code != '\n' && c.code != '\r')
        return 0;
    return c.code == 0xFFFE || c.code == 0xFFFF ? 0 : c.length;
}

} // namespace

std::string XmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = XmlCharacterLength(text, i);
        if (length == 0) {
            ++i;
            continue;
        }
        switch (text[i]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string LegendPageSvg(const LegendSheet& sheet, int pageIndex, std::string_view pageFormat) {
    const LegendDrawing drawing = DrawLegendPage(sheet, pageIndex, pageFormat, EstimatedTextWidth);
    const std::string width = Number(drawing.widthMm);
    const std::string height = Number(drawing.heightMm);
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width
        << "mm\" height=\"" << height << "mm\" viewBox=\"0 0 " << width << ' ' << height << "\">\n"
        << "<title>" << XmlEscaped(drawing.title) << "</title>\n";

    // A faint outline shows each insert's edge; the cut marks say where to cut.
    svg << "<g fill=\"none\" stroke=\"" << Colour(drawing.outlineColour) << "\" stroke-width=\""
        << Number(drawing.outlineWidthMm) << "\">\n";
    for (const RectMm& r : drawing.outlines)
        svg << "<rect x=\"" << Number(r.x) << "\" y=\"" << Number(r.y) << "\" width=\""
            << Number(r.width) << "\" height=\"" << Number(r.height) << "\"/>\n";
    svg << "</g>\n<g fill=\"none\" stroke=\"#000000\" stroke-width=\""
        << Number(drawing.cutMarkWidthMm) << "\" stroke-linecap=\"butt\">\n";
    for (const LineMm& l : drawing.cutMarks)
        svg << "<line x1=\"" << Number(l.x1) << "\" y1=\"" << Number(l.y1) << "\" x2=\""
            << Number(l.x2) << "\" y2=\"" << Number(l.y2) << "\"/>\n";
    svg << "</g>\n<g font-family=\"DejaVu Sans, Arial, sans-serif\" "
           "font-stretch=\"semi-condensed\">\n";
    for (const PlacedText& t : drawing.texts) {
        const double x = t.centred ? t.box.x + t.box.width / 2 : t.box.x;
        const double baseline = t.box.y + (t.box.height - t.sizeMm * kLineHeightPerSize) / 2 +
                                t.sizeMm * kBaselinePerSize;
        svg << "<text x=\"" << Number(x) << "\" y=\"" << Number(baseline) << "\" font-size=\""
            << Number(t.sizeMm) << "\" fill=\"" << Colour(t.colour) << '"'
            << (t.centred ? " text-anchor=\"middle\"" : "") << " xml:space=\"preserve\">"
            << XmlEscaped(t.text) << "</text>\n";
    }
    svg << "</g>\n</svg>\n";
    return svg.str();
}

std::vector<std::filesystem::path> LegendPagePaths(const std::filesystem::path& path,
                                                   bool onePagePerFile, int pageCount) {
    std::vector<std::filesystem::path> paths{path};
    if (!onePagePerFile)
        return paths;
    for (int page = 2; page <= pageCount; ++page) {
        std::filesystem::path name = path.stem();
        name += "-";
        name += std::to_string(page);
        name += path.extension();
        paths.push_back(std::filesystem::path(path).replace_filename(name));
    }
    return paths;
}

} // namespace zr4700
