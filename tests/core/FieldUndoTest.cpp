// Undo and Redo while a text field has the focus: the field first while it has something to take
// back or do again, then the document; and typing taken back within the field leaves no step.
#include "core/document/FieldUndo.h"

#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

using namespace zr4700;
using zr4700::testing::ScriptedPrompts;

TEST(FieldUndo, TheFieldAnswersWhileItCanThenTheDocument) {
    struct Case {
        UndoRequest request;
        FieldUndoState field;
        UndoTarget expected;
    };
    const Case cases[] = {
        {UndoRequest::Undo, {true, false}, UndoTarget::Field},
        {UndoRequest::Undo, {false, true}, UndoTarget::Document},
        {UndoRequest::Undo, {false, false}, UndoTarget::Document},
        {UndoRequest::Redo, {false, true}, UndoTarget::Field},
        {UndoRequest::Redo, {true, false}, UndoTarget::Document},
        {UndoRequest::Redo, {false, false}, UndoTarget::Document},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "redo " << (c.request == UndoRequest::Redo)
                                          << " field " << c.field.canUndo << c.field.canRedo);
        EXPECT_EQ(RouteUndo(c.request, c.field), c.expected);
    }
}

TEST(FieldUndo, TheShortcutsAreUndosAndRedosOfTheCommandTable) {
    struct Case {
        Shortcut shortcut;
        std::optional<UndoRequest> expected;
    };
    const Case cases[] = {
        {{ShortcutKey::Z, true, false}, UndoRequest::Undo},
        {{ShortcutKey::Y, true, false}, UndoRequest::Redo},
        {{ShortcutKey::Z, true, true}, UndoRequest::Redo},
        {{ShortcutKey::Z, false, false}, std::nullopt},
        {{ShortcutKey::C, true, false}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UndoRequestOf(c.shortcut), c.expected);
    EXPECT_EQ(UndoCommandOf(UndoRequest::Undo), kCmdUndo);
    EXPECT_EQ(UndoCommandOf(UndoRequest::Redo), kCmdRedo);
}

TEST(FieldUndo, TypingTakenBackInTheFieldLeavesNoStep) {
    ScriptedPrompts prompts;
    Document document(prompts);
    document.SelectKey(1);
    document.SetMode(1);
    const std::string name = document.layout().key(1).name;
    document.RenameKey("A");
    document.RenameKey("Ab");
    ASSERT_EQ(document.history().count(), 2u);
    // The field's own undo, back to the name it had.
    document.RenameKey("A");
    document.RenameKey(name);
    EXPECT_EQ(document.history().count(), 1u);
    EXPECT_EQ(document.history().UndoStep()->kind, EditKind::Mode);
    // Typing again in the same visit is a step of its own.
    document.RenameKey("B");
    EXPECT_EQ(document.history().count(), 2u);
    // Back at the file's state, the layout is unmodified.
    Document saved(prompts);
    saved.Saved("a.txt", true);
    saved.RenameKey("x");
    saved.RenameKey(name);
    EXPECT_FALSE(saved.modified());
    EXPECT_FALSE(saved.history().CanUndo());
}
