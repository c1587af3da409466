#include "qt/app/MenuBuilder.h"

#include <QJsonObject>
#include <QMenuBar>

namespace {

QAction* makeCommand(QWidget* owner, const QString& text, int command,
                     const CommandHandler& handler) {
    auto* action = new QAction(text, owner);
    action->setData(command);
    action->setObjectName(QString::number(command));
    QObject::connect(action, &QAction::triggered, owner, [handler, command] {
        if (handler)
            handler(command);
    });
    return action;
}

} // namespace

void AppendMenuItems(QWidget* menu, const QJsonArray& items, const CommandHandler& handler) {
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const QString text = item.value("text").toString();
        if (item.value("separator").toBool()) {
            auto* separator = new QAction(menu);
            separator->setSeparator(true);
            menu->addAction(separator);
        } else if (item.contains("items")) {
            auto* submenu = new QMenu(text, menu);
            AppendMenuItems(submenu, item.value("items").toArray(), handler);
            menu->addAction(submenu->menuAction());
        } else {
            menu->addAction(makeCommand(menu, text, item.value("id").toInt(), handler));
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

QAction* InsertCommand(QMenu* menu, QAction* before, const QString& text, int command,
                       const CommandHandler& handler) {
    QAction* action = makeCommand(menu, text, command, handler);
    menu->insertAction(before, action);
    return action;
}
