#include "core/document/Document.h"

#include "core/model/LayoutRules.h"

#include <algorithm>

namespace zr4700 {

void Document::AddObserver(DocumentObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Document::RemoveObserver(DocumentObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Document::Notify(const DocumentChange& change) {
    // A shorter name in the title lasts only while the file it names is being written.
    if (change.fileState && !keepShownName_)
        shownName_.clear();
    // An observer may remove itself while being told.
    const std::vector<DocumentObserver*> observers = observers_;
    for (DocumentObserver* observer : observers)
        observer->DocumentChanged(change);
}

void Document::NotifyWhole() {
    DocumentChange change;
    change.whole = change.values = change.programmedKeys = change.selection = true;
    change.fileState = change.history = true;
    Notify(change);
}

SelectionState Document::selection() const {
    return {layout_.currentKey, layout_.shownKey, layout_.programmedKeyComboSelection};
}

Document::Snapshot Document::Capture() const {
    Snapshot snapshot;
    for (int k = 1; k <= kMaxKeys; ++k) {
        KeyState& state = snapshot.keys[static_cast<std::size_t>(k)];
        state.record = layout_.key(k);
        state.cell = layout_.state(k);
        state.partners = layout_.partners[static_cast<std::size_t>(k)];
    }
    snapshot.values = {layout_.keyCount, layout_.nextGroupNumber, layout_.settings, layout_.rfid};
    snapshot.list = {layout_.programmedKeyList, layout_.programmedKeyOrder};
    snapshot.fileName = layout_.fileName;
    snapshot.selection = selection();
    return snapshot;
}

template <typename Apply> void Document::Edit(EditKind kind, Apply&& apply) {
    const Snapshot before = Capture();
    const int key = layout_.currentKey;
    apply(layout_);
    Finish(kind, key, before);
}

EditRecord Document::Diff(EditKind kind, int key, const Snapshot& before) const {
    const Snapshot after = Capture();
    EditRecord record;
    record.kind = kind;
    record.key = key;
    for (int k = 1; k <= kMaxKeys; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (before.keys[at] == after.keys[at])
            continue;
        record.keys.push_back(k);
        record.keysBefore.push_back(before.keys[at]);
        record.keysAfter.push_back(after.keys[at]);
    }
    if (!(before.values == after.values)) {
        record.valuesBefore = before.values;
        record.valuesAfter = after.values;
    }
    if (!(before.list == after.list)) {
        record.listBefore = before.list;
        record.listAfter = after.list;
    }
    if (before.fileName != after.fileName) {
        record.fileNameBefore = before.fileName;
        record.fileNameAfter = after.fileName;
    }
    record.selectionBefore = before.selection;
    record.selectionAfter = after.selection;
    return record;
}

void Document::Finish(EditKind kind, int key, const Snapshot& before) {
    const EditRecord record = Diff(kind, key, before);
    // An edit that changed nothing the file or the keyboard holds is no edit: answering No to a
    // question, or choosing the mode a key already has, leaves the layout as it was. What it did
    // to the selection stays with the history's position.
    const bool changed =
        !record.keys.empty() || record.valuesBefore || record.listBefore || record.fileNameBefore;
    DocumentChange change;
    change.keys = record.keys;
    change.values = record.valuesBefore.has_value();
    change.programmedKeys = record.listBefore.has_value();
    change.selection = !(record.selectionBefore == record.selectionAfter);
    if (changed) {
        history_.Push(record);
        change.fileState = change.history = true;
    } else if (change.selection) {
        history_.AmendPosition(before.list, before.list, record.selectionAfter);
    }
    Notify(change);
}

template <typename Select> void Document::Selecting(Select&& select) {
    const ProgrammedKeyListState listBefore{layout_.programmedKeyList, layout_.programmedKeyOrder};
    const SelectionState selectionBefore = selection();
    select(layout_);
    const ProgrammedKeyListState listAfter{layout_.programmedKeyList, layout_.programmedKeyOrder};
    DocumentChange change;
    change.programmedKeys = !(listBefore == listAfter);
    change.selection = true;
    // Leaving a key records it in the list; that belongs to where the history stands, so that
    // undo and redo give the list back exactly as it was at each step.
    if (change.programmedKeys || !(selectionBefore == selection()))
        history_.AmendPosition(listBefore, listAfter, selection());
    Notify(change);
}

// ---- Selection
// -----------------------------------------------------------------------------------

void Document::SelectKey(int key) {
    if (!IsKeyNumber(key))
        return;
    Selecting([key](Layout& layout) {
        layout.currentKey = key;
        layout.SelectKey(key);
    });
}

void Document::SelectNextKey() {
    Selecting([](Layout& layout) { layout.SelectNextKey(); });
}
void Document::SelectPreviousKey() {
    Selecting([](Layout& layout) { layout.SelectPreviousKey(); });
}
void Document::SelectKeyBelow() {
    Selecting([](Layout& layout) { layout.SelectKeyBelow(); });
}
void Document::SelectKeyAbove() {
    Selecting([](Layout& layout) { layout.SelectKeyAbove(); });
}
void Document::OnPreviousKey() {
    Selecting([](Layout& layout) { layout.OnPreviousKey(); });
}
void Document::OnNextKey() {
    Selecting([](Layout& layout) { layout.OnNextKey(); });
}
void Document::SelectProgrammedKey(int position) {
    Selecting([position](Layout& layout) { layout.OnProgrammedKeySelected(position); });
}

// ---- Edits
// ---------------------------------------------------------------------------------------

void Document::ApplyCapturedCodes(const KeyCodes& codeSlots,
                                  const std::array<std::string, kCodeSlots>& codeNames) {
    Edit(EditKind::KeyCodes,
         [&](Layout& layout) { layout.ApplyCapturedCodes(codeSlots, codeNames, prompts_); });
}

void Document::RenameKey(const std::string& name) {
    Edit(EditKind::KeyName, [&](Layout& layout) { layout.KeyNameChanged(name); });
}

void Document::SetSingleKey(bool single) {
    Edit(EditKind::SingleKey, [&](Layout& layout) { layout.SingleKeyChanged(single); });
}

void Document::SetMode(int mode) {
    Edit(EditKind::Mode, [&](Layout& layout) {
        layout.panel.panelMode = mode;
        layout.SetMode(mode);
    });
}

void Document::SetModeForAll() {
    Edit(EditKind::ModeForAll, [](Layout& layout) { layout.OnSetModeForAll(); });
}

void Document::SetFlagForAll(bool single) {
    Edit(EditKind::FlagForAll, [&](Layout& layout) { layout.OnSetFlagForAll(single); });
}

void Document::Shape(ShapeCommand command) {
    switch (command) {
    case ShapeCommand::Single:
        Edit(EditKind::ShapeSingle, [](Layout& layout) { layout.SplitCell(false); });
        break;
    case ShapeCommand::ToRight:
        Edit(EditKind::ShapeToRight, [](Layout& layout) { layout.FormDoubleRight(); });
        break;
    case ShapeCommand::ToDown:
        Edit(EditKind::ShapeToDown, [](Layout& layout) { layout.FormDoubleDown(); });
        break;
    case ShapeCommand::Quad:
        Edit(EditKind::ShapeQuad, [](Layout& layout) { layout.FormQuad(); });
        break;
    }
}

void Document::CopyKey() {
    Edit(EditKind::CopyKey, [&](Layout& layout) { layout.CopyKey(prompts_); });
}

void Document::ClearKey() {
    Edit(EditKind::ClearKey, [&](Layout& layout) { layout.ClearKey(prompts_); });
}

void Document::ClearAll() {
    Edit(EditKind::ClearAll, [&](Layout& layout) { layout.ClearAll(prompts_); });
}

bool Document::ApplySettings(const KeyboardSettings& settings, int keyCount) {
    const int32_t newCount = keyCount == kMaxKeys ? kMaxKeys : kBlockKeys;
    // The switch to 56 keys clears the right block: keys the user programmed there are not
    // thrown away unasked.
    if (layout_.keyCount == kMaxKeys && newCount == kBlockKeys) {
        bool rightBlockProgrammed = false;
        for (int k = kBlockKeys + 1; k <= kMaxKeys; ++k)
            rightBlockProgrammed = rightBlockProgrammed || layout_.key(k).programmed();
        if (rightBlockProgrammed && !prompts_.AskYesNo(kStrSwitchTo56Question))
            return false;
    }
    Edit(EditKind::Settings, [&](Layout& layout) {
        layout.keyCount = newCount;
        layout.currentKey = 1;
        layout.SelectKey(1);
        layout.settings = settings;
        layout.AlignKeysWithKeyCount();
        // An entry of the list is in use only while a key of the layout carries its name.
        bool listChanged = false;
        for (ProgrammedKeyEntry& entry : layout.programmedKeyList) {
            if (entry.inUse == 0)
                continue;
            bool carried = false;
            for (int k = 1; k <= layout.keyCount && !carried; ++k)
                carried = layout.key(k).programmed() && EntryHoldsName(entry, layout.key(k).name);
            if (!carried) {
                entry.inUse = 0;
                listChanged = true;
            }
        }
        if (listChanged) {
            const int position = layout.programmedKeyComboSelection;
            layout.FillProgrammedKeyCombo();
            layout.SetProgrammedKeyComboSelection(position);
        }
    });
    return true;
}

void Document::SetRfid(const RfidSettings& rfid) {
    Edit(EditKind::Rfid, [&](Layout& layout) { layout.rfid = rfid; });
}

namespace {

KeyClip ClipOf(const KeyRecord& record) {
    return {record.codes, record.name, record.single(), record.mode()};
}

} // namespace

KeyClip Document::CopyCurrentKey() const {
    const int k = layout_.currentKey;
    return IsKeyNumber(k) ? ClipOf(layout_.key(k)) : KeyClip{};
}

void Document::PutOnCurrentKey(EditKind kind, const KeyClip& clip, bool withFlags,
                               const Snapshot* from) {
    const int k = layout_.currentKey;
    const Snapshot before = from ? *from : Capture();
    const auto apply = [&](Layout& layout) {
        KeyRecord& record = layout.key(k);
        record.codes = clip.codes;
        record.setName(clip.name);
        if (withFlags) {
            record.setSingle(clip.single);
            record.setMode(clip.mode);
        }
        layout.PropagateToGroup(k);
        layout.UpdateProgrammedKeyList();
        layout.FillProgrammedKeyCombo();
        layout.SelectKey(k);
    };
    apply(layout_);
    Finish(kind, k, before);
}

void Document::PasteKey(const KeyClip& clip) {
    if (!IsKeyOf(layout_.currentKey, layout_.keyCount) || clip.codes[0] == 0)
        return;
    PutOnCurrentKey(EditKind::PasteKey, clip, true);
}

void Document::DropKey(int source, int target) {
    if (!IsKeyOf(source, layout_.keyCount) || !IsKeyOf(target, layout_.keyCount) ||
        source == target || !layout_.key(source).programmed())
        return;
    // As Copy key gives them: the codes and the name, the target keeping its own flags.
    const KeyClip clip = ClipOf(layout_.key(source));
    // Selecting the target is part of the step, so undo gives the selection back with the key.
    const Snapshot before = Capture();
    layout_.currentKey = target;
    layout_.SelectKey(target);
    PutOnCurrentKey(EditKind::CopyKey, clip, false, &before);
}

void Document::DeleteKey() {
    Edit(EditKind::DeleteKey, [](Layout& layout) { layout.ClearCurrentCell(); });
}

const char* StepNameKey(EditKind kind) {
    switch (kind) {
    case EditKind::KeyCodes:
        return "undo.keyCodes";
    case EditKind::KeyName:
        return "undo.keyName";
    case EditKind::SingleKey:
        return "undo.singleKey";
    case EditKind::Mode:
        return "undo.mode";
    case EditKind::ModeForAll:
        return "undo.modeForAll";
    case EditKind::FlagForAll:
        return "undo.flagForAll";
    case EditKind::ShapeSingle:
        return "undo.shapeSingle";
    case EditKind::ShapeToRight:
        return "undo.shapeToRight";
    case EditKind::ShapeToDown:
        return "undo.shapeToDown";
    case EditKind::ShapeQuad:
        return "undo.shapeQuad";
    case EditKind::CopyKey:
        return "undo.copyKey";
    case EditKind::ClearKey:
        return "undo.clearKey";
    case EditKind::ClearAll:
        return "undo.clearAll";
    case EditKind::Settings:
        return "undo.settings";
    case EditKind::Rfid:
        return "undo.rfid";
    case EditKind::PasteKey:
        return "undo.pasteKey";
    case EditKind::DeleteKey:
        return "undo.deleteKey";
    case EditKind::SaveAsReadBack:
        return "undo.saveAs";
    }
    return "undo.edit";
}

EditRecord MergeEdits(const EditRecord& first, const EditRecord& second) {
    EditRecord merged = first;
    for (std::size_t i = 0; i < second.keys.size(); ++i) {
        const auto at = std::find(merged.keys.begin(), merged.keys.end(), second.keys[i]);
        if (at == merged.keys.end()) {
            merged.keys.push_back(second.keys[i]);
            merged.keysBefore.push_back(second.keysBefore[i]);
            merged.keysAfter.push_back(second.keysAfter[i]);
        } else {
            merged.keysAfter[static_cast<std::size_t>(at - merged.keys.begin())] =
                second.keysAfter[i];
        }
    }
    if (second.valuesAfter) {
        if (!merged.valuesBefore)
            merged.valuesBefore = second.valuesBefore;
        merged.valuesAfter = second.valuesAfter;
    }
    if (second.listAfter) {
        if (!merged.listBefore)
            merged.listBefore = second.listBefore;
        merged.listAfter = second.listAfter;
    }
    if (second.fileNameAfter) {
        if (!merged.fileNameBefore)
            merged.fileNameBefore = second.fileNameBefore;
        merged.fileNameAfter = second.fileNameAfter;
    }
    merged.selectionAfter = second.selectionAfter;
    return merged;
}

bool ChangesNothing(const EditRecord& record) {
    return record.keysBefore == record.keysAfter && record.valuesBefore == record.valuesAfter &&
           record.listBefore == record.listAfter && record.fileNameBefore == record.fileNameAfter;
}

void Document::Restore(const EditRecord& record, Side side) {
    const bool after = side == Side::After;
    const auto& keys = after ? record.keysAfter : record.keysBefore;
    for (std::size_t i = 0; i < record.keys.size(); ++i) {
        const int k = record.keys[i];
        layout_.key(k) = keys[i].record;
        layout_.state(k) = keys[i].cell;
        layout_.partners[static_cast<std::size_t>(k)] = keys[i].partners;
    }
    if (const auto& values = after ? record.valuesAfter : record.valuesBefore) {
        layout_.keyCount = values->keyCount;
        layout_.nextGroupNumber = values->nextGroupNumber;
        layout_.settings = values->settings;
        layout_.rfid = values->rfid;
    }
    if (const auto& list = after ? record.listAfter : record.listBefore) {
        layout_.programmedKeyList = list->entries;
        layout_.programmedKeyOrder = list->order;
    }
    if (const auto& fileName = after ? record.fileNameAfter : record.fileNameBefore)
        layout_.fileName = *fileName;
    // The selection exactly as it stood; showing it again records nothing in the list, which has
    // just been put back as it was.
    const SelectionState& selected = after ? record.selectionAfter : record.selectionBefore;
    layout_.ShowSelection(selected.currentKey, selected.shownKey, selected.chosenEntry);
    DocumentChange change;
    change.keys = record.keys;
    change.values = record.valuesBefore.has_value();
    change.programmedKeys = true;
    change.selection = true;
    change.fileState = change.history = true;
    Notify(change);
}

bool Document::Undo() {
    const EditRecord* step = history_.Undo();
    if (!step)
        return false;
    Restore(*step, Side::Before);
    return true;
}

bool Document::Redo() {
    const EditRecord* step = history_.Redo();
    if (!step)
        return false;
    Restore(*step, Side::After);
    return true;
}

// ---- Whole document and file state -------------------------------------------------------------

void Document::Reset() {
    layout_.ResetLayout();
    history_.Clear();
    NotifyWhole();
}

void Document::Load(const Layout& loaded, bool corrected) {
    layout_ = loaded;
    history_.Clear(!corrected);
    NotifyWhole();
}

namespace {

// Whether two layouts hold the same keys for the file and the keyboard: codes, names, flags,
// cells and the document-wide values. Group numbers are the file's business: a load numbers the
// cells afresh, while the file holds the numbers the layout had.
bool SameContent(const Layout& a, const Layout& b) {
    if (a.keyCount != b.keyCount || !(a.settings == b.settings) || !(a.rfid == b.rfid))
        return false;
    for (int k = 1; k <= kMaxKeys; ++k) {
        KeyRecord x = a.key(k), y = b.key(k);
        x.groupNumber = y.groupNumber = 0;
        if (!(x == y) || a.state(k) != b.state(k) ||
            a.partners[static_cast<std::size_t>(k)] != b.partners[static_cast<std::size_t>(k)])
            return false;
    }
    return true;
}

} // namespace

void Document::LoadReadBack(const Layout& readBack, const std::string& typeLabel) {
    if (SameContent(layout_, readBack)) {
        Saved(readBack.fileName, readBack.scan16Mode);
        layout_.fileIsScan16 = readBack.fileIsScan16;
        return;
    }
    const Snapshot before = Capture();
    const int key = layout_.currentKey;
    layout_ = readBack;
    EditRecord record = Diff(EditKind::SaveAsReadBack, key, before);
    record.detail = typeLabel;
    history_.Push(record);
    history_.EndMerging();
    history_.MarkClean();
    NotifyWhole();
}

void Document::Saved(const std::string& fileName, bool scan16Mode) {
    layout_.fileName = fileName;
    layout_.scan16Mode = scan16Mode;
    history_.MarkClean();
    DocumentChange change;
    change.fileState = change.history = true;
    Notify(change);
}

void Document::SetFileName(const std::string& fileName, const std::string& shownName) {
    layout_.fileName = fileName;
    shownName_ = shownName;
    keepShownName_ = true;
    DocumentChange change;
    change.fileState = true;
    Notify(change);
    keepShownName_ = false;
}

} // namespace zr4700
