// The 16 code slots that the capture dialog fills: what a key stroke, "Back", "Clear All" and
// codes typed as numbers do to them. Plain data and rules, so they can be checked without windows.
#pragma once

#include "core/model/KeyRecord.h"
#include "core/scancodes/ScanCodeTables.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zr4700 {

using CodeNames = std::array<std::string, kCodeSlots>;
// The codes as the Edit scan codes dialog takes and returns them, slot 1 first.
using EditedCodes = std::array<std::uint32_t, kCodeSlots>;

// nextSlot when every slot is taken; further strokes are dropped.
inline constexpr int allSlotsFull = kCodeSlots + 1;

struct CaptureSlots {
    // 1-based slot that the next captured code goes to; allSlotsFull when none is left.
    int nextSlot = 1;
    // Slot n is element n - 1. 0 is an empty slot, 224 the extended prefix.
    KeyCodes codeSlots{};
    CodeNames codeNames;

    // Stores the codes of one key-down (auto-repeats included). An extended key needs two free
    // slots, the prefix and its code, and is dropped whole when only one is left. Returns
    // whether anything was stored.
    bool Capture(std::uint32_t virtualKey, std::uint8_t scanCode, bool extended);
    bool StoreEntries(const std::vector<CodeEntry>& entries);

    // Removes the last stroke: the slot before nextSlot, together with its prefix when it is
    // an extended code. Nothing happens when nothing has been captured.
    void Back();
    // Empties every slot and starts again at slot 1.
    void ClearAll();

    EditedCodes CodesForEditing() const;
    // Takes the codes typed as numbers and names them. A first code of 0 means "no codes" and
    // empties every slot as ClearAll does. nextSlot stays otherwise: the next stroke goes where
    // it would have gone before.
    void ApplyEditedCodes(const EditedCodes& editCodes);

  private:
    void Store(int slot, int code, const std::string& name);
};

} // namespace zr4700
