// The main dialog's key panel: "<<" and ">>", the name field, "Single key", the modes, the two
// "X" buttons and the "Programmed keys:" combo box.
#include "app/CProgrammerDlg.h"

#include "layout/KeyGridWidget.h"

#include <QCheckBox>

using namespace zr4700;

void CProgrammerDlg::OnPreviousKey() {
    layout.OnPreviousKey();
}

void CProgrammerDlg::OnNextKey() {
    layout.OnNextKey();
}

void CProgrammerDlg::OnKeyNameChanged(const QString& text) {
    if (exchangeDepth_ > 0)
        return;
    layout.KeyNameChanged(text.toStdString());
}

void CProgrammerDlg::OnSingleKey() {
    if (exchangeDepth_ > 0)
        return;
    layout.SingleKeyChanged(singleKeyButton->isChecked());
}

void CProgrammerDlg::OnMode(int mode) {
    if (exchangeDepth_ > 0)
        return;
    layout.panel.panelMode = mode;
    layout.SetMode(mode);
}

void CProgrammerDlg::OnSetModeForAll() {
    layout.OnSetModeForAll();
}

void CProgrammerDlg::OnSetFlagForAll() {
    layout.OnSetFlagForAll(singleKeyButton->isChecked());
}

void CProgrammerDlg::OnProgrammedKeySelected(int position) {
    if (exchangeDepth_ > 0)
        return;
    layout.OnProgrammedKeySelected(position);
    grid_->update();
}
