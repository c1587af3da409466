#include "layout/KeyPopupMenu.h"

#include "app/CommandIds.h"
#include "app/MenuBuilder.h"
#include "app/Resources.h"

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
    if (menu_)
        menu_->setObjectName("137");
}

QAction* KeyPopupMenu::Action(int command) const {
    return menu_ ? FindCommand(menu_, command) : nullptr;
}

void KeyPopupMenu::PopupAt(const zr4700::Layout::PopupState& enabled, const QPoint& globalPos) {
    if (!menu_)
        return;
    using Ids = CommandIds;
    const auto enable = [this](int command, bool on) {
        if (QAction* action = Action(command))
            action->setEnabled(on);
    };
    enable(Ids::kCmdInsertKey, true);
    enable(Ids::kCmdCopyKey, enabled.copyKey);
    enable(Ids::kCmdSingle, enabled.single);
    enable(Ids::kCmdToRight, enabled.toRight);
    enable(Ids::kCmdToDown, enabled.toDown);
    enable(Ids::kCmdQuad, enabled.quad);
    enable(Ids::kCmdClearKey, enabled.clearKey);
    enable(Ids::kCmdClearAll, enabled.clearAll);
    menu_->popup(globalPos);
}
