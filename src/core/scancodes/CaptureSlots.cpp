#include "core/scancodes/CaptureSlots.h"

namespace zr4700 {

void CaptureSlots::Store(int slot, int code, const std::string& name) {
    codeSlots[static_cast<std::size_t>(slot - 1)] = code;
    codeNames[static_cast<std::size_t>(slot - 1)] = name;
}

bool CaptureSlots::Capture(std::uint32_t virtualKey, std::uint8_t scanCode, bool extended) {
    return StoreEntries(TranslateKeyStroke(virtualKey, scanCode, extended));
}

bool CaptureSlots::StoreEntries(const std::vector<CodeEntry>& entries) {
    // Pause gives no code at all.
    if (entries.empty())
        return false;
    // A key without a set-2 code would leave an empty slot inside the sequence, and an empty
    // first slot means "this key has no codes", which would throw away the strokes after it.
    const CodeEntry& code = entries.back();
    if (code.code == 0)
        return false;
    if (nextSlot < 1)
        nextSlot = 1;

    if (entries.size() == 2) {
        // The prefix and its code go together or not at all.
        if (nextSlot >= kCodeSlots)
            return false;
        Store(nextSlot, entries.front().code, entries.front().name);
        ++nextSlot;
    }
    if (nextSlot >= allSlotsFull)
        return false;
    Store(nextSlot, code.code, code.name);
    ++nextSlot;
    return true;
}

void CaptureSlots::Back() {
    --nextSlot;
    if (nextSlot >= 1 && nextSlot <= kCodeSlots)
        Store(nextSlot, 0, "");
    else
        nextSlot = 1;
    // An extended key goes together with its prefix.
    if (nextSlot >= 2 && nextSlot <= allSlotsFull &&
        codeSlots[static_cast<std::size_t>(nextSlot - 2)] == extendedPrefixCode) {
        Store(nextSlot - 1, 0, "");
        --nextSlot;
    }
}

void CaptureSlots::ClearAll() {
    codeSlots.fill(0);
    codeNames.fill("");
    nextSlot = 1;
}

EditedCodes CaptureSlots::CodesForEditing() const {
    EditedCodes codes{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = static_cast<std::uint32_t>(codeSlots[i]);
    return codes;
}

void CaptureSlots::ApplyEditedCodes(const EditedCodes& editCodes) {
    if (editCodes[0] == 0) {
        ClearAll();
        return;
    }
    for (std::size_t i = 0; i < codeSlots.size(); ++i)
        codeSlots[i] = static_cast<std::int32_t>(editCodes[i]);
    codeNames = NamesOfCodes(codeSlots);
}

} // namespace zr4700
