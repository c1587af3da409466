#pragma once
// The document seam: the one way the program changes the layout. Every edit of a key, of the
// settings or of the RFID values is one call here; the call runs the layout's own operation, finds
// out what it touched (which keys, which settings, the programmed-key list), records the before
// and after state of exactly that as one step of the history, and tells the observers. The
// history alone decides whether the layout is modified: it is, exactly when the history stands
// anywhere but at the step the file on disk holds. Selecting is no edit and adds no step; what a
// selection changes in the list belongs to the history's position, so undo and redo give it back.

#include "core/document/EditRecord.h"
#include "core/document/History.h"
#include "core/document/UserPrompts.h"
#include "core/model/Layout.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zr4700 {

// What changed in the document, so that observers redraw exactly that.
struct DocumentChange {
    std::vector<int> keys;       // keys whose record or cell changed
    bool values = false;         // key count, settings or RFID values
    bool programmedKeys = false; // the programmed-key list
    bool selection = false;      // the current or shown key, or the chosen list entry
    bool fileState = false;      // file name, title, modified state or variant
    bool history = false;        // the steps Undo and Redo would take
    bool whole = false;          // the whole document was replaced (new, load)
};

class DocumentObserver {
  public:
    virtual ~DocumentObserver() = default;
    virtual void DocumentChanged(const DocumentChange& change) = 0;
};

enum class ShapeCommand { Single, ToRight, ToDown, Quad };

// What the grid's clipboard holds of a key: what Copy key would pass on, plus its own flags.
struct KeyClip {
    KeyCodes codes{};
    std::string name;
    bool single = true;
    int mode = 0;
};

class Document {
  public:
    explicit Document(UserPrompts& prompts) : prompts_(prompts) {}
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const Layout& layout() const { return layout_; }
    UserPrompts& prompts() const { return prompts_; }
    SelectionState selection() const;
    const History& history() const { return history_; }
    bool modified() const { return history_.Modified(); }

    void AddObserver(DocumentObserver* observer);
    void RemoveObserver(DocumentObserver* observer);

    // ---- Selection: no edit -----------------------------------------------------------------
    void SelectKey(int key);
    void SelectNextKey();
    void SelectPreviousKey();
    void SelectKeyBelow();
    void SelectKeyAbove();
    void OnPreviousKey();
    void OnNextKey();
    void SelectProgrammedKey(int position);

    // ---- Edits ------------------------------------------------------------------------------
    void ApplyCapturedCodes(const KeyCodes& codeSlots,
                            const std::array<std::string, kCodeSlots>& codeNames);
    // Typing in "Key name" or an RFID field is one step per visit: leaving the field ends it.
    void RenameKey(const std::string& name);
    void EndTyping() { history_.EndMerging(); }
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

    // ---- History ----------------------------------------------------------------------------
    bool Undo();
    bool Redo();
    // Puts back one side of a recorded step.
    enum class Side { Before, After };
    void Restore(const EditRecord& record, Side side);

    // ---- Whole document and file state ------------------------------------------------------
    // A new, untitled layout with an empty history (the model stays).
    void Reset();
    // A layout read from its file replaces the document and starts an empty history. The history
    // is clean there unless the reader corrected values: then the layout is not the file's
    // content, and no step of this history is.
    void Load(const Layout& loaded, bool corrected);
    // A Save As file type that cannot hold the whole layout was written and read back: the
    // read-back becomes one step ("Save As 7/3scan", by the type's string key and label), so
    // that undo gives the dropped codes back. A read-back equal to the layout changes nothing.
    void LoadReadBack(const Layout& readBack, const std::string& typeLabel);
    // The layout was written to fileName in the 16scan family or not: the history is clean here.
    void Saved(const std::string& fileName, bool scan16Mode);
    // Names the layout's file without writing it (Save As, before its write; Open, before the
    // read). While the file is written, the title may show a shorter name for it.
    void SetFileName(const std::string& fileName, const std::string& shownName = {});
    // The name the title shows: the file's path, or the shorter name while a Save As writes.
    const std::string& shownFileName() const {
        return shownName_.empty() ? layout_.fileName : shownName_;
    }

  private:
    struct Snapshot {
        std::array<KeyState, kMaxKeys + 1> keys;
        DocumentValues values;
        ProgrammedKeyListState list;
        std::string fileName;
        SelectionState selection;
    };
    Snapshot Capture() const;
    template <typename Apply> void Edit(EditKind kind, Apply&& apply);
    EditRecord Diff(EditKind kind, int key, const Snapshot& before) const;
    void Finish(EditKind kind, int key, const Snapshot& before);
    template <typename Select> void Selecting(Select&& select);
    // The codes and name of a clip (and its single flag and mode, withFlags) onto the current
    // key, passed to its whole cell, as one edit.
    void PutOnCurrentKey(EditKind kind, const KeyClip& clip, bool withFlags,
                         const Snapshot* from = nullptr);
    void Notify(const DocumentChange& change);
    void NotifyWhole();

    Layout layout_;
    UserPrompts& prompts_;
    History history_;
    std::string shownName_;
    bool keepShownName_ = false;
    std::vector<DocumentObserver*> observers_;
    friend class DocumentTestAccess;
};

} // namespace zr4700
