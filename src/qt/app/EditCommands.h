#pragma once
// The Edit menu: Undo and Redo on the document's history, and the grid's own clipboard (Copy
// key, Paste key, Delete key). Undo and Redo name the step they would take and are disabled when
// there is none.

#include "core/document/Document.h"

#include <QObject>

#include <optional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class UndoHistory;

class EditCommands : public QObject {
    Q_OBJECT

  public:
    // Puts the menu between File and Help of the menu bar.
    EditCommands(zr4700::Document& document, QMenuBar* menuBar, QWidget* window);
    ~EditCommands() override;

    QMenu* menu() const { return menu_; }
    UndoHistory* history() const { return history_; }

    void OnUndo();
    void OnRedo();
    void OnCopyKey();
    void OnPasteKey();
    void OnDeleteKey();

  private:
    void Update();

    zr4700::Document& document_;
    UndoHistory* history_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    std::optional<zr4700::KeyClip> clip_;
};
