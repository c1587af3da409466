#include "core/document/FieldText.h"

#include "core/document/UserPrompts.h"

#include <charconv>
#include <limits>

namespace zr4700 {
namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A whole decimal number with an optional sign; false for anything else or one too large.
bool ParseSigned(std::string_view text, long long& value) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

TypedNumber Refused(int messageId, std::vector<std::string> args = {}) {
    TypedNumber number;
    number.messageId = messageId;
    number.args = std::move(args);
    return number;
}

TypedNumber Accepted(long long value) {
    TypedNumber number;
    number.ok = true;
    number.value = value;
    return number;
}

} // namespace

TypedNumber ReadUnsignedText(std::string_view text, std::uint32_t min, std::uint32_t max) {
    text = Trimmed(text);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return Refused(kStrPositiveMessage);
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && value >= min && value <= max)
        return Accepted(static_cast<long long>(value));
    TypedNumber refused = Refused(kStrRangeMessage, {std::to_string(min), std::to_string(max)});
    // A number that still fits the field's own type is kept, for a dialog that stores it.
    if (error == std::errc() && value <= std::numeric_limits<std::uint32_t>::max()) {
        refused.outOfRange = true;
        refused.value = static_cast<long long>(value);
    }
    return refused;
}

TypedNumber ReadIntegerText(std::string_view text, std::int32_t min, std::int32_t max) {
    long long value = 0;
    if (!ParseSigned(Trimmed(text), value))
        return Refused(kStrIntegerMessage);
    if (value < min || value > max) {
        TypedNumber refused = Refused(kStrRangeMessage, {std::to_string(min), std::to_string(max)});
        refused.outOfRange = true;
        refused.value = value;
        return refused;
    }
    return Accepted(value);
}

TypedNumber ReadByteText(std::string_view text) {
    long long value = 0;
    if (!ParseSigned(Trimmed(text), value) || value < 0 || value > 255)
        return Refused(kStrByteRangeMessage);
    return Accepted(value);
}

} // namespace zr4700
