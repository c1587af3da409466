#include "qt/grid/KeyPopupMenu.h"

#include "qt/platform/Resources.h"

#include <QAction>
#include <QMenu>

KeyPopupMenu::KeyPopupMenu(QWidget* parent, const ActionProvider& actionFor) : QObject(parent) {
    auto* holder = new QMenu(parent);
    AppendMenuItems(holder, Resources::Menu(137), actionFor);
    // The key popup is the first submenu of menu 137.
    for (QAction* action : holder->actions()) {
        if (action->menu()) {
            menu_ = action->menu();
            break;
        }
    }
    if (menu_)
        menu_->setObjectName("137");
}

QAction* KeyPopupMenu::Action(int command) const {
    return menu_ ? FindCommand(menu_, command) : nullptr;
}

void KeyPopupMenu::PopupAt(const QPoint& globalPos) {
    if (menu_)
        menu_->popup(globalPos);
}
