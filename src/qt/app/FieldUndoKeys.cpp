#include "qt/app/FieldUndoKeys.h"

#include "qt/app/CommandActions.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

using namespace zr4700;

FieldUndoKeys::FieldUndoKeys(CommandActions& actions, std::initializer_list<QLineEdit*> fields,
                             QObject* parent)
    : QObject(parent), actions_(actions) {
    for (QLineEdit* field : fields) {
        if (!field)
            continue;
        field->installEventFilter(this);
        fields_.push_back(field);
    }
    for (const int command : {kCmdUndo, kCmdRedo}) {
        if (QAction* action = actions_.Action(command)) {
            // Runs after the document has taken its step.
            connect(action, &QAction::triggered, this, [this] {
                for (QLineEdit* field : fields_)
                    ForgetOwnHistory(field);
            });
        }
    }
}

void FieldUndoKeys::ForgetOwnHistory(QLineEdit* field) {
    if (!field->isUndoAvailable() && !field->isRedoAvailable())
        return;
    // Setting the text starts the line edit's history afresh; the text stays, and so do the
    // caret and the document (no signal: nothing was typed).
    const QSignalBlocker blocker(field);
    const int caret = field->cursorPosition();
    field->setText(field->text());
    field->setCursorPosition(caret);
}

std::optional<UndoRequest> FieldUndoKeys::RequestOf(const QKeyEvent& key) const {
    constexpr Qt::KeyboardModifiers kShortcutModifiers =
        Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;
    const QKeySequence pressed(
        QKeyCombination(key.modifiers() & kShortcutModifiers, static_cast<Qt::Key>(key.key())));
    for (const UndoRequest request : {UndoRequest::Undo, UndoRequest::Redo}) {
        const QAction* action = actions_.Action(UndoCommandOf(request));
        if (action && action->shortcuts().contains(pressed))
            return request;
    }
    return std::nullopt;
}

bool FieldUndoKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    auto* field = qobject_cast<QLineEdit*>(watched);
    // A new visit starts with nothing of the last one to take back, which the document holds as
    // its step now (a closed menu gives the focus back within the same visit). Forgotten as the
    // focus comes, not as it goes, so that leaving the field still reports what was typed.
    if (type == QEvent::FocusIn && field &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        ForgetOwnHistory(field);
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto request = field ? RequestOf(*static_cast<QKeyEvent*>(event)) : std::nullopt;
    if (!request)
        return QObject::eventFilter(watched, event);
    const UndoTarget target =
        RouteUndo(*request, {field->isUndoAvailable(), field->isRedoAvailable()});
    if (type == QEvent::ShortcutOverride) {
        // Claiming the key keeps the window's action from firing and brings the key press here;
        // leaving it unclaimed lets the window's Undo or Redo take it.
        event->setAccepted(target == UndoTarget::Field);
        return true;
    }
    // The key press: the field's own step, or nothing when the document had no step to take (its
    // action is disabled then); the line edit's own handling must not act on it either way.
    if (target == UndoTarget::Field) {
        if (*request == UndoRequest::Undo)
            field->undo();
        else
            field->redo();
    }
    return true;
}
