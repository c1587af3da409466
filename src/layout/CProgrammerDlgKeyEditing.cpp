// The main dialog's key editing commands: the key popup menu, programming a key through the
// capture dialog, the cell shapes, "Copy key", "Clear Key" and "Clear All".
#include "app/CProgrammerDlg.h"

#include "app/DialogUnits.h"
#include "app/Prompts.h"
#include "layout/GridGeometry.h"
#include "layout/KeyGridWidget.h"
#include "scancodes/CCaptureDlg.h"

#include <QAction>
#include <QMenu>

using namespace zr4700;

void CProgrammerDlg::OnGridDoubleClick(int x, int y) {
    if (!IsOnGrid(x, y, layout.keyCount))
        return;
    layout.currentKey = KeyFromPoint(x, y);
    layout.SelectKey(layout.currentKey);
    EditKeyCodes();
}

void CProgrammerDlg::OnGridContextMenu(const QPoint& globalPos) {
    // The platform's own screen-to-client mapping finds the key under the pointer whatever the
    // window frame looks like.
    const QPoint client = grid_->mapFromGlobal(globalPos);
    if (!IsOnGrid(client.x(), client.y(), layout.keyCount) || !keyPopup_)
        return;
    layout.currentKey = KeyFromPoint(client.x(), client.y());
    const int k = layout.currentKey;
    const Layout::PopupState enabled = layout.PopupStateFor(k);
    const auto enable = [this](int command, bool on) {
        if (QAction* action = KeyPopupAction(command))
            action->setEnabled(on);
    };
    enable(kCmdInsertKey, true);
    enable(kCmdCopyKey, enabled.copyKey);
    enable(kCmdSingle, enabled.single);
    enable(kCmdToRight, enabled.toRight);
    enable(kCmdToDown, enabled.toDown);
    enable(kCmdQuad, enabled.quad);
    enable(kCmdClearKey, enabled.clearKey);
    enable(kCmdClearAll, enabled.clearAll);
    layout.SelectKey(k);
    keyPopup_->popup(globalPos);
}

void CProgrammerDlg::EditKeyCodes() {
    const int k = layout.currentKey;
    // With no key selected (a list entry that no key carries was chosen) there is nothing to edit.
    if (k < 1 || k > layout.keyCount || !theCaptureDlg)
        return;
    layout.editingKeyCodes = 1;
    CCaptureDlg& dialog = *theCaptureDlg;
    dialog.codeSlots = layout.key(k).codes;
    dialog.codeNames = layout.panel.panelCodeNames;
    // The same place for every key, so its buttons are where the user last found them.
    CentreOver(&dialog, this);
    if (dialog.exec() == QDialog::Accepted)
        layout.ApplyCapturedCodes(dialog.codeSlots, dialog.codeNames, Prompts::Instance());
    layout.SelectKey(k);
    layout.editingKeyCodes = 0;
    grid_->update();
}

void CProgrammerDlg::OnInsertKey() {
    layout.SelectKey(layout.currentKey);
    EditKeyCodes();
}

void CProgrammerDlg::OnShapeCommand(int command) {
    switch (command) {
    case kCmdSingle:
        layout.SplitCell(false);
        break;
    case kCmdToRight:
        layout.FormDoubleRight();
        break;
    case kCmdToDown:
        layout.FormDoubleDown();
        break;
    case kCmdQuad:
        layout.FormQuad();
        break;
    default:
        break;
    }
    grid_->update();
}

void CProgrammerDlg::OnCopyKey() {
    layout.CopyKey(Prompts::Instance());
    grid_->update();
}

void CProgrammerDlg::OnClearKey() {
    layout.ClearKey(Prompts::Instance());
    grid_->update();
}

void CProgrammerDlg::OnClearAll() {
    layout.ClearAll(Prompts::Instance());
    grid_->update();
}
