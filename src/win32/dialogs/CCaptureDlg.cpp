#include "win32/dialogs/CCaptureDlg.h"

#include "core/document/UserPrompts.h"
#include "win32/Resources.h"
#include "win32/WideText.h"
#include "win32/dialogs/CScanCodesDlg.h"
#include "win32/dialogs/DialogFields.h"

#include <commctrl.h>

#include <array>

namespace win32 {
namespace {

// Code field ids of slots 1..16 (left half 1..8, right half 9..16); name fields 1003..1018.
constexpr std::array<int, zr4700::kCodeSlots> kCodeFieldIds = {
    1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1067, 1069, 1070, 1071, 1072, 1073, 1074,
};
constexpr int kFirstNameFieldId = 1003;
constexpr UINT_PTR kSubclassId = 1;

bool IsSlotField(int id) {
    if (id >= kFirstNameFieldId && id < kFirstNameFieldId + zr4700::kCodeSlots)
        return true;
    for (const int codeId : kCodeFieldIds) {
        if (codeId == id)
            return true;
    }
    return false;
}

} // namespace

HWND CCaptureDlg::CodeField(int slot) const {
    if (slot < 1 || slot > zr4700::kCodeSlots)
        return nullptr;
    return Control(kCodeFieldIds[static_cast<std::size_t>(slot - 1)]);
}

HWND CCaptureDlg::NameField(int slot) const {
    if (slot < 1 || slot > zr4700::kCodeSlots)
        return nullptr;
    return Control(kFirstNameFieldId + slot - 1);
}

BOOL CCaptureDlg::OnInitDialog() {
    SetWindowTextW(hwnd(), Resources::String(zr4700::kStrCaptureTitle).c_str());
    TransferToControls();
    SetWindowSubclass(CaptureEdit(), CaptureEditProcedure, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
    // Capturing starts again at slot 1, over the codes the caller put in.
    nextSlot = 1;
    FocusCaptureEdit();
    return FALSE;
}

void CCaptureDlg::TransferToControls() {
    for (int slot = 1; slot <= zr4700::kCodeSlots; ++slot) {
        const std::size_t i = static_cast<std::size_t>(slot - 1);
        SetControlNumber(CodeField(slot), static_cast<std::uint32_t>(codeSlots[i]));
        SetControlText(NameField(slot), Widen(codeNames[i]));
    }
}

void CCaptureDlg::ReadControls() {
    // The fields are read-only and always show numbers 0..255 that this dialog wrote.
    for (int slot = 1; slot <= zr4700::kCodeSlots; ++slot) {
        const std::size_t i = static_cast<std::size_t>(slot - 1);
        const zr4700::TypedNumber code =
            zr4700::ReadUnsignedText(Narrow(ControlText(CodeField(slot))), 0, 255);
        if (code.ok)
            codeSlots[i] = static_cast<std::int32_t>(code.value);
        codeNames[i] = Narrow(ControlText(NameField(slot)));
    }
}

void CCaptureDlg::OnKeyStroke(const zr4700::KeyStroke& stroke) {
    Capture(stroke.virtualKey, stroke.scanCode, stroke.extended);
    TransferToControls();
}

void CCaptureDlg::FocusCaptureEdit() {
    SetFocus(CaptureEdit());
}

void CCaptureDlg::OnBack() {
    Back();
    TransferToControls();
    FocusCaptureEdit();
}

void CCaptureDlg::OnClearAll() {
    ClearAll();
    TransferToControls();
    FocusCaptureEdit();
}

void CCaptureDlg::OnEditCodes() {
    CScanCodesDlg editDialog;
    editDialog.editCodes = CodesForEditing();
    if (editDialog.RunModal(hwnd()) == IDOK) {
        ApplyEditedCodes(editDialog.editCodes);
        TransferToControls();
    }
    FocusCaptureEdit();
}

bool CCaptureDlg::OnCommand(int id, int notification, HWND control) {
    if (notification == EN_SETFOCUS && IsSlotField(id)) {
        // A click on a field never leaves the caret there: the strokes keep reaching the edit.
        FocusCaptureEdit();
        return true;
    }
    if (notification != BN_CLICKED)
        return Dialog::OnCommand(id, notification, control);
    switch (id) {
    case kOkId:
        ReadControls();
        End(IDOK);
        return true;
    case kCancelId:
        End(IDCANCEL);
        return true;
    case kBackId:
        OnBack();
        return true;
    case kClearAllId:
        OnClearAll();
        return true;
    case kEditId:
        OnEditCodes();
        return true;
    default:
        return Dialog::OnCommand(id, notification, control);
    }
}

LRESULT CALLBACK CCaptureDlg::CaptureEditProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* dialog = reinterpret_cast<CCaptureDlg*>(data);
    switch (message) {
    case WM_GETDLGCODE:
        // Every key is a stroke to capture: none moves the focus or presses a button.
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // The edit's own handling is not done: no caret moves, and Alt+F4 closes nothing.
        dialog->OnKeyStroke(zr4700::KeyStrokeFromKeyData(static_cast<std::uint32_t>(wParam),
                                                         static_cast<std::uint32_t>(lParam)));
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        // Nothing is typed into the edit, and a released Alt or F10 opens no menu.
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, CaptureEditProcedure, kSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

bool CaptureKeyCodes(HWND owner, zr4700::KeyCodes& codes, zr4700::CodeNames& names) {
    CCaptureDlg dialog;
    dialog.codeSlots = codes;
    dialog.codeNames = names;
    if (dialog.RunModal(owner) != IDOK)
        return false;
    codes = dialog.codeSlots;
    names = dialog.codeNames;
    return true;
}

} // namespace win32
