#include "core/model/Layout.h"

#include "core/model/LayoutRules.h"

#include <string>

namespace zr4700 {

Layout::Layout() {
    // A document is a fresh untitled layout from the start. No observer listens yet, so a window
    // that wants the pictures and the panel pushed to it resets the layout once it is attached.
    ResetLayout();
}

void Layout::ResetKey(int k, bool blank) {
    if (!IsKeyNumber(k))
        return;
    KeyRecord& record = key(k);
    record.number = k;
    if (blank) {
        record.setSingle(true);
        record.setMode(0);
        record.setName("KEY" + std::to_string(k));
        record.codes.fill(0);
        record.groupNumber = 0;
        state(k) = CellState::Blank;
        DrawKeyCell(k, kPictureBlank);
    } else {
        // A key split off a cell keeps its group number, so the file still records it.
        state(k) = CellState::Single;
        DrawKeyCell(k, kPictureProgrammed);
    }
    record.setGroup(false);
    partners[static_cast<std::size_t>(k)].fill(0);
    if (keyCount == kBlockKeys && k > kBlockKeys)
        DrawKeyCell(k, kPictureAbsent);
}

void Layout::CopyKeyContents(int dst, int src) {
    if (!IsKeyNumber(dst) || !IsKeyNumber(src))
        return;
    const KeyRecord& from = key(src);
    KeyRecord& to = key(dst);
    // The mode stays a key's own, even inside a cell.
    to.setGroup(from.group());
    to.setSingle(from.single());
    to.groupNumber = from.groupNumber;
    to.setName(from.name);
    to.codes = from.codes;
}

void Layout::PropagateToGroup(int k) {
    if (!IsKeyNumber(k))
        return;
    if (state(k) == CellState::Blank)
        state(k) = CellState::Single;
    const auto& slots = partners[static_cast<std::size_t>(k)];
    if (state(k) == CellState::Double) {
        CopyKeyContents(slots[0], k);
    } else if (state(k) == CellState::Quad) {
        for (int partner : slots)
            CopyKeyContents(partner, k);
    }
}

void Layout::ResetLayout() {
    fileName.clear();
    programmedKeyList.clear();
    programmedKeyOrder.clear();

    nextGroupNumber = 1;
    settings = KeyboardSettings{};
    rfid = RfidSettings{};
    observer().PanelChanged();

    for (int k = 1; k <= kMaxKeys; ++k)
        ResetKey(k, true);

    shownKey = 1;
    currentKey = 1;

    programmedKeyComboSelection = -1;
    observer().ProgrammedKeyComboChanged();

    // shownKey is already 1, so the key being left is not recorded in the emptied list.
    SelectKey(1);

    programmedKeyComboSelection = -1;
    observer().ProgrammedKeyComboChanged();
}

void Layout::AlignKeysWithKeyCount() {
    if (keyCount == kBlockKeys) {
        for (int k = kBlockKeys + 1; k <= kMaxKeys; ++k)
            ResetKey(k, true);
    } else if (keyCount == kMaxKeys) {
        for (int k = kBlockKeys + 1; k <= kMaxKeys; ++k) {
            if (state(k) == CellState::Blank)
                DrawKeyCell(k, kPictureBlank);
        }
    }
}

} // namespace zr4700
