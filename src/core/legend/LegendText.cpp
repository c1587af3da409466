#include "core/legend/LegendText.h"

#include "core/legend/LegendSheet.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace zr4700 {

namespace {

constexpr double kSlack = 0.001; // millimetres lost to rounding

// Code point boundaries of valid UTF-8: the byte offsets of each character's start, and the end.
std::vector<std::size_t> Boundaries(std::string_view text) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < text.size();) {
        at.push_back(i);
        i += std::max<std::size_t>(1, DecodeUtf8At(text, i).length);
    }
    at.push_back(text.size());
    return at;
}

double CharacterWidth(std::string_view character) {
    if (character.size() != 1)
        return 0.60;
    const char c = character[0];
    if (std::string_view(" .,:;'!|()[]{}ijlft-/\"`").find(c) != std::string_view::npos)
        return 0.33;
    if (std::string_view("mwMW@%").find(c) != std::string_view::npos)
        return 0.86;
    if (c >= 'A' && c <= 'Z')
        return 0.68;
    return 0.57;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool Fits(const std::vector<std::string>& lines, double width, double height, double size,
          const TextMeasure& measure) {
    if (size * kLineHeightPerSize * static_cast<double>(lines.size()) > height + kSlack)
        return false;
    return std::ranges::all_of(
        lines, [&](const std::string& line) { return measure(line, size) <= width + kSlack; });
}

// The largest size from maxSize down to minSize at which the lines fit; none if none does. Text
// grows about linearly with its size, so one measurement gives a close first guess, which is
// then checked and lowered in small steps as the font really measures.
std::optional<double> LargestFittingSize(const std::vector<std::string>& lines, double width,
                                         double height, double maxSize, double minSize,
                                         const TextMeasure& measure) {
    double widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, measure(line, maxSize));
    double size = maxSize;
    if (widest > 0)
        size = std::min(size, maxSize * width / widest);
    size = std::min(size, height / (kLineHeightPerSize * static_cast<double>(lines.size())));
    for (int step = 0; step < 40 && size >= minSize - kSlack; ++step) {
        if (Fits(lines, width, height, size, measure))
            return std::max(size, minSize);
        size *= 0.98;
    }
    return std::nullopt;
}

} // namespace

Utf8Character DecodeUtf8At(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80)
        return {1, lead};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return {};
    }
    if (i + length > text.size())
        return {};
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0u) != 0x80u)
            return {};
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF)
        return {};
    return {length, code};
}

double EstimatedTextWidth(std::string_view text, double sizeMm) {
    double ems = 0;
    const std::vector<std::size_t> at = Boundaries(text);
    for (std::size_t i = 0; i + 1 < at.size(); ++i)
        ems += CharacterWidth(text.substr(at[i], at[i + 1] - at[i]));
    return ems * sizeMm;
}

std::string ElidedRight(std::string_view text, double width, double sizeMm,
                        const TextMeasure& measure) {
    if (measure(text, sizeMm) <= width + kSlack)
        return std::string(text);
    const std::vector<std::size_t> at = Boundaries(text);
    for (std::size_t keep = at.size() - 1; keep-- > 0;) {
        std::string candidate = std::string(Trimmed(text.substr(0, at[keep]))) + "\u2026";
        if (keep == 0 || measure(candidate, sizeMm) <= width + kSlack)
            return keep == 0 ? std::string() : candidate;
    }
    return {};
}

std::string ElidedMiddle(std::string_view text, double width, double sizeMm,
                         const TextMeasure& measure) {
    if (measure(text, sizeMm) <= width + kSlack)
        return std::string(text);
    const std::vector<std::size_t> at = Boundaries(text);
    const std::size_t count = at.size() - 1;
    for (std::size_t keep = count; keep-- > 0;) {
        const std::size_t head = (keep + 1) / 2;
        const std::size_t tail = keep - head;
        std::string candidate = std::string(text.substr(0, at[head])) + "\u2026" +
                                std::string(text.substr(at[count - tail]));
        if (measure(candidate, sizeMm) <= width + kSlack)
            return candidate;
    }
    return {};
}

FittedText FitName(std::string_view rawName, double boxWidth, double boxHeight, double maxSizeMm,
                   double minSizeMm, const TextMeasure& measure) {
    const std::string_view name = Trimmed(rawName);
    minSizeMm = std::min(minSizeMm, maxSizeMm);
    if (name.empty() || boxWidth <= 0 || boxHeight <= 0)
        return {minSizeMm, {}};

    std::vector<std::vector<std::string>> arrangements{{std::string(name)}};
    const std::vector<NameBreak> breaks = NameBreaks(name);
    for (const NameBreak& b : breaks)
        arrangements.push_back(
            {std::string(name.substr(0, b.firstEnd)), std::string(name.substr(b.secondStart))});
    FittedText best;
    for (const auto& lines : arrangements) {
        const auto size =
            LargestFittingSize(lines, boxWidth, boxHeight, maxSizeMm, minSizeMm, measure);
        if (size && *size > best.sizeMm + kSlack)
            best = {*size, lines};
    }
    if (!best.lines.empty())
        return best;

    // Nothing fits at the smallest size: two lines where two fit, the second one elided.
    const double size = minSizeMm;
    if (size * kLineHeightPerSize * 2 > boxHeight + kSlack)
        return {size, {ElidedRight(name, boxWidth, size, measure)}};
    std::string first;
    std::string rest;
    for (const NameBreak& b : breaks) {
        const std::string_view head = name.substr(0, b.firstEnd);
        if (measure(head, size) <= boxWidth + kSlack) {
            first = std::string(head);
            rest = std::string(name.substr(b.secondStart));
        }
    }
    if (first.empty()) {
        // Inside a word: as many characters as fit on the first line.
        const std::vector<std::size_t> at = Boundaries(name);
        std::size_t count = 1;
        while (count + 1 < at.size() && measure(name.substr(0, at[count + 1]), size) <= boxWidth)
            ++count;
        first = std::string(name.substr(0, at[count]));
        rest = std::string(Trimmed(name.substr(at[count])));
    }
    std::vector<std::string> lines{ElidedRight(first, boxWidth, size, measure)};
    if (!rest.empty())
        lines.push_back(ElidedRight(rest, boxWidth, size, measure));
    return {size, lines};
}

} // namespace zr4700
