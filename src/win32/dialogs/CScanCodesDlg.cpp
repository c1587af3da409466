#include "win32/dialogs/CScanCodesDlg.h"

#include "win32/WideText.h"
#include "win32/dialogs/DialogFields.h"

#include <array>

namespace win32 {
namespace {

// Edit ids of slots 1..16: four columns of four, top to bottom.
constexpr std::array<int, zr4700::kCodeSlots> kFieldIds = {
    1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1067, 1069, 1070, 1071, 1072, 1073, 1074,
};

int SlotOfField(int id) {
    for (std::size_t i = 0; i < kFieldIds.size(); ++i) {
        if (kFieldIds[i] == id)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

} // namespace

HWND CScanCodesDlg::CodeField(int slot) const {
    if (slot < 1 || slot > zr4700::kCodeSlots)
        return nullptr;
    return Control(kFieldIds[static_cast<std::size_t>(slot - 1)]);
}

BOOL CScanCodesDlg::OnInitDialog() {
    TransferToControls();
    // The focus starts in slot 1 with its text selected, ready to be typed over.
    SetFocus(CodeField(1));
    SendMessageW(CodeField(1), EM_SETSEL, 0, -1);
    return FALSE;
}

void CScanCodesDlg::TransferToControls() {
    const ExchangeGuard guard(exchangeDepth_);
    for (const int slot : zr4700::kEditedCodeOrder)
        SetControlNumber(CodeField(slot), editCodes[static_cast<std::size_t>(slot - 1)]);
}

zr4700::EditedCodeTexts CScanCodesDlg::FieldTexts() const {
    zr4700::EditedCodeTexts texts;
    for (int slot = 1; slot <= zr4700::kCodeSlots; ++slot)
        texts[static_cast<std::size_t>(slot - 1)] = Narrow(ControlText(CodeField(slot)));
    return texts;
}

bool CScanCodesDlg::Report(const zr4700::EditedCodesRead& read) {
    const ExchangeGuard guard(exchangeDepth_);
    return read.failedSlot == 0 ||
           CheckFieldNumber(hwnd(), CodeField(read.failedSlot), read.refusal);
}

bool CScanCodesDlg::ReadControls() {
    return Report(zr4700::ReadEditedCodeTexts(FieldTexts(), editCodes));
}

void CScanCodesDlg::OnCodeChanged(int slot) {
    if (exchangeDepth_ > 0)
        return;
    // A failure has shown its message; the fields are put right below either way.
    Report(zr4700::OnEditedCodeChanged(slot, FieldTexts(), editCodes));
    TransferToControls();
}

bool CScanCodesDlg::OnCommand(int id, int notification, HWND control) {
    if (notification == EN_CHANGE) {
        if (const int slot = SlotOfField(id)) {
            OnCodeChanged(slot);
            return true;
        }
    }
    return Dialog::OnCommand(id, notification, control);
}

void CScanCodesDlg::OnOK() {
    if (ReadControls())
        End(IDOK);
}

} // namespace win32
