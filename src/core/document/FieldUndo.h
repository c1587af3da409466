#pragma once
// Who answers Undo and Redo while a text field ("Key name", the RFID values) has the focus. The
// field keeps a short history of its own typing; the document keeps the steps. One rule for both
// directions: the field's own undo (redo) while the field has something to undo (redo), then the
// document's history. So Ctrl+Z first takes back what was just typed and, once the field has
// nothing left, goes on with the steps before it; Ctrl+Y and Ctrl+Shift+Z go the same way back.

#include "core/document/Commands.h"

#include <optional>

namespace zr4700 {

enum class UndoRequest { Undo, Redo };
enum class UndoTarget { Field, Document };

// What the focused field could take back or do again itself.
struct FieldUndoState {
    bool canUndo = false;
    bool canRedo = false;
};

UndoTarget RouteUndo(UndoRequest request, FieldUndoState field);

// Whether a shortcut is one of Undo's or Redo's in the command table; none for any other.
std::optional<UndoRequest> UndoRequestOf(const Shortcut& shortcut);

// The command the document's side runs for a request.
int UndoCommandOf(UndoRequest request);

} // namespace zr4700
