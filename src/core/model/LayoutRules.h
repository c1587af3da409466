#pragma once
// Small rules about key numbers and names that several parts of the document share. Internal to
// the layout folder: the window works through Layout and GridGeometry.

#include "core/model/GridGeometry.h"
#include "core/model/KeyRecord.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace zr4700 {

// Whether k names a record of the key table (1..112); 0 means "no key".
constexpr bool IsKeyNumber(int k) {
    return k >= 1 && k <= kMaxKeys;
}

// Whether k is a key of a keyboard with keyCount keys.
constexpr bool IsKeyOf(int k, int keyCount) {
    return k >= 1 && k <= keyCount && k <= kMaxKeys;
}

// The last column of each block holds the multiples of 8.
constexpr bool IsLastColumn(int k) {
    return k % kGridColumns == 0;
}

// The last row of a block: 49..56, and with 112 keys also 105..112. With 56 keys the right block
// does not exist, so nothing above 48 has a key below it.
constexpr bool IsLastRow(int k, int keyCount) {
    if (keyCount <= kBlockKeys)
        return k > kBlockKeys - kGridColumns;
    return (k > kBlockKeys - kGridColumns && k <= kBlockKeys) || k > kMaxKeys - kGridColumns;
}

// The first row of a block: 1..8, and with 112 keys also 57..64.
constexpr bool IsFirstRow(int k, int keyCount) {
    if (k <= kGridColumns)
        return true;
    return keyCount > kBlockKeys && k > kBlockKeys && k <= kBlockKeys + kGridColumns;
}

// A list entry holds at most 99 characters of a key's name, so a key and an entry go together
// when the entry holds the key's name as far as it can.
inline bool EntryHoldsName(const ProgrammedKeyEntry& entry, std::string_view keyName) {
    return entry.name == CutName(keyName, kMaxEntryNameLength);
}

// The grid's cell pictures without the selection highlight, in painting order: every cell at its
// anchor, then the absent keys of a 56-key keyboard.
std::vector<CellPicture> NormalCellPictures(const Layout& layout);

} // namespace zr4700
