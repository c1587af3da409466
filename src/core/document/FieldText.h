#pragma once
// Reading a number the user typed into a dialog field, with the platform's standard messages:
// what a text is worth, or which message refuses it. Every dialog of both front ends reads its
// number fields through these rules.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

struct TypedNumber {
    bool ok = false;
    long long value = 0;
    // Refused: the message (a string id) and its arguments.
    int messageId = 0;
    std::vector<std::string> args;
    // Refused as out of range, although the text was a number: value holds it.
    bool outOfRange = false;
};

// An unsigned decimal number (digits only, blanks around allowed) within [min, max]: "Please
// enter a positive integer." for anything else, "Please enter an integer between %1 and %2."
// for a number outside the range.
TypedNumber ReadUnsignedText(std::string_view text, std::uint32_t min, std::uint32_t max);
// A signed decimal number within [min, max]: "Please enter an integer." or the range message.
TypedNumber ReadIntegerText(std::string_view text, std::int32_t min, std::int32_t max);
// A byte 0..255 (an optional sign allowed): "Please enter an integer between 0 and 255."
TypedNumber ReadByteText(std::string_view text);

} // namespace zr4700
