#pragma once
// The key popup (menu 137): "Insert key", the cell shapes, "Copy key", "Clear Key" and
// "Clear All", enabled by the popup's rules for the key it opens on.

#include "core/model/Layout.h"

#include <QObject>
#include <QPoint>

#include <functional>

class QAction;
class QMenu;
class QWidget;

class KeyPopupMenu : public QObject {
    Q_OBJECT

  public:
    // Choosing an item calls the handler with its command id.
    KeyPopupMenu(QWidget* parent, std::function<void(int command)> handler);

    QMenu* menu() const { return menu_; }
    QAction* Action(int command) const;
    // Enables the items for a key and opens the menu at a screen position.
    void PopupAt(const zr4700::Layout::PopupState& enabled, const QPoint& globalPos);
    // Whether the popup's rules allow a command on a key (for a command that comes by its
    // shortcut, without the menu open).
    static bool Allows(const zr4700::Layout::PopupState& enabled, int command);
    // Makes the items' shortcuts work in a window while the menu is closed.
    void AddShortcutsTo(QWidget* window);

  private:
    QMenu* menu_ = nullptr;
};
