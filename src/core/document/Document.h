#pragma once
// The document seam: the one way the program changes the layout. Every edit of a key, of the
// settings or of the RFID values is one call here; the call runs the layout's own operation, finds
// out what it touched (which keys, which settings, the programmed-key list), marks the layout
// modified when anything changed, tells the observers, and hands a record of the before and
// after state of exactly that to the edit recorder (the undo history). Selecting, hovering and
// the file state are not edits and leave no record.

#include "core/model/Layout.h"
#include "core/document/UserPrompts.h"

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
};

// One key as an edit sees it: its record, its cell and its partners.
struct KeyState {
    KeyRecord record;
    CellState cell = CellState::Blank;
    std::array<int32_t, 3> partners{};
    bool operator==(const KeyState&) const = default;
};

// The document-wide values an edit may touch besides the keys.
struct DocumentValues {
    int32_t keyCount = 56;
    uint8_t nextGroupNumber = 1;
    KeyboardSettings settings;
    RfidSettings rfid;
    std::string fileName;
    bool operator==(const DocumentValues&) const = default;
};

struct ProgrammedKeyListState {
    std::vector<ProgrammedKeyEntry> entries;
    std::vector<int32_t> order;
    bool operator==(const ProgrammedKeyListState&) const = default;
};

// What one edit changed: only the parts it touched, each before and after.
struct EditRecord {
    EditKind kind = EditKind::KeyCodes;
    int key = 0; // the key the edit was made on
    std::vector<int> keys;
    std::vector<KeyState> keysBefore, keysAfter;
    std::optional<DocumentValues> valuesBefore, valuesAfter;
    std::optional<ProgrammedKeyListState> listBefore, listAfter;
    int32_t currentKeyBefore = 1, currentKeyAfter = 1;
};

// What changed in the document, so that observers redraw exactly that.
struct DocumentChange {
    std::vector<int> keys;       // keys whose record or cell changed
    bool values = false;         // key count, settings, RFID values or file name
    bool programmedKeys = false; // the programmed-key list
    bool fileState = false;      // file name, title, modified flag or variant
    bool whole = false;          // the whole document was replaced (new, load)
};

class DocumentObserver {
  public:
    virtual ~DocumentObserver() = default;
    virtual void DocumentChanged(const DocumentChange& change) = 0;
};

class EditRecorder {
  public:
    virtual ~EditRecorder() = default;
    virtual void EditRecorded(const EditRecord& record) = 0;
};

enum class ShapeCommand { Single, ToRight, ToDown, Quad };

// What the grid's clipboard holds of a key: what Copy key would pass on, plus its own flags.
struct KeyClip {
    KeyCodes codes{};
    std::string name;
    bool single = true;
    int mode = 0;
};

// One step made of two edits of the same kind on the same key (typing a name, character by
// character): the first one's before, the second one's after.
EditRecord MergeEdits(const EditRecord& first, const EditRecord& second);

class Document {
  public:
    explicit Document(UserPrompts& prompts) : prompts_(prompts) {}
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const Layout& layout() const { return layout_; }
    UserPrompts& prompts() const { return prompts_; }
    // The layout itself, for the file reader and writer and for tests that set up a state. The
    // user interface changes the layout through the edits below only.
    Layout& RawLayout() { return layout_; }

    // The grid's and panel's fine-grained hooks (pictures, panel values, combo box).
    void SetLayoutObserver(LayoutObserver* observer) { layout_.SetObserver(observer); }
    void AddObserver(DocumentObserver* observer);
    void RemoveObserver(DocumentObserver* observer);
    void SetRecorder(EditRecorder* recorder) { recorder_ = recorder; }

    // ---- Selection: no edit -----------------------------------------------------------------
    void SelectKey(int key);
    void SelectNextKey() { layout_.SelectNextKey(); }
    void SelectPreviousKey() { layout_.SelectPreviousKey(); }
    void SelectKeyBelow() { layout_.SelectKeyBelow(); }
    void SelectKeyAbove() { layout_.SelectKeyAbove(); }
    void OnPreviousKey() { layout_.OnPreviousKey(); }
    void OnNextKey() { layout_.OnNextKey(); }
    void SelectProgrammedKey(int position) { layout_.OnProgrammedKeySelected(position); }
    void SetEditingKeyCodes(bool on) { layout_.editingKeyCodes = on ? 1 : 0; }

    // ---- Edits ------------------------------------------------------------------------------
    void ApplyCapturedCodes(const KeyCodes& codeSlots,
                            const std::array<std::string, kCodeSlots>& codeNames);
    void RenameKey(const std::string& name);
    void SetSingleKey(bool single);
    void SetMode(int mode);
    void SetModeForAll();
    void SetFlagForAll(bool single);
    void Shape(ShapeCommand command);
    void CopyKey();
    void ClearKey();
    void ClearAll();
    // The settings dialog closed with OK: the keyboard-wide values and the model (56 or 112).
    // Switching to 56 keys while keys 57..112 hold codes asks first; false when the user said
    // No, and nothing changed then.
    bool ApplySettings(const KeyboardSettings& settings, int keyCount);
    void SetRfid(const RfidSettings& rfid);
    // The current key as the clipboard keeps it.
    KeyClip CopyCurrentKey() const;
    // Puts a clip onto the current key with the rules of Copy key (a member of a cell passes it
    // to the whole cell), without a question: the step can be undone.
    void PasteKey(const KeyClip& clip);
    // Clears the current key as Clear Key does, without the question.
    void DeleteKey();
    // A key dragged onto another: the target becomes the current key and takes the source's
    // codes and name as Copy key would give them (its whole cell with it), in one step.
    void DropKey(int source, int target);

    // Puts back one side of a recorded edit (the undo history's way in).
    enum class Side { Before, After };
    void Restore(const EditRecord& record, Side side);

    // ---- Whole document and file state ------------------------------------------------------
    // A new, untitled layout (the model stays).
    void Reset();
    // The layout was replaced by a file's contents (the reader has filled RawLayout()).
    void Loaded();
    // The name shown in the title; empty shows "untitled".
    const std::string& titleName() const { return titleName_; }
    void SetFileName(const std::string& fileName, const std::string& titleName);
    void SetTitleName(const std::string& titleName);
    void SetModified(bool modified);
    // Tells observers of the file state after the writer or reader changed it.
    void FileStateChanged();

  private:
    struct Snapshot {
        std::array<KeyState, kMaxKeys + 1> keys;
        DocumentValues values;
        ProgrammedKeyListState list;
        int32_t currentKey = 1;
    };
    Snapshot Capture() const;
    template <typename Apply> void Edit(EditKind kind, Apply&& apply);
    void Finish(EditKind kind, int key, const Snapshot& before);
    // The codes and name of a clip (and its single flag and mode, withFlags) onto the current
    // key, passed to its whole cell, as one edit.
    void PutOnCurrentKey(EditKind kind, const KeyClip& clip, bool withFlags);
    void Notify(const DocumentChange& change);

    Layout layout_;
    UserPrompts& prompts_;
    std::string titleName_;
    std::vector<DocumentObserver*> observers_;
    EditRecorder* recorder_ = nullptr;
};

} // namespace zr4700
