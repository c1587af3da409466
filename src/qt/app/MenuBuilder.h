#pragma once
// Builds Qt menus from the menu resources. Every item carries its command id (as the action's
// data and object name); choosing it calls the given handler with that id.

#include <QJsonArray>
#include <QMenu>

#include <functional>

using CommandHandler = std::function<void(int command)>;

// Appends the items of a resource menu to a menu (or a menu bar's top level).
void AppendMenuItems(QWidget* menu, const QJsonArray& items, const CommandHandler& handler);
// The action with a command id, searched through submenus; null if none.
QAction* FindCommand(const QWidget* menu, int command);
// Inserts a command item before another action.
QAction* InsertCommand(QMenu* menu, QAction* before, const QString& text, int command,
                       const CommandHandler& handler);
