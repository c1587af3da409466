#include "core/model/Layout.h"

#include "core/model/LayoutRules.h"
#include "core/scancodes/ScanCodeTables.h"

namespace zr4700 {

// After a list entry that no key carries has been chosen, currentKey and shownKey are 0: the
// panel shows the entry, and its edits have no key to change.

void Layout::OnPreviousKey() {
    // Key 1 is followed by the last key; with no key shown, "<<" starts from the last key too.
    if (currentKey <= 1 || currentKey > keyCount)
        currentKey = keyCount + 1;
    --currentKey;
    SelectKey(currentKey);
}

void Layout::OnNextKey() {
    // The last key is followed by key 1; with no key shown, ">>" starts at key 1.
    if (currentKey >= keyCount || currentKey < 0)
        currentKey = 0;
    ++currentKey;
    SelectKey(currentKey);
}

void Layout::KeyNameChanged(const std::string& name) {
    panel.panelName = name;
    if (!IsKeyNumber(shownKey))
        return;
    key(shownKey).setName(name);
    SelectKey(shownKey);
    // The list follows the typing: the entry with this key's codes takes the new name.
    UpdateProgrammedKeyList();
    SelectProgrammedKeyEntry();
}

void Layout::SingleKeyChanged(bool single) {
    panel.panelSingle = single ? 1 : 0;
    if (!IsKeyNumber(shownKey))
        return;
    key(shownKey).setSingle(single);
    SelectKey(shownKey);
}

void Layout::SetMode(int mode) {
    if (mode < 0 || mode > 2)
        return;
    // The radio buttons already show the choice; only the member and the key follow.
    panel.panelMode = mode;
    if (!IsKeyNumber(currentKey))
        return;
    key(currentKey).setMode(mode);
}

void Layout::OnSetModeForAll() {
    if (!IsKeyNumber(currentKey))
        return;
    const int mode = key(currentKey).mode();
    const int last = std::min(keyCount, kMaxKeys);
    for (int k = 1; k <= last; ++k)
        key(k).setMode(mode);
}

void Layout::OnSetFlagForAll(bool single) {
    panel.panelSingle = single ? 1 : 0;
    const int last = std::min(keyCount, kMaxKeys);
    for (int k = 1; k <= last; ++k)
        key(k).setSingle(single);
}

void Layout::OnProgrammedKeySelected(int position) {
    if (position < 0 || position >= static_cast<int>(programmedKeyOrder.size()))
        return;
    const int entryIndex = programmedKeyOrder[static_cast<std::size_t>(position)];
    if (entryIndex < 0 || entryIndex >= programmedKeyCount())
        return;
    // The combo box already shows the choice.
    programmedKeyComboSelection = position;

    panel.panelSingle = 0;
    panel.panelGroup = 0;
    panel.panelNumber = 0;
    shownKey = 0;
    currentKey = 0;

    const ProgrammedKeyEntry entry = programmedKeyList[static_cast<std::size_t>(entryIndex)];
    panel.panelName = entry.name;
    panel.panelCodeNames = NamesOfCodes(entry.codes);
    observer().PanelChanged();

    DrawAllKeyCells();

    // The first key that carries the entry's name is shown; shownKey is already that key, so
    // nothing is recorded into the list on the way.
    const int last = std::min(keyCount, kMaxKeys);
    for (int k = 1; k <= last; ++k) {
        if (EntryHoldsName(entry, key(k).name)) {
            currentKey = k;
            shownKey = k;
            SelectKey(k);
            return;
        }
    }
}

} // namespace zr4700
