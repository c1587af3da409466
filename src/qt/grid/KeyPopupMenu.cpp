#include "qt/grid/KeyPopupMenu.h"

#include "qt/app/CommandIds.h"
#include "qt/app/MenuBuilder.h"
#include "qt/platform/Resources.h"

#include <QAction>
#include <QMenu>

KeyPopupMenu::KeyPopupMenu(QWidget* parent, std::function<void(int command)> handler)
    : QObject(parent) {
    auto* holder = new QMenu(parent);
    AppendMenuItems(holder, Resources::Menu(137), handler);
    // The key popup is the first submenu of menu 137.
    for (QAction* action : holder->actions()) {
        if (action->menu()) {
            menu_ = action->menu();
            break;
        }
    }
    if (!menu_)
        return;
    menu_->setObjectName("137");
    // The items' own texts carry no mnemonics, so each has a shortcut, shown beside it. Return
    // edits the current key already and is not taken again here.
    using Ids = CommandIds;
    const std::pair<int, QKeySequence> shortcuts[] = {
        {Ids::kCmdInsertKey, QKeySequence(Qt::Key_Insert)},
        {Ids::kCmdSingle, QKeySequence(Qt::CTRL | Qt::Key_1)},
        {Ids::kCmdToRight, QKeySequence(Qt::CTRL | Qt::Key_2)},
        {Ids::kCmdToDown, QKeySequence(Qt::CTRL | Qt::Key_3)},
        {Ids::kCmdQuad, QKeySequence(Qt::CTRL | Qt::Key_4)},
        {Ids::kCmdCopyKey, QKeySequence(Qt::CTRL | Qt::Key_L)},
        {Ids::kCmdClearKey, QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {Ids::kCmdClearAll, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete)},
    };
    for (const auto& [command, keys] : shortcuts) {
        if (QAction* action = Action(command))
            action->setShortcut(keys);
    }
}

void KeyPopupMenu::AddShortcutsTo(QWidget* window) {
    if (!menu_)
        return;
    const std::function<void(QMenu*)> addAll = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu())
                addAll(action->menu());
            else if (!action->shortcut().isEmpty())
                window->addAction(action);
        }
    };
    addAll(menu_);
}

bool KeyPopupMenu::Allows(const zr4700::Layout::PopupState& enabled, int command) {
    using Ids = CommandIds;
    switch (command) {
    case Ids::kCmdSingle:
        return enabled.single;
    case Ids::kCmdToRight:
        return enabled.toRight;
    case Ids::kCmdToDown:
        return enabled.toDown;
    case Ids::kCmdQuad:
        return enabled.quad;
    case Ids::kCmdCopyKey:
        return enabled.copyKey;
    case Ids::kCmdClearKey:
        return enabled.clearKey;
    case Ids::kCmdClearAll:
        return enabled.clearAll;
    default:
        return true;
    }
}

QAction* KeyPopupMenu::Action(int command) const {
    return menu_ ? FindCommand(menu_, command) : nullptr;
}

void KeyPopupMenu::PopupAt(const zr4700::Layout::PopupState& enabled, const QPoint& globalPos) {
    if (!menu_)
        return;
    const std::function<void(QMenu*)> enableAll = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu())
                enableAll(action->menu());
            else if (!action->isSeparator())
                action->setEnabled(Allows(enabled, action->data().toInt()));
        }
    };
    enableAll(menu_);
    menu_->popup(globalPos);
}
