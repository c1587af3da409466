#pragma once
// The document's undo history: the steps the document recorded, the position between the done
// and the undone ones, and the clean position, where the layout equals its file on disk. The
// layout counts as modified exactly when the position is not the clean one, so the history is the
// only thing that decides it. At most kLimit steps are kept; typing into one field of one key
// merges into one step until the merge is ended (the user left the field, or any other step).

#include "core/document/EditRecord.h"

#include <cstddef>
#include <deque>

namespace zr4700 {

class History {
  public:
    static constexpr std::size_t kLimit = 500;

    // Adds a step after the position, dropping the undone steps; merges it into the step before
    // when both are typing into the same field of the same key and the merge is open.
    void Push(const EditRecord& record);
    void EndMerging() { mergeOpen_ = false; }

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // The step Undo or Redo would take; null when there is none.
    const EditRecord* UndoStep() const { return CanUndo() ? &steps_[position_ - 1] : nullptr; }
    const EditRecord* RedoStep() const { return CanRedo() ? &steps_[position_] : nullptr; }
    // Moves the position; the caller puts the returned step's before (undo) or after (redo) back.
    const EditRecord* Undo();
    const EditRecord* Redo();

    // The state between steps changed without an edit (selecting a key records the key it
    // leaves in the programmed-key list): both steps next to the position take it as their side.
    void AmendPosition(const ProgrammedKeyListState& listBefore,
                       const ProgrammedKeyListState& listAfter, const SelectionState& selection);

    // Forgets every step; the empty history is clean when `clean`, otherwise the layout differs
    // from its file wherever the history goes (a file the reader corrected).
    void Clear(bool clean = true);
    // The position is the file on disk now.
    void MarkClean();
    bool Modified() const { return !cleanReachable_ || clean_ != position_; }

    std::size_t count() const { return steps_.size(); }
    std::size_t position() const { return position_; }

  private:
    std::deque<EditRecord> steps_;
    std::size_t position_ = 0;
    std::size_t clean_ = 0;
    bool cleanReachable_ = true;
    bool mergeOpen_ = false;
};

} // namespace zr4700
