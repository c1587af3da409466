#include "core/document/History.h"

namespace zr4700 {

namespace {

bool Mergeable(EditKind kind) {
    return kind == EditKind::KeyName || kind == EditKind::Rfid;
}

} // namespace

void History::Push(const EditRecord& record) {
    if (position_ < steps_.size()) {
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
        if (clean_ > position_)
            cleanReachable_ = false;
    }
    if (mergeOpen_ && position_ > 0 && position_ != clean_ && Mergeable(record.kind)) {
        EditRecord& top = steps_[position_ - 1];
        if (top.kind == record.kind && top.key == record.key) {
            top = MergeEdits(top, record);
            // Typing taken back to what the field held leaves no step: the next Undo goes on
            // with the step before, and the layout is unmodified again where it was clean. The
            // merge ends with it, so further typing starts a step of its own.
            if (ChangesNothing(top)) {
                steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(--position_));
                mergeOpen_ = false;
            }
            return;
        }
    }
    steps_.push_back(record);
    ++position_;
    if (steps_.size() > kLimit) {
        steps_.pop_front();
        --position_;
        if (clean_ == 0)
            cleanReachable_ = false;
        else
            --clean_;
    }
    // A name or an RFID value being typed goes on merging into its step; any other step ends it.
    mergeOpen_ = Mergeable(record.kind);
}

const EditRecord* History::Undo() {
    mergeOpen_ = false;
    if (!CanUndo())
        return nullptr;
    return &steps_[--position_];
}

const EditRecord* History::Redo() {
    mergeOpen_ = false;
    if (!CanRedo())
        return nullptr;
    return &steps_[position_++];
}

void History::AmendPosition(const ProgrammedKeyListState& listBefore,
                            const ProgrammedKeyListState& listAfter,
                            const SelectionState& selection) {
    const bool listChanged = !(listBefore == listAfter);
    if (position_ > 0) {
        EditRecord& done = steps_[position_ - 1];
        if (listChanged) {
            // A step that did not touch the list had the old list on both sides.
            if (!done.listBefore)
                done.listBefore = listBefore;
            done.listAfter = listAfter;
        }
        done.selectionAfter = selection;
    }
    if (position_ < steps_.size()) {
        EditRecord& undone = steps_[position_];
        if (listChanged) {
            if (!undone.listAfter)
                undone.listAfter = listBefore;
            undone.listBefore = listAfter;
        }
        undone.selectionBefore = selection;
    }
}

void History::Clear(bool clean) {
    steps_.clear();
    position_ = 0;
    clean_ = 0;
    cleanReachable_ = clean;
    mergeOpen_ = false;
}

void History::MarkClean() {
    clean_ = position_;
    cleanReachable_ = true;
    mergeOpen_ = false;
}

} // namespace zr4700
