#include "qt/app/UndoHistory.h"

#include "qt/platform/Resources.h"

#include <QUndoCommand>

using zr4700::Document;
using zr4700::EditKind;
using zr4700::EditRecord;

// One edit: the document already holds its after side when it is pushed.
class EditStep final : public QUndoCommand {
  public:
    EditStep(UndoHistory& history, const EditRecord& record) : history_(history), record_(record) {
        setText(UndoHistory::StepName(record_));
    }

    void undo() override { Apply(Document::Side::Before); }
    void redo() override {
        // The first redo is the push: the edit is done already.
        if (pushed_) {
            pushed_ = false;
            return;
        }
        Apply(Document::Side::After);
    }
    // Typing into one field of one key, character by character, is one step.
    int id() const override {
        return record_.kind == EditKind::KeyName || record_.kind == EditKind::Rfid ? 1 : -1;
    }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const EditStep*>(other);
        if (!history_.mergeOpen() || next->record_.kind != record_.kind ||
            next->record_.key != record_.key)
            return false;
        record_ = zr4700::MergeEdits(record_, next->record_);
        return true;
    }

  private:
    void Apply(Document::Side side) {
        history_.restoring_ = true;
        history_.document_.Restore(record_, side);
        history_.restoring_ = false;
        history_.EndMerging();
    }

    UndoHistory& history_;
    EditRecord record_;
    bool pushed_ = true;
};

UndoHistory::UndoHistory(Document& document, QObject* parent)
    : QObject(parent), document_(document) {
    stack_.setUndoLimit(kLimit);
    document_.SetRecorder(this);
    document_.AddObserver(this);
    // The saved step is the file: anywhere else in the history the layout differs from it.
    connect(&stack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if ((document_.layout().modified == 0) != clean)
            document_.SetModified(!clean);
    });
}

UndoHistory::~UndoHistory() {
    // Clearing the stack on its way out says it is clean: the document is not told.
    disconnect(&stack_, nullptr, this, nullptr);
    document_.SetRecorder(nullptr);
    document_.RemoveObserver(this);
}

QString UndoHistory::StepName(const EditRecord& record) {
    const char* key = "undo.edit";
    switch (record.kind) {
    case EditKind::KeyCodes:
        key = "undo.keyCodes";
        break;
    case EditKind::KeyName:
        key = "undo.keyName";
        break;
    case EditKind::SingleKey:
        key = "undo.singleKey";
        break;
    case EditKind::Mode:
        key = "undo.mode";
        break;
    case EditKind::ModeForAll:
        key = "undo.modeForAll";
        break;
    case EditKind::FlagForAll:
        key = "undo.flagForAll";
        break;
    case EditKind::ShapeSingle:
        key = "undo.shapeSingle";
        break;
    case EditKind::ShapeToRight:
        key = "undo.shapeToRight";
        break;
    case EditKind::ShapeToDown:
        key = "undo.shapeToDown";
        break;
    case EditKind::ShapeQuad:
        key = "undo.shapeQuad";
        break;
    case EditKind::CopyKey:
        key = "undo.copyKey";
        break;
    case EditKind::ClearKey:
        key = "undo.clearKey";
        break;
    case EditKind::ClearAll:
        key = "undo.clearAll";
        break;
    case EditKind::Settings:
        key = "undo.settings";
        break;
    case EditKind::Rfid:
        key = "undo.rfid";
        break;
    case EditKind::PasteKey:
        key = "undo.pasteKey";
        break;
    case EditKind::DeleteKey:
        key = "undo.deleteKey";
        break;
    }
    return Resources::String(key).replace(QLatin1String("%d"), QString::number(record.key));
}

void UndoHistory::EditRecorded(const EditRecord& record) {
    if (restoring_)
        return;
    stack_.push(new EditStep(*this, record));
    // A name or an RFID value being typed goes on merging into its step; any other edit ends
    // that.
    mergeOpen_ = record.kind == EditKind::KeyName || record.kind == EditKind::Rfid;
}

void UndoHistory::DocumentChanged(const zr4700::DocumentChange& change) {
    if (restoring_)
        return;
    if (change.whole) {
        // A new or loaded document starts a history of its own, saved where it starts.
        stack_.clear();
        mergeOpen_ = false;
        return;
    }
    if (change.fileState && document_.layout().modified == 0 && !stack_.isClean())
        stack_.setClean();
}
