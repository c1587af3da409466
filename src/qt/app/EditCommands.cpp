#include "qt/app/EditCommands.h"

#include "qt/platform/NameText.h"
#include "qt/platform/Resources.h"
#include "qt/app/UndoHistory.h"
#include "core/scancodes/ScanCodeTables.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

EditCommands::EditCommands(zr4700::Document& document, QMenuBar* menuBar, QWidget* window)
    : QObject(window), document_(document) {
    history_ = new UndoHistory(document_, this);
    // Typing a name is one step per visit to the field: leaving it ends the step.
    connect(qApp, &QApplication::focusChanged, history_, [this] { history_->EndMerging(); });

    // Between File and Help.
    const QList<QAction*> top = menuBar->actions();
    QAction* help = top.size() > 2 ? top.at(2) : nullptr;
    menu_ = new QMenu(Resources::String("edit.menu"), menuBar);
    menu_->setObjectName(QStringLiteral("editMenu"));
    menuBar->insertMenu(help, menu_);
    const auto add = [this](const char* text, QList<QKeySequence> keys, auto slot) {
        QAction* action = menu_->addAction(Resources::String(text));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    undoAction_ = add("edit.undo", {QKeySequence::Undo}, &EditCommands::OnUndo);
    redoAction_ =
        add("edit.redo",
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
            &EditCommands::OnRedo);
    menu_->addSeparator();
    add("edit.copyKey", {QKeySequence(Qt::CTRL | Qt::Key_C)}, &EditCommands::OnCopyKey);
    pasteAction_ =
        add("edit.pasteKey", {QKeySequence(Qt::CTRL | Qt::Key_V)}, &EditCommands::OnPasteKey);
    add("edit.deleteKey", {QKeySequence(Qt::Key_Delete)}, &EditCommands::OnDeleteKey);
    QUndoStack& stack = history_->stack();
    connect(&stack, &QUndoStack::indexChanged, this, &EditCommands::Update);
    connect(&stack, &QUndoStack::cleanChanged, this, &EditCommands::Update);
    Update();
}

EditCommands::~EditCommands() {
    // The history refers to the document: it goes first, while the document is still there.
    delete history_;
    history_ = nullptr;
}

void EditCommands::Update() {
    if (!history_)
        return;
    QUndoStack& stack = history_->stack();
    undoAction_->setEnabled(stack.canUndo());
    undoAction_->setText(stack.canUndo() ? Resources::String("edit.undoStep").arg(stack.undoText())
                                         : Resources::String("edit.undo"));
    redoAction_->setEnabled(stack.canRedo());
    redoAction_->setText(stack.canRedo() ? Resources::String("edit.redoStep").arg(stack.redoText())
                                         : Resources::String("edit.redo"));
    pasteAction_->setEnabled(clip_.has_value());
}

void EditCommands::OnUndo() {
    history_->stack().undo();
    Update();
}

void EditCommands::OnRedo() {
    history_->stack().redo();
    Update();
}

void EditCommands::OnCopyKey() {
    const zr4700::Layout& layout = document_.layout();
    if (layout.currentKey < 1 || layout.currentKey > layout.keyCount)
        return;
    clip_ = document_.CopyCurrentKey();
    // A user can paste the key into a document too: its name and its codes' names.
    QStringList names;
    for (const std::string& name : zr4700::NamesOfCodes(clip_->codes)) {
        if (!name.empty())
            names << QString::fromStdString(name);
    }
    QApplication::clipboard()->setText(NameText(clip_->name) + QStringLiteral(": ") +
                                       names.join(QStringLiteral(", ")));
    Update();
}

void EditCommands::OnPasteKey() {
    if (clip_)
        document_.PasteKey(*clip_);
}

void EditCommands::OnDeleteKey() {
    document_.DeleteKey();
}
