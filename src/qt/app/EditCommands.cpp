#include "qt/app/EditCommands.h"

#include "qt/app/CommandActions.h"
#include "qt/platform/Resources.h"

#include <QMenu>
#include <QMenuBar>

EditCommands::EditCommands(CommandActions& actions, QMenuBar* menuBar) : QObject(menuBar) {
    // Between File and Help.
    const QList<QAction*> top = menuBar->actions();
    QAction* help = top.size() > 2 ? top.at(2) : nullptr;
    menu_ = new QMenu(Resources::String("edit.menu"), menuBar);
    menu_->setObjectName(QStringLiteral("editMenu"));
    menuBar->insertMenu(help, menu_);
    menu_->addAction(actions.Action(zr4700::kCmdUndo));
    menu_->addAction(actions.Action(zr4700::kCmdRedo));
    menu_->addSeparator();
    menu_->addAction(actions.Action(zr4700::kCmdCopyToClipboard));
    menu_->addAction(actions.Action(zr4700::kCmdPasteFromClipboard));
    menu_->addAction(actions.Action(zr4700::kCmdDeleteKey));
}
