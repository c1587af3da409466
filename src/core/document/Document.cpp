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
    // An observer may remove itself while being told.
    const std::vector<DocumentObserver*> observers = observers_;
    for (DocumentObserver* observer : observers)
        observer->DocumentChanged(change);
}

Document::Snapshot Document::Capture() const {
    Snapshot snapshot;
    for (int k = 1; k <= kMaxKeys; ++k) {
        KeyState& state = snapshot.keys[static_cast<std::size_t>(k)];
        state.record = layout_.key(k);
        state.cell = layout_.state(k);
        state.partners = layout_.partners[static_cast<std::size_t>(k)];
    }
    snapshot.values = {layout_.keyCount, layout_.nextGroupNumber, layout_.settings, layout_.rfid,
                       layout_.fileName};
    snapshot.list = {layout_.programmedKeyList, layout_.programmedKeyOrder};
    snapshot.currentKey = layout_.currentKey;
    return snapshot;
}

template <typename Apply> void Document::Edit(EditKind kind, Apply&& apply) {
    const Snapshot before = Capture();
    const int key = layout_.currentKey;
    apply(layout_);
    Finish(kind, key, before);
}

void Document::Finish(EditKind kind, int key, const Snapshot& before) {
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
    record.currentKeyBefore = before.currentKey;
    record.currentKeyAfter = after.currentKey;

    // An edit that changed nothing the file or the keyboard holds is no edit: answering No to a
    // question, or choosing the mode a key already has, leaves the layout as it was.
    const bool changed = !record.keys.empty() || record.valuesBefore || record.listBefore;
    DocumentChange change;
    change.keys = record.keys;
    change.values = record.valuesBefore.has_value();
    change.programmedKeys = record.listBefore.has_value();
    if (changed) {
        // Whatever the edit was, the layout now differs from its file.
        change.fileState = layout_.modified == 0 || record.valuesBefore.has_value();
        layout_.modified = 1;
        if (recorder_)
            recorder_->EditRecorded(record);
    }
    Notify(change);
}

// ---- Selection
// -----------------------------------------------------------------------------------

void Document::SelectKey(int key) {
    if (!IsKeyNumber(key))
        return;
    layout_.currentKey = key;
    layout_.SelectKey(key);
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
    // Clear All leaves the layout without a file: the window says so.
    if (layout_.fileName.empty() && !titleName_.empty())
        SetTitleName({});
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

void Document::PutOnCurrentKey(EditKind kind, const KeyClip& clip, bool withFlags) {
    const int k = layout_.currentKey;
    Edit(kind, [&](Layout& layout) {
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
    });
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
    SelectKey(target);
    PutOnCurrentKey(EditKind::CopyKey, clip, false);
}

void Document::DeleteKey() {
    Edit(EditKind::DeleteKey, [](Layout& layout) { layout.ClearCurrentCell(); });
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
    merged.currentKeyAfter = second.currentKeyAfter;
    return merged;
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
        layout_.fileName = values->fileName;
    }
    if (const auto& list = after ? record.listAfter : record.listBefore) {
        layout_.programmedKeyList = list->entries;
        layout_.programmedKeyOrder = list->order;
    }
    const int current = after ? record.currentKeyAfter : record.currentKeyBefore;
    layout_.currentKey = current;
    layout_.DrawAllKeyCells();
    layout_.FillProgrammedKeyCombo();
    // The key is shown again as it is now; leaving the key shown before records nothing in the
    // list, which has just been put back as it was.
    if (IsKeyNumber(current)) {
        layout_.shownKey = current;
        layout_.SelectKey(current);
    }
    DocumentChange change;
    change.keys = record.keys;
    change.values = record.valuesBefore.has_value();
    change.programmedKeys = record.listBefore.has_value();
    change.fileState = true;
    Notify(change);
}

// ---- Whole document and file state -------------------------------------------------------------

void Document::Reset() {
    layout_.ResetLayout();
    titleName_.clear();
    DocumentChange change;
    change.whole = true;
    change.fileState = true;
    Notify(change);
}

void Document::Loaded() {
    DocumentChange change;
    change.whole = true;
    change.fileState = true;
    Notify(change);
}

void Document::SetFileName(const std::string& fileName, const std::string& titleName) {
    layout_.fileName = fileName;
    titleName_ = titleName;
    FileStateChanged();
}

void Document::SetTitleName(const std::string& titleName) {
    titleName_ = titleName;
    FileStateChanged();
}

void Document::SetModified(bool modified) {
    layout_.modified = modified ? 1 : 0;
    FileStateChanged();
}

void Document::FileStateChanged() {
    DocumentChange change;
    change.fileState = true;
    Notify(change);
}

} // namespace zr4700
