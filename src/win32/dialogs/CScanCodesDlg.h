#pragma once
// "Edit scan codes" (template 103): the 16 codes of a key typed as decimal numbers 0..255. A
// number above 255 or an emptied field is answered with its message at once, and the field
// shows its previous value again.

#include "core/scancodes/EditedCodeFields.h"
#include "win32/Dialog.h"

namespace win32 {

class CScanCodesDlg final : public Dialog {
  public:
    static constexpr int kTemplateId = 103;

    CScanCodesDlg() : Dialog(kTemplateId) {}

    // Slot 1 first. Set before running the dialog; read after it ended with OK.
    zr4700::EditedCodes editCodes{};

    // The edit of slot 1..16; nullptr for any other slot.
    HWND CodeField(int slot) const;
    void TransferToControls();
    bool ReadControls();

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notification, HWND control) override;
    void OnOK() override;

  private:
    void OnCodeChanged(int slot);
    zr4700::EditedCodeTexts FieldTexts() const;
    bool Report(const zr4700::EditedCodesRead& read);

    int exchangeDepth_ = 0;
};

} // namespace win32
