#include "qt/app/MenuBuilder.h"

#include <QJsonObject>
#include <QMenuBar>

void AppendMenuItems(QWidget* menu, const QJsonArray& items, const ActionProvider& actionFor) {
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const QString text = item.value("text").toString();
        if (item.value("separator").toBool()) {
            auto* separator = new QAction(menu);
            separator->setSeparator(true);
            menu->addAction(separator);
        } else if (item.contains("items")) {
            auto* submenu = new QMenu(text, menu);
            AppendMenuItems(submenu, item.value("items").toArray(), actionFor);
            menu->addAction(submenu->menuAction());
        } else {
            const int command = item.value("id").toInt();
            QAction* action = actionFor ? actionFor(command, text) : nullptr;
            if (!action) {
                action = new QAction(text, menu);
                action->setData(command);
                action->setObjectName(QString::number(command));
            }
            menu->addAction(action);
        }
    }
}

QAction* FindCommand(const QWidget* menu, int command) {
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* found = FindCommand(action->menu(), command))
                return found;
        } else if (!action->isSeparator() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}
