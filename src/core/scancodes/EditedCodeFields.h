// The 16 number fields of "Edit scan codes": the order they are read in, and what reading them
// does to the codes, so that both front ends report the same field of several bad ones.
#pragma once

#include "core/document/FieldText.h"
#include "core/scancodes/CaptureSlots.h"

#include <array>
#include <string>

namespace zr4700 {

// Slots in the order the fields are read and written.
inline constexpr std::array<int, kCodeSlots> kEditedCodeOrder = {
    1, 10, 11, 13, 12, 14, 15, 16, 2, 3, 4, 5, 6, 7, 8, 9,
};
inline constexpr std::uint32_t kLargestEditedCode = 255;

using EditedCodeTexts = std::array<std::string, kCodeSlots>;

struct EditedCodesRead {
    // 0 when every field was read; else the slot of the first field refused.
    int failedSlot = 0;
    TypedNumber refusal;
};

// Reads the fields (slot 1 is texts[0]) in kEditedCodeOrder into codes, up to the first that is
// not a number 0..255. The fields before it have been read; a number above 255 in it is stored
// too, as the classic exchange does.
EditedCodesRead ReadEditedCodeTexts(const EditedCodeTexts& texts, EditedCodes& codes);

// A field's text changed: all fields are read as above, and when the changed slot now holds a
// number above 255 it gets its previous value back. The caller reports the refusal (if any) and
// shows the codes again.
EditedCodesRead OnEditedCodeChanged(int slot, const EditedCodeTexts& texts, EditedCodes& codes);

} // namespace zr4700
