#pragma once
// Builds Qt menus from the menu resources. Each item is the action the provider gives for its
// command id (the window's action of that command, with the item's text); an id the provider
// has no action for becomes an item of its own that does nothing.

#include <QJsonArray>
#include <QMenu>

#include <functional>

using ActionProvider = std::function<QAction*(int command, const QString& text)>;

// Appends the items of a resource menu to a menu (or a menu bar's top level).
void AppendMenuItems(QWidget* menu, const QJsonArray& items, const ActionProvider& actionFor);
// The action with a command id, searched through submenus; null if none.
QAction* FindCommand(const QWidget* menu, int command);
