#include "core/scancodes/EditedCodeFields.h"

namespace zr4700 {

EditedCodesRead ReadEditedCodeTexts(const EditedCodeTexts& texts, EditedCodes& codes) {
    for (const int slot : kEditedCodeOrder) {
        const std::size_t index = static_cast<std::size_t>(slot - 1);
        const TypedNumber number = ReadUnsignedText(texts[index], 0, kLargestEditedCode);
        if (number.ok || number.outOfRange)
            codes[index] = static_cast<std::uint32_t>(number.value);
        if (!number.ok)
            return {slot, number};
    }
    return {};
}

EditedCodesRead OnEditedCodeChanged(int slot, const EditedCodeTexts& texts, EditedCodes& codes) {
    if (slot < 1 || slot > kCodeSlots)
        return {};
    const std::size_t index = static_cast<std::size_t>(slot - 1);
    const std::uint32_t previous = codes[index];
    const EditedCodesRead read = ReadEditedCodeTexts(texts, codes);
    if (codes[index] > kLargestEditedCode)
        codes[index] = previous;
    return read;
}

} // namespace zr4700
