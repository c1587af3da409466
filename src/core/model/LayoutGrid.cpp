#include "core/model/Layout.h"

#include "core/model/GridGeometry.h"
#include "core/model/LayoutRules.h"
#include "core/scancodes/ScanCodeTables.h"

#include <algorithm>

namespace zr4700 {

void Layout::DrawKeyCell(int k, int picture) {
    if (!IsKeyNumber(k))
        return;
    observer().KeyCellDrawn(k, picture);
}

void Layout::DrawAllKeyCells() {
    for (const CellPicture& cell : NormalCellPictures(*this))
        DrawKeyCell(cell.key, cell.picture);
}

void Layout::RedrawKeyCell(int k) {
    if (!IsKeyNumber(k))
        return;
    const auto& slots = partners[static_cast<std::size_t>(k)];
    switch (state(k)) {
    case CellState::Blank:
        DrawKeyCell(k, kPictureBlank);
        break;
    case CellState::Single:
        DrawKeyCell(k, kPictureProgrammed);
        break;
    case CellState::Double: {
        // The big picture sits at the member with the lower number.
        const int anchor = IsKeyNumber(slots[0]) ? std::min(k, slots[0]) : k;
        const int anchorPartner = partners[static_cast<std::size_t>(anchor)][0];
        DrawKeyCell(anchor, anchorPartner == anchor + 1 ? kPictureDoubleRight : kPictureDoubleDown);
        break;
    }
    case CellState::Quad: {
        int anchor = k;
        for (int partner : slots) {
            if (IsKeyNumber(partner))
                anchor = std::min(anchor, partner);
        }
        DrawKeyCell(anchor, kPictureQuad);
        break;
    }
    }
}

void Layout::SelectKey(int k) {
    if (!IsKeyNumber(k))
        return;
    if (k != shownKey) {
        UpdateProgrammedKeyList();
        RedrawKeyCell(shownKey);
    }
    DrawKeyCell(k,
                state(k) == CellState::Blank ? kPictureSelectedBlank : kPictureSelectedProgrammed);
    shownKey = k;

    const KeyRecord& record = key(k);
    panel.panelNumber = static_cast<uint32_t>(k);
    panel.panelGroup = record.group() ? 1 : 0;
    panel.panelSingle = record.single() ? 1 : 0;
    panel.panelMode = record.mode();
    panel.panelName = record.name;
    // A code's name depends on the code before it (the extended prefix).
    panel.panelCodeNames = NamesOfCodes(record.codes);
    observer().PanelChanged();
}

void Layout::ShowSelection(int current, int shown, int chosenEntry) {
    currentKey = current;
    DrawAllKeyCells();
    FillProgrammedKeyCombo();
    if (IsKeyNumber(shown)) {
        shownKey = shown;
        SelectKey(shown);
    } else {
        shownKey = 0;
        const int position = chosenEntry;
        if (position >= 0 && position < static_cast<int>(programmedKeyOrder.size())) {
            const int entryIndex = programmedKeyOrder[static_cast<std::size_t>(position)];
            if (entryIndex >= 0 && entryIndex < programmedKeyCount()) {
                const ProgrammedKeyEntry& entry =
                    programmedKeyList[static_cast<std::size_t>(entryIndex)];
                panel.panelSingle = panel.panelGroup = 0;
                panel.panelNumber = 0;
                panel.panelName = entry.name;
                panel.panelCodeNames = NamesOfCodes(entry.codes);
                observer().PanelChanged();
            }
        }
    }
    SetProgrammedKeyComboSelection(chosenEntry);
}

namespace {

// Right arrow: with 112 keys the selection runs along whole screen rows, from the end of a left
// row into the same row of the right block and from there into the next left row.
int NextKey(int k, int keyCount) {
    if (keyCount <= kBlockKeys)
        return k == kBlockKeys ? 1 : k + 1;
    if (k == kMaxKeys)
        return 1;
    if (!IsLastColumn(k))
        return k + 1;
    return k <= kBlockKeys ? k + kBlockKeys - kGridColumns + 1 : k - kBlockKeys + 1;
}

// Left arrow: the exact reverse of NextKey.
int PreviousKey(int k, int keyCount) {
    if (keyCount <= kBlockKeys)
        return k == 1 ? kBlockKeys : k - 1;
    if (k == 1)
        return kMaxKeys;
    if ((k - 1) % kGridColumns != 0)
        return k - 1;
    return k <= kBlockKeys ? k + kBlockKeys - 1 : k - kBlockKeys + kGridColumns - 1;
}

} // namespace

// With no key selected (after a list entry that no key carries) every arrow starts at key 1.
void Layout::SelectNextKey() {
    const int k = IsKeyOf(currentKey, keyCount) ? NextKey(currentKey, keyCount) : 1;
    currentKey = k;
    SelectKey(k);
}

void Layout::SelectPreviousKey() {
    const int k = IsKeyOf(currentKey, keyCount) ? PreviousKey(currentKey, keyCount) : 1;
    currentKey = k;
    SelectKey(k);
}

void Layout::SelectKeyBelow() {
    int k = 1;
    if (IsKeyOf(currentKey, keyCount)) {
        if (IsLastRow(currentKey, keyCount))
            return;
        k = currentKey + kGridColumns;
    }
    currentKey = k;
    SelectKey(k);
}

void Layout::SelectKeyAbove() {
    int k = 1;
    if (IsKeyOf(currentKey, keyCount)) {
        if (IsFirstRow(currentKey, keyCount))
            return;
        k = currentKey - kGridColumns;
    }
    currentKey = k;
    SelectKey(k);
}

int Layout::KeyAt(int x, int y) const {
    return IsOnGrid(x, y, keyCount) ? KeyFromPoint(x, y) : 0;
}

} // namespace zr4700
