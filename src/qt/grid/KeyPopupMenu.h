#pragma once
// The key popup (menu 137): "Insert key", the cell shapes, "Copy key", "Clear Key" and
// "Clear All". Its items are the window's own actions of those commands, so the popup and the
// shortcuts always agree on what is enabled for the current key.

#include "qt/app/MenuBuilder.h"

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWidget;

class KeyPopupMenu : public QObject {
    Q_OBJECT

  public:
    KeyPopupMenu(QWidget* parent, const ActionProvider& actionFor);

    QMenu* menu() const { return menu_; }
    QAction* Action(int command) const;
    void PopupAt(const QPoint& globalPos);

  private:
    QMenu* menu_ = nullptr;
};
