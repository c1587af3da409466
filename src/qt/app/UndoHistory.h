#pragma once
// The undo history of the main window: every edit the document records becomes one step of a
// QUndoStack, which puts either side of the record back through the document. The stack's clean
// state is the file on disk, so `modified` follows it: undoing back to the saved step makes the
// layout unmodified again. New, Open and every load start an empty history.

#include "core/document/Document.h"

#include <QObject>
#include <QUndoStack>

class UndoHistory : public QObject, public zr4700::EditRecorder, public zr4700::DocumentObserver {
    Q_OBJECT

  public:
    static constexpr int kLimit = 500;

    UndoHistory(zr4700::Document& document, QObject* parent);
    ~UndoHistory() override;

    QUndoStack& stack() { return stack_; }
    // The next edit starts a step of its own, even one of the same kind on the same key (the
    // user has left the name field, say).
    void EndMerging() { mergeOpen_ = false; }
    bool mergeOpen() const { return mergeOpen_; }
    // The step's name as the Edit menu shows it ("Program key 10", "Clear all keys").
    static QString StepName(const zr4700::EditRecord& record);

    void EditRecorded(const zr4700::EditRecord& record) override;
    void DocumentChanged(const zr4700::DocumentChange& change) override;

  private:
    friend class EditStep;
    zr4700::Document& document_;
    QUndoStack stack_;
    bool mergeOpen_ = false;
    bool restoring_ = false;
};
