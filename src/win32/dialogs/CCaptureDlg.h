#pragma once
// "Insert scan-codes by pressing key" (template 168): each key pressed on the PC keyboard becomes
// set-2 codes with names in the next free of 16 slots. The strokes reach a hidden edit (1056)
// that keeps the keyboard focus and wants every key, Tab, Enter and Escape included, so the
// dialog manager never turns one into a focus move or a button press. "OK" (1020) keeps the
// codes, "Cancel" (1066) leaves; "Back", "Clear All" and "Edit" work on the slots.

#include "core/scancodes/CaptureSlots.h"
#include "core/scancodes/KeyStroke.h"
#include "win32/Dialog.h"

namespace win32 {

class CCaptureDlg final : public Dialog, public zr4700::CaptureSlots {
  public:
    static constexpr int kTemplateId = 168;
    static constexpr int kCaptureEditId = 1056;
    static constexpr int kOkId = 1020;
    static constexpr int kBackId = 1068;
    static constexpr int kClearAllId = 1033;
    static constexpr int kEditId = 1034;
    static constexpr int kCancelId = 1066;

    CCaptureDlg() : Dialog(kTemplateId) {}

    // The code field and the name field of slot 1..16.
    HWND CodeField(int slot) const;
    HWND NameField(int slot) const;
    HWND CaptureEdit() const { return Control(kCaptureEditId); }

    void TransferToControls();
    void ReadControls();
    // One key-down of the PC keyboard, auto-repeats included.
    void OnKeyStroke(const zr4700::KeyStroke& stroke);

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notification, HWND control) override;
    // Accept and cancel reached through the dialog manager (Enter, Escape, the hidden buttons 1
    // and 2) rather than "OK" and "Cancel": the dialog stays open and nothing changes.
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void OnBack();
    void OnClearAll();
    void OnEditCodes();
    void FocusCaptureEdit();
    static LRESULT CALLBACK CaptureEditProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR id, DWORD_PTR data);
};

// Runs the capture dialog modally over owner on a key's codes and code names; true when the
// user left with "OK", and then codes and names hold what the dialog shows.
bool CaptureKeyCodes(HWND owner, zr4700::KeyCodes& codes, zr4700::CodeNames& names);

} // namespace win32
