// Scan-code tables: how a PC key stroke (set-1 scan code plus extended flag) becomes the
// set-2 make codes that a ZR-4700 key stores, and how a stored code gets its display name.
//
// A code slot holds 0..255: 0 is an empty slot, 224 (0xE0) is the extended prefix stored in a
// slot of its own in front of the code of an extended key, anything else is a set-2 make code.
// Break codes (0xF0 prefix) are never produced; make-break behaviour is a keyboard setting.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

// The extended prefix as stored in a code slot, and the name shown for it.
inline constexpr int extendedPrefixCode = 224;
inline constexpr std::string_view extendedPrefixName = "extended";

// Virtual-key codes that TranslateKeyStroke treats specially.
inline constexpr std::uint32_t virtualKeyPause = 19;
inline constexpr std::uint32_t virtualKeyNumLock = 144;

// Set-1 codes covered by the tables: 0x00..0x5D.
inline constexpr int lastSet1Code = 0x5D;
inline constexpr std::size_t set1CodeCount = lastSet1Code + 1;
inline constexpr std::size_t keyNameCount = 118;

// Set-2 make code of each set-1 code; 0 where the key has no code. The non-zero values are all
// different, so a set-2 code leads back to exactly one set-1 code (NameOfCode relies on that).
inline constexpr std::array<std::uint8_t, set1CodeCount> set1ToSet2 = {
    0x00, 0x76, 0x16, 0x1E, 0x26, 0x25, 0x2E, 0x36, // 0x00..0x07
    0x3D, 0x3E, 0x46, 0x45, 0x4E, 0x55, 0x66, 0x0D, // 0x08..0x0F
    0x15, 0x1D, 0x24, 0x2D, 0x2C, 0x35, 0x3C, 0x43, // 0x10..0x17
    0x44, 0x4D, 0x54, 0x5B, 0x5A, 0x14, 0x1C, 0x1B, // 0x18..0x1F
    0x23, 0x2B, 0x34, 0x33, 0x3B, 0x42, 0x4B, 0x4C, // 0x20..0x27
    0x52, 0x0E, 0x12, 0x5D, 0x1A, 0x22, 0x21, 0x2A, // 0x28..0x2F
    0x32, 0x31, 0x3A, 0x41, 0x49, 0x4A, 0x59, 0x7C, // 0x30..0x37
    0x11, 0x29, 0x58, 0x05, 0x06, 0x04, 0x0C, 0x03, // 0x38..0x3F
    0x0B, 0x83, 0x0A, 0x01, 0x09, 0x77, 0x7E, 0x6C, // 0x40..0x47
    0x75, 0x7D, 0x7B, 0x6B, 0x73, 0x74, 0x79, 0x69, // 0x48..0x4F
    0x72, 0x7A, 0x70, 0x71, 0x00, 0x00, 0x00, 0x78, // 0x50..0x57
    0x07, 0x00, 0x00, 0x1F, 0x27, 0x2F,             // 0x58..0x5D
};

// Display names. Indices 0..0x5D name the set-1 code of the same value; indices 94..117 name
// extended keys and are reached through ExtendedNameOffset. Empty entries are keys without a
// name of their own.
// clang-format off
inline constexpr std::array<std::string_view, keyNameCount> keyNames = {
    "", "Esc", "1", "2", "3", "4", "5", "6", // 0x00
    "7", "8", "9", "0", "-", "=", "Backspace", "Tab", // 0x08
    "Q", "W", "E", "R", "T", "Y", "U", "I", // 0x10
    "O", "P", "[", "]", "Enter", "Ctrl_left", "A", "S", // 0x18
    "D", "F", "G", "H", "J", "K", "L", ";", // 0x20
    "'", "`", "Shift_left", "\\", "Z", "X", "C", "V", // 0x28
    "B", "N", "M", ",", ".", "/", "Shift_right", "*_num", // 0x30
    "Alt_left", "Space", "Caps_lock", "F1", "F2", "F3", "F4", "F5", // 0x38
    "F6", "F7", "F8", "F9", "F10", "Num_lock", "Scroll_Lock", "7_num", // 0x40
    "8_num", "9_num", "-_num", "4_num", "5_num", "6_num", "+_num", "1_num", // 0x48
    "2_num", "3_num", "0_num", "._num", "Sys_Req", "", "", "F11", // 0x50
    "F12", "", "", "Win_left", "Win_right", "Win_Pop_up", // 0x58..0x5D
    // 94..117: extended keys
    "", "", "", "", "", "/_num", "Enter_num", "Num_lock", // 94
    "", "Home", "Up", "Page_up", "", "Left", "", "Right", // 102
    "", "End", "Down", "Page_down", "Insert", "Delete", "Ctrl_right", "Alt_right", // 110
};
// clang-format on

// Distance from a set-1 code to the name of its extended variant in keyNames. Most extended
// keys sit 32 names above their plain twin; the four whose twin lies elsewhere are listed, and
// the Windows keys are extended-only, so their names stand at their own index.
constexpr int ExtendedNameOffset(int set1Code) {
    switch (set1Code) {
    case 0x1C:
        return 72; // keypad Enter -> "Enter_num"
    case 0x1D:
        return 87; // right Ctrl -> "Ctrl_right"
    case 0x35:
        return 46; // keypad / -> "/_num"
    case 0x38:
        return 61; // right Alt -> "Alt_right"
    case 0x5B:
    case 0x5C:
    case 0x5D:
        return 0;
    default:
        return 32;
    }
}

// One code produced by a key stroke: the value for a code slot and the name shown beside it.
struct CodeEntry {
    int code;
    std::string name;

    bool operator==(const CodeEntry&) const = default;
};

// Turns a key-down of the PC keyboard (auto-repeats included) into the codes to store:
// nothing for Pause, two entries (the prefix, then the code) for an extended key, one otherwise.
// A set-1 code the tables do not cover, or an extended key whose name lies past keyNames,
// yields the single entry {0, ""}: an empty slot, never a dangling prefix.
std::vector<CodeEntry> TranslateKeyStroke(std::uint32_t virtualKey, std::uint8_t scanCode,
                                          bool extended);

// Display name of a stored code; previousCode is the code in the slot before it (0 for the
// first slot or when there is no context). Codes the tables do not name become "key_<code>".
std::string NameOfCode(int code, int previousCode);

// The names of a sequence of code slots, each seen after the slot before it.
template <std::size_t N>
std::array<std::string, N> NamesOfCodes(const std::array<std::int32_t, N>& codes) {
    std::array<std::string, N> names;
    for (std::size_t i = 0; i < N; ++i)
        names[i] = NameOfCode(codes[i], i == 0 ? 0 : codes[i - 1]);
    return names;
}

} // namespace zr4700
