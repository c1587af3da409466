#include "core/scancodes/ScanCodeTables.h"

#include <optional>

namespace zr4700 {

namespace {

// Name index of the extended variant of a set-1 code, if keyNames holds one. Extended codes
// from 0x56 upward (other than the Windows keys) would land past the end of the table.
std::optional<std::size_t> ExtendedNameIndex(int set1Code) {
    const int index = set1Code + ExtendedNameOffset(set1Code);
    if (set1Code < 0 || index < 0 || static_cast<std::size_t>(index) >= keyNames.size()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

std::string UnknownCodeName(int code) {
    return "key_" + std::to_string(code);
}

} // namespace

std::vector<CodeEntry> TranslateKeyStroke(std::uint32_t virtualKey, std::uint8_t scanCode,
                                          bool extended) {
    if (virtualKey == virtualKeyPause) {
        return {};
    }
    // The PC reports Num Lock with the extended flag set, yet the key is stored as the plain
    // set-2 code 119 without a prefix.
    if (virtualKey == virtualKeyNumLock) {
        extended = false;
    }

    const int c = scanCode;
    if (c > lastSet1Code) {
        return {CodeEntry{0, ""}};
    }
    const int code = set1ToSet2[static_cast<std::size_t>(c)];
    if (!extended) {
        return {CodeEntry{code, std::string(keyNames[static_cast<std::size_t>(c)])}};
    }

    const std::optional<std::size_t> nameIndex = ExtendedNameIndex(c);
    if (!nameIndex) {
        // Not a key the tables know: store an empty slot rather than a prefix with a code that
        // no name stands for.
        return {CodeEntry{0, ""}};
    }
    return {CodeEntry{extendedPrefixCode, std::string(extendedPrefixName)},
            CodeEntry{code, std::string(keyNames[*nameIndex])}};
}

std::string NameOfCode(int code, int previousCode) {
    if (code == 0) {
        return "";
    }
    if (code == extendedPrefixCode) {
        return std::string(extendedPrefixName);
    }
    for (std::size_t c = 0; c < set1ToSet2.size(); ++c) {
        if (set1ToSet2[c] != code) {
            continue;
        }
        if (previousCode != extendedPrefixCode) {
            return std::string(keyNames[c]);
        }
        const std::optional<std::size_t> nameIndex = ExtendedNameIndex(static_cast<int>(c));
        if (!nameIndex) {
            return UnknownCodeName(code);
        }
        return std::string(keyNames[*nameIndex]);
    }
    return UnknownCodeName(code);
}

} // namespace zr4700
