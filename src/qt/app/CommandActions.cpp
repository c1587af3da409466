#include "qt/app/CommandActions.h"

#include "qt/platform/Resources.h"

#include <QAction>
#include <QWidget>

using namespace zr4700;

std::string ResourceTexts::Text(std::string_view key) const {
    return Resources::String(std::string(key).c_str()).toStdString();
}

namespace {

QKeySequence ToKeySequence(const Shortcut& shortcut) {
    int key = 0;
    switch (shortcut.key) {
    case ShortcutKey::None:
        return {};
    case ShortcutKey::A:
        key = Qt::Key_A;
        break;
    case ShortcutKey::C:
        key = Qt::Key_C;
        break;
    case ShortcutKey::L:
        key = Qt::Key_L;
        break;
    case ShortcutKey::N:
        key = Qt::Key_N;
        break;
    case ShortcutKey::O:
        key = Qt::Key_O;
        break;
    case ShortcutKey::P:
        key = Qt::Key_P;
        break;
    case ShortcutKey::Q:
        key = Qt::Key_Q;
        break;
    case ShortcutKey::S:
        key = Qt::Key_S;
        break;
    case ShortcutKey::V:
        key = Qt::Key_V;
        break;
    case ShortcutKey::Y:
        key = Qt::Key_Y;
        break;
    case ShortcutKey::Z:
        key = Qt::Key_Z;
        break;
    case ShortcutKey::Digit1:
        key = Qt::Key_1;
        break;
    case ShortcutKey::Digit2:
        key = Qt::Key_2;
        break;
    case ShortcutKey::Digit3:
        key = Qt::Key_3;
        break;
    case ShortcutKey::Digit4:
        key = Qt::Key_4;
        break;
    case ShortcutKey::Insert:
        key = Qt::Key_Insert;
        break;
    case ShortcutKey::Delete:
        key = Qt::Key_Delete;
        break;
    case ShortcutKey::F1:
        key = Qt::Key_F1;
        break;
    }
    if (shortcut.ctrl)
        key |= Qt::CTRL;
    if (shortcut.shift)
        key |= Qt::SHIFT;
    return QKeySequence(key);
}

} // namespace

CommandActions::CommandActions(CommandContext context, QWidget* window, QWidget* grid)
    : QObject(window), context_(context) {
    for (const CommandSpec& spec : CommandTable()) {
        auto* action = new QAction(window);
        const int id = spec.id;
        action->setData(id);
        action->setObjectName(QString::number(id));
        if (spec.textKey)
            action->setText(Resources::String(spec.textKey));
        QList<QKeySequence> keys;
        for (const Shortcut& shortcut : spec.shortcuts) {
            if (shortcut.key != ShortcutKey::None)
                keys << ToKeySequence(shortcut);
        }
        action->setShortcuts(keys);
        action->setCheckable(spec.checked != nullptr);
        // The command is run through the table, which checks its rule once more: a shortcut
        // may arrive before the states are refreshed.
        connect(action, &QAction::triggered, this, [this, id] {
            RunCommand(context_, id);
            Refresh();
        });
        // Shortcuts work with every menu closed: wherever the focus is in the window, or for the
        // grid's own commands only while the grid has it.
        if (spec.scope == ShortcutScope::Grid) {
            action->setShortcutContext(Qt::WidgetShortcut);
            grid->addAction(action);
        } else {
            window->addAction(action);
        }
        actions_[id] = action;
    }
    Refresh();
}

QAction* CommandActions::Action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

QAction* CommandActions::ActionWithText(int id, const QString& text) {
    QAction* action = Action(id);
    if (action && !text.isEmpty())
        action->setText(text);
    return action;
}

void CommandActions::Refresh() {
    for (const auto& [id, action] : actions_) {
        action->setEnabled(CommandEnabled(context_, id));
        if (action->isCheckable())
            action->setChecked(CommandChecked(context_, id));
    }
    const History& history = context_.document.history();
    if (QAction* undo = Action(kCmdUndo))
        undo->setText(QString::fromStdString(UndoText(history, texts_)));
    if (QAction* redo = Action(kCmdRedo))
        redo->setText(QString::fromStdString(RedoText(history, texts_)));
}
