#pragma once
// One programmable key of the layout, the cell states and the entries of the programmed-key list.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zr4700 {

constexpr int kMaxKeys = 112;      // keys 1..112: left block 1..56, right block 57..112
constexpr int kBlockKeys = 56;     // one block: 7 rows of 8 keys
constexpr int kKeyTableSize = 120; // records 0 and 113..119 exist but are never used
constexpr int kCodeSlots = 16;
constexpr std::size_t kMaxKeyNameLength = 102;  // a record's name field holds 102 characters
constexpr std::size_t kMaxEntryNameLength = 99; // a programmed-key entry holds 99 characters

using KeyCodes = std::array<int32_t, kCodeSlots>;

// Cuts a name to the given length, the way a fixed name field of the stored layout would hold it.
// A UTF-8 character is never split: the cut moves back to the start of a character it would halve.
inline std::string CutName(std::string_view name, std::size_t maxLength) {
    std::size_t length = std::min(name.size(), maxLength);
    if (length < name.size()) {
        while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
            --length;
    }
    return std::string(name.substr(0, length));
}

struct KeyRecord {
    static constexpr uint8_t kGroupBit = 0x01;
    static constexpr uint8_t kSingleBit = 0x02;
    static constexpr uint8_t kModeMask = 0x0C;
    static constexpr int kModeShift = 2;

    int32_t number = 0;
    KeyCodes codes{};
    uint8_t flags = 0;
    std::string name;
    int32_t groupNumber = 0;

    bool group() const { return (flags & kGroupBit) != 0; }
    bool single() const { return (flags & kSingleBit) != 0; }
    int mode() const { return (flags & kModeMask) >> kModeShift; }
    void setGroup(bool on) { flags = on ? (flags | kGroupBit) : (flags & ~kGroupBit); }
    void setSingle(bool on) { flags = on ? (flags | kSingleBit) : (flags & ~kSingleBit); }
    void setMode(int mode) {
        flags = static_cast<uint8_t>((flags & ~kModeMask) | ((mode << kModeShift) & kModeMask));
    }
    void setName(std::string_view text) { name = CutName(text, kMaxKeyNameLength); }
    // A key counts as programmed when its first code slot is not empty.
    bool programmed() const { return codes[0] != 0; }
    bool operator==(const KeyRecord&) const = default;
};

enum class CellState : int32_t { Blank = 0, Single = 1, Double = 2, Quad = 3 };

struct ProgrammedKeyEntry {
    KeyCodes codes{};
    std::string name;
    int32_t inUse = 0;

    void setName(std::string_view text) { name = CutName(text, kMaxEntryNameLength); }
    bool operator==(const ProgrammedKeyEntry&) const = default;
};

// Resource numbers of the key-cap pictures.
enum KeyPicture : int {
    kPictureBlank = 152,
    kPictureProgrammed = 153,
    kPictureAbsent = 154,
    kPictureDoubleDown = 155,
    kPictureDoubleRight = 156,
    kPictureQuad = 157,
    kPictureSelectedProgrammed = 166,
    kPictureSelectedBlank = 167,
};

} // namespace zr4700
