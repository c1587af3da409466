#include "qt/scancodes/CCaptureEdit.h"

#include "qt/scancodes/KeyStrokeQt.h"

#include <QKeyEvent>

CCaptureEdit::CCaptureEdit(QWidget* parent) : QLineEdit(parent) {
    // The edit is never typed into: no caret, no input method composing keys on the way, and no
    // popup of its own.
    setReadOnly(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFrame(false);
}

CCaptureEdit::~CCaptureEdit() = default;

bool CCaptureEdit::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claiming the key keeps any shortcut from firing; the key press follows and counts.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        // Taken here, before the widget's own handling: Tab would move the focus, and a key
        // left unhandled would reach the dialog, where Enter and Escape close it.
        event->accept();
        const auto stroke = zr4700::KeyStrokeFromEvent(*static_cast<QKeyEvent*>(event));
        if (stroke && handler_)
            handler_(*stroke);
        return true;
    }
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
        // The menu key raises a context-menu request before its key press; a popup opened there
        // would take every later key.
        event->accept();
        return true;
    default:
        return QLineEdit::event(event);
    }
}
