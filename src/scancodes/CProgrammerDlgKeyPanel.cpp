// The main dialog's key panel: "<<" and ">>", the name field, "Single key", the modes, the two
// "X" buttons and the "Programmed keys:" combo box.
#include "app/CProgrammerDlg.h"

#include "app/DataExchange.h"
#include "app/NameText.h"
#include "layout/KeyGridWidget.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>

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
    const std::string name = text.toStdString();
    const QString kept = NameText(layout.panel.panelName);
    // The name field of a key holds 102 bytes: typing past it is refused, not cut. (A shorter
    // text is always taken: a name from an older single-byte file may be longer than that once
    // it is edited here, and deleting from it must still work.)
    if (name.size() > kMaxKeyNameLength && text.size() >= kept.size()) {
        // Put the caret back where the refused typing or paste began.
        const int caret = keyNameEdit->cursorPosition() - (text.size() - kept.size());
        Exchange::SetText(keyNameEdit, kept);
        keyNameEdit->setCursorPosition(std::clamp(caret, 0, static_cast<int>(kept.size())));
        return;
    }
    layout.KeyNameChanged(CutName(name, kMaxKeyNameLength));
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
