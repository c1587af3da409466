#pragma once
// The Edit menu: Undo and Redo on the document's history, and the grid's own clipboard (Copy
// key, Paste key, Delete key). Its items are the window's actions of those commands: Undo and
// Redo name the step they would take and are disabled when there is none.

#include <QObject>

class CommandActions;
class QMenu;
class QMenuBar;

class EditCommands : public QObject {
    Q_OBJECT

  public:
    // Puts the menu between File and Help of the menu bar.
    EditCommands(CommandActions& actions, QMenuBar* menuBar);

    QMenu* menu() const { return menu_; }

  private:
    QMenu* menu_ = nullptr;
};
