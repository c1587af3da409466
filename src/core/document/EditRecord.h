#pragma once
// What one step of the history holds: the parts of the document an edit touched, before and
// after, and the selection on either side.

#include "core/model/Layout.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zr4700 {

// The kinds of edit, for naming a step ("Program key 10", "Clear all keys").
enum class EditKind {
    KeyCodes,
    KeyName,
    SingleKey,
    Mode,
    ModeForAll,
    FlagForAll,
    ShapeSingle,
    ShapeToRight,
    ShapeToDown,
    ShapeQuad,
    CopyKey,
    ClearKey,
    ClearAll,
    Settings,
    Rfid,
    PasteKey,
    DeleteKey,
    SaveAsReadBack, // the layout as a Save As file type that drops codes or keys read it back
};

// One key as an edit sees it: its record, its cell and its partners.
struct KeyState {
    KeyRecord record;
    CellState cell = CellState::Blank;
    std::array<int32_t, 3> partners{};
    bool operator==(const KeyState&) const = default;
};

// The string key of a step's name in the string table ("undo.keyCodes": "Program key %d").
const char* StepNameKey(EditKind kind);

// The document-wide values an edit may touch besides the keys.
struct DocumentValues {
    int32_t keyCount = 56;
    uint8_t nextGroupNumber = 1;
    KeyboardSettings settings;
    RfidSettings rfid;
    bool operator==(const DocumentValues&) const = default;
};

struct ProgrammedKeyListState {
    std::vector<ProgrammedKeyEntry> entries;
    std::vector<int32_t> order;
    bool operator==(const ProgrammedKeyListState&) const = default;
};

// Which key is current and shown, and which entry of the programmed-key list is chosen.
struct SelectionState {
    int32_t currentKey = 1;
    int32_t shownKey = 1;
    int32_t chosenEntry = -1; // a position in the list as shown, -1 for none
    bool operator==(const SelectionState&) const = default;
};

// What one edit changed: only the parts it touched, each before and after.
struct EditRecord {
    EditKind kind = EditKind::KeyCodes;
    int key = 0;        // the key the edit was made on
    std::string detail; // what else the step's name says (a Save As file type)
    std::vector<int> keys;
    std::vector<KeyState> keysBefore, keysAfter;
    std::optional<DocumentValues> valuesBefore, valuesAfter;
    std::optional<ProgrammedKeyListState> listBefore, listAfter;
    // Only Clear All changes the file name as an edit; Save As renames outside the history.
    std::optional<std::string> fileNameBefore, fileNameAfter;
    SelectionState selectionBefore, selectionAfter;
};

// One step made of two edits of the same kind on the same key (typing a name, character by
// character): the first one's before, the second one's after.
EditRecord MergeEdits(const EditRecord& first, const EditRecord& second);
// True when the step's after equals its before in everything the file or the keyboard holds
// (typing that was taken back within the field).
bool ChangesNothing(const EditRecord& record);

} // namespace zr4700
