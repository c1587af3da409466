#include "core/document/FieldUndo.h"

#include <algorithm>

namespace zr4700 {

UndoTarget RouteUndo(UndoRequest request, FieldUndoState field) {
    const bool fieldCan = request == UndoRequest::Undo ? field.canUndo : field.canRedo;
    return fieldCan ? UndoTarget::Field : UndoTarget::Document;
}

int UndoCommandOf(UndoRequest request) {
    return request == UndoRequest::Undo ? kCmdUndo : kCmdRedo;
}

std::optional<UndoRequest> UndoRequestOf(const Shortcut& shortcut) {
    if (shortcut.key == ShortcutKey::None)
        return std::nullopt;
    for (const UndoRequest request : {UndoRequest::Undo, UndoRequest::Redo}) {
        const CommandSpec* spec = FindCommandSpec(UndoCommandOf(request));
        if (spec && std::ranges::find(spec->shortcuts, shortcut) != spec->shortcuts.end())
            return request;
    }
    return std::nullopt;
}

} // namespace zr4700
