#include "core/model/Layout.h"

#include "core/model/LayoutRules.h"

#include <string>
#include <utility>

namespace zr4700 {

namespace {

// Index of the first entry, in storage order, that holds this name; -1 when none does.
int FindEntryByName(const Layout& layout, const std::string& name) {
    for (std::size_t e = 0; e < layout.programmedKeyList.size(); ++e) {
        if (EntryHoldsName(layout.programmedKeyList[e], name))
            return static_cast<int>(e);
    }
    return -1;
}

int FindEntryByCodes(const Layout& layout, const KeyCodes& codes) {
    for (std::size_t e = 0; e < layout.programmedKeyList.size(); ++e) {
        if (layout.programmedKeyList[e].codes == codes)
            return static_cast<int>(e);
    }
    return -1;
}

void AppendEntry(Layout& layout, const KeyRecord& record) {
    ProgrammedKeyEntry entry;
    entry.codes = record.codes;
    entry.setName(record.name);
    entry.inUse = 1;
    layout.programmedKeyOrder.push_back(layout.programmedKeyCount());
    layout.programmedKeyList.push_back(std::move(entry));
}

// The entry a combo-box position shows; -1 for no position or one past the items.
int EntryAtPosition(const Layout& layout, int position) {
    if (position < 0 || position >= static_cast<int>(layout.programmedKeyOrder.size()))
        return -1;
    const int entry = layout.programmedKeyOrder[static_cast<std::size_t>(position)];
    if (entry < 0 || entry >= layout.programmedKeyCount())
        return -1;
    return entry;
}

// The end of clearing a programmed cell ("Clear Key" and the capture dialog's clear path): the
// whole cell becomes blank, and the list entry loses its mark once no other key carries the name.
void ClearCellOfCurrentKey(Layout& layout) {
    const int k = layout.currentKey;
    const std::string name = layout.key(k).name;
    const int position = layout.programmedKeyComboSelection;
    layout.SplitCell(true);
    const int last = std::min(layout.keyCount, kMaxKeys);
    for (int i = 1; i <= last; ++i) {
        if (i != k && layout.key(i).programmed() && layout.key(i).name == name) {
            return;
        }
    }
    const int entry = FindEntryByName(layout, name);
    if (entry >= 0) {
        layout.programmedKeyList[static_cast<std::size_t>(entry)].inUse = 0;
        layout.FillProgrammedKeyCombo();
        layout.SetProgrammedKeyComboSelection(position);
    }
}

} // namespace

// ---- The programmed-key list -------------------------------------------------------------------

std::vector<std::string> ProgrammedKeyItems(const Layout& layout) {
    std::vector<std::string> items;
    for (int32_t entryIndex : layout.programmedKeyOrder) {
        const ProgrammedKeyEntry& entry =
            layout.programmedKeyList[static_cast<std::size_t>(entryIndex)];
        items.push_back(entry.inUse ? entry.name + " *" : entry.name);
    }
    return items;
}

void Layout::UpdateProgrammedKeyList() {
    // With no key shown (after a list entry that no key carries) there is nothing to record.
    if (!IsKeyNumber(shownKey))
        return;
    const KeyRecord& shown = key(shownKey);
    if (!shown.programmed())
        return;
    const int byName = FindEntryByName(*this, shown.name);
    if (byName >= 0) {
        programmedKeyList[static_cast<std::size_t>(byName)].codes = shown.codes;
        return;
    }
    // A key renamed since it was recorded takes its entry along.
    const int byCodes = FindEntryByCodes(*this, shown.codes);
    if (byCodes >= 0) {
        programmedKeyList[static_cast<std::size_t>(byCodes)].setName(shown.name);
        SortProgrammedKeyList();
        return;
    }
    AppendEntry(*this, shown);
    SortProgrammedKeyList();
}

void Layout::RebuildProgrammedKeyList() {
    programmedKeyList.clear();
    programmedKeyOrder.clear();
    const int last = std::min(keyCount, kMaxKeys);
    for (int i = 1; i <= last; ++i) {
        if (key(i).programmed() && FindEntryByName(*this, key(i).name) < 0)
            AppendEntry(*this, key(i));
    }
    SortProgrammedKeyList();
    SetProgrammedKeyComboSelection(0);
}

void Layout::SortProgrammedKeyList() {
    // Only the order moves; entries keep their storage places. std::string compares bytes as
    // unsigned values, which is the order the combo box shows.
    const std::size_t count = programmedKeyOrder.size();
    auto nameAt = [this](std::size_t p) -> const std::string& {
        return programmedKeyList[static_cast<std::size_t>(programmedKeyOrder[p])].name;
    };
    for (std::size_t p = 0; p < count; ++p) {
        for (std::size_t q = p + 1; q < count; ++q) {
            if (nameAt(p) > nameAt(q))
                std::swap(programmedKeyOrder[p], programmedKeyOrder[q]);
        }
    }
    FillProgrammedKeyCombo();
}

void Layout::FillProgrammedKeyCombo() {
    programmedKeyComboSelection = -1;
    observer().ProgrammedKeyComboChanged();
}

void Layout::SelectProgrammedKeyEntry() {
    const int entry = FindEntryByName(*this, panel.panelName);
    if (entry < 0)
        return;
    for (std::size_t p = 0; p < programmedKeyOrder.size(); ++p) {
        if (programmedKeyOrder[p] == entry) {
            SetProgrammedKeyComboSelection(static_cast<int>(p));
            return;
        }
    }
}

void Layout::SetProgrammedKeyComboSelection(int position) {
    // Like a combo box, a position past the items leaves nothing selected.
    if (position < 0 || position >= static_cast<int>(programmedKeyOrder.size()))
        position = -1;
    programmedKeyComboSelection = position;
    observer().ProgrammedKeyComboChanged();
}

// ---- The key popup menu ------------------------------------------------------------------------

Layout::PopupState Layout::PopupStateFor(int k) const {
    PopupState popup;
    const int selection = programmedKeyComboSelection;
    // The chosen item shows something: a name, or the mark of an entry in use.
    const int entryIndex = EntryAtPosition(*this, selection);
    if (entryIndex >= 0) {
        const ProgrammedKeyEntry& entry = programmedKeyList[static_cast<std::size_t>(entryIndex)];
        popup.copyKey = entry.inUse != 0 || !entry.name.empty();
    } else {
        popup.copyKey = false;
    }

    if (!IsKeyNumber(k) || state(k) == CellState::Blank) {
        popup.single = popup.toRight = popup.toDown = popup.quad = popup.clearKey = false;
    } else if (state(k) == CellState::Single) {
        popup.single = false;
        // Only the neighbours are looked at here; forming a quad checks the diagonal key too.
        if (IsLastRow(k, keyCount) || !IsKeyNumber(k + kGridColumns) ||
            state(k + kGridColumns) != CellState::Blank)
            popup.toDown = popup.quad = false;
        if (IsLastColumn(k) || !IsKeyNumber(k + 1) || state(k + 1) != CellState::Blank)
            popup.toRight = popup.quad = false;
    } else {
        popup.toDown = popup.toRight = popup.quad = false;
    }

    popup.clearAll = false;
    const int last = std::min(keyCount, kMaxKeys);
    for (int i = 1; i <= last; ++i) {
        if (key(i).programmed()) {
            popup.clearAll = true;
            break;
        }
    }
    return popup;
}

// ---- Key editing commands ----------------------------------------------------------------------

void Layout::ApplyCapturedCodes(const KeyCodes& codeSlots,
                                const std::array<std::string, kCodeSlots>& codeNames,
                                UserPrompts& prompts) {
    const int k = currentKey;
    if (!IsKeyNumber(k))
        return;
    // The panel's members as they stand: the dialog was modal, so they are what the user set.
    KeyRecord& record = key(k);
    record.setName(panel.panelName);
    record.setGroup(panel.panelGroup != 0);
    record.setSingle(panel.panelSingle != 0);

    if (codeSlots[0] != 0) {
        record.codes = codeSlots;
        panel.panelCodeNames = codeNames;
        observer().PanelChanged();
        if (state(k) == CellState::Blank)
            state(k) = CellState::Single;
        if (state(k) == CellState::Double || state(k) == CellState::Quad)
            PropagateToGroup(k);
        UpdateProgrammedKeyList();
        SelectProgrammedKeyEntry();
    } else if (state(k) != CellState::Blank) {
        // The user took every code away from a programmed key.
        if (prompts.AskYesNo(kStrClearKeyQuestion, {record.name})) {
            record.codes = codeSlots;
            panel.panelCodeNames = codeNames;
            observer().PanelChanged();
            ClearCellOfCurrentKey(*this);
        }
        SelectProgrammedKeyEntry();
    }
    SelectKey(k);
}

void Layout::CopyKey(UserPrompts& prompts) {
    const int k = currentKey;
    if (!IsKeyNumber(k))
        return;
    const int position = programmedKeyComboSelection;
    const int entryIndex = EntryAtPosition(*this, position);
    if (entryIndex >= 0) {
        ProgrammedKeyEntry& entry = programmedKeyList[static_cast<std::size_t>(entryIndex)];
        if (!entry.name.empty() &&
            prompts.AskYesNo(kStrInsertKeyQuestion, {entry.name, std::to_string(k)})) {
            key(k).setName(entry.name);
            key(k).codes = entry.codes;
            PropagateToGroup(k);
            entry.inUse = 1;
            SortProgrammedKeyList();
            SetProgrammedKeyComboSelection(position);
        }
    }
    SelectKey(k);
}

void Layout::ClearKey(UserPrompts& prompts) {
    const int k = currentKey;
    if (!IsKeyNumber(k) || state(k) == CellState::Blank)
        return;
    if (prompts.AskYesNo(kStrClearKeyQuestion, {key(k).name}))
        ClearCellOfCurrentKey(*this);
    SelectKey(k);
}

void Layout::ClearCurrentCell() {
    const int k = currentKey;
    if (!IsKeyNumber(k) || state(k) == CellState::Blank)
        return;
    ClearCellOfCurrentKey(*this);
    SelectKey(k);
}

void Layout::ClearAll(UserPrompts& prompts) {
    if (prompts.AskYesNo(kStrClearAllQuestion)) {
        fileName.clear();
        for (int i = 1; i <= kMaxKeys; ++i)
            ResetKey(i, true);
        // The entries stay in the list, unmarked: they can still be copied onto keys.
        for (ProgrammedKeyEntry& entry : programmedKeyList)
            entry.inUse = 0;
    }
    FillProgrammedKeyCombo();
    currentKey = 1;
    SelectKey(1);
    SetProgrammedKeyComboSelection(0);
}

} // namespace zr4700
