#pragma once
// The key panel of the main window (controls of template 102): "Single key" and the group flag,
// the three modes, both "X" (set for all keys) buttons, "Programmed keys:", and the "Key" group
// with the key number, the name, the 16 code fields and "<<" / ">>". It shows the document's panel
// values and turns the user's actions on those controls into document edits.

#include "core/document/Document.h"

#include <windows.h>

namespace win32 {

class KeyPanelControls {
  public:
    explicit KeyPanelControls(zr4700::Document& document) : document_(document) {}

    void Attach(HWND dialog);
    void Detach() { dialog_ = nullptr; }
    // The panel's values into the controls (what showing another key changes).
    void TransferToControls();
    // The combo box's items and selection from the document.
    void TransferProgrammedKeys();
    // A control's notification; true when it was the panel's.
    bool OnCommand(int id, int notification);

  private:
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    void OnKeyNameChanged();

    zr4700::Document& document_;
    HWND dialog_ = nullptr;
    int exchangeDepth_ = 0;
};

} // namespace win32
