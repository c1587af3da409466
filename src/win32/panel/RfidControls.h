#pragma once
// The RFID group of the main window (controls of template 102): prefix and suffix with their
// "Extended" boxes, the digits count with its spin, and "Digits type - NUM". A valid value reaches
// the document as it is typed; a bad prefix or suffix is reported once, when the field is left,
// and the document keeps its last valid value.

#include "core/document/Document.h"

#include <windows.h>

#include <cstdint>

namespace win32 {

class RfidControls {
  public:
    explicit RfidControls(zr4700::Document& document) : document_(document) {}

    void Attach(HWND dialog);
    // The window is going: its fields losing the focus as they are destroyed are no visit to
    // check.
    void Detach() { dialog_ = nullptr; }
    void TransferToControls();
    // Every field's value into the document; false (after the message) at the first bad one.
    bool ReadControls();
    // A control's notification; true when it was the group's.
    bool OnCommand(int id, int notification);
    // The spin moved (WM_VSCROLL from it).
    bool OnScroll(HWND control);

  private:
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    void Set(const zr4700::RfidSettings& rfid);
    void TakeByte(int id, uint8_t zr4700::RfidSettings::*member);
    // false (after the message, with the field focused and selected) when the field holds no
    // number from 0 to 255.
    bool ReadByte(int id, uint8_t& value);

    zr4700::Document& document_;
    HWND dialog_ = nullptr;
    int exchangeDepth_ = 0;
    bool validating_ = false;
};

} // namespace win32
