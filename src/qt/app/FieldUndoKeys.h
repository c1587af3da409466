#pragma once
// Undo and Redo keys in the window's text fields ("Key name", the RFID values). A line edit
// claims Ctrl+Z for its own undo even when it has nothing to take back, and on this desktop
// leaves Ctrl+Y to the window: the two directions went different ways. Here the core's one rule
// decides for both: the field's own undo or redo while it has something to take back or do again,
// else the window's Undo or Redo of the document's history. The field's own history covers only
// the typing of the present visit, which the document holds as one step: entering the field
// again, or stepping the document's history, forgets it, so that it never does again what the
// document has gone past.

#include "core/document/FieldUndo.h"

#include <QObject>

#include <initializer_list>
#include <optional>
#include <vector>

class CommandActions;
class QKeyEvent;
class QLineEdit;

class FieldUndoKeys : public QObject {
    Q_OBJECT

  public:
    FieldUndoKeys(CommandActions& actions, std::initializer_list<QLineEdit*> fields,
                  QObject* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Which of the window's Undo or Redo shortcuts the key is, if any.
    std::optional<zr4700::UndoRequest> RequestOf(const QKeyEvent& key) const;
    static void ForgetOwnHistory(QLineEdit* field);

    CommandActions& actions_;
    std::vector<QLineEdit*> fields_;
};
