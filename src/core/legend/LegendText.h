#pragma once
// Fitting a key's name onto a paper insert without a toolkit: the rules the screen's caps use (the
// largest size, from a maximum down to a minimum, at which the name fits its box on one line or on
// two lines broken between words; one line wins a tie; what fits neither way at the minimum is
// wrapped inside a word and elided). The widths come from a measure the caller gives: the real
// font's on a printer, an estimate for a drawing that the viewer sets in its own font.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

// The advance of a UTF-8 text set at sizeMm, in millimetres.
using TextMeasure = std::function<double(std::string_view text, double sizeMm)>;

// The height of a line and its baseline below the line's top, per millimetre of font size (the
// sans-serif face's ascent plus descent, and ascent).
constexpr double kLineHeightPerSize = 1.164;
constexpr double kBaselinePerSize = 0.928;

// An estimate of a semi-condensed sans-serif face's advance: narrow, wide and capital letters
// apart, every other character alike.
double EstimatedTextWidth(std::string_view text, double sizeMm);

struct FittedText {
    double sizeMm = 0;
    std::vector<std::string> lines; // one or two; none for an empty name
    double lineHeight() const { return sizeMm * kLineHeightPerSize; }
};

FittedText FitName(std::string_view name, double boxWidth, double boxHeight, double maxSizeMm,
                   double minSizeMm, const TextMeasure& measure);

// Cut at the end (or in the middle) with "…" so that it fits the width; unchanged when it does.
std::string ElidedRight(std::string_view text, double width, double sizeMm,
                        const TextMeasure& measure);
std::string ElidedMiddle(std::string_view text, double width, double sizeMm,
                         const TextMeasure& measure);

// The valid UTF-8 sequence that starts at text[i]: its length and code point; length 0 when the
// bytes there are no valid sequence (broken, overlong, a surrogate).
struct Utf8Character {
    std::size_t length = 0;
    std::uint32_t code = 0;
};
Utf8Character DecodeUtf8At(std::string_view text, std::size_t i);

} // namespace zr4700
