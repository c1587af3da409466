#include "win32/Dialog.h"

#include "win32/Resources.h"

namespace win32 {

Dialog::~Dialog() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

HWND Dialog::Create(HWND owner) {
    if (hwnd_)
        return hwnd_;
    const DLGTEMPLATE* dialogTemplate = Resources::DialogTemplate(templateId_);
    if (!dialogTemplate)
        return nullptr;
    ended_ = false;
    // The template may come from a resource library loaded as data; the windows belong to the
    // program itself.
    CreateDialogIndirectParamW(Resources::ProgramModule(), dialogTemplate, owner, DialogProcedure,
                               reinterpret_cast<LPARAM>(this));
    return hwnd_;
}

INT_PTR Dialog::RunModal(HWND owner) {
    if (!Create(owner))
        return -1;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    if (!ended_)
        ShowWindow(hwnd_, SW_SHOW);
    MSG message;
    while (!ended_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(message) || IsDialogMessageOfAnyDialog(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The owner is enabled before this window goes, so that the owner gets the activation.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (hwnd_)
        DestroyWindow(hwnd_);
    return result_;
}

void Dialog::End(INT_PTR result) {
    result_ = result;
    ended_ = true;
    // Wakes a modal loop waiting for a message.
    if (hwnd_)
        PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool Dialog::IsDialogMessageOfAnyDialog(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (!root || GetWindowLongPtrW(root, DWLP_DLGPROC) !=
                     reinterpret_cast<LONG_PTR>(&Dialog::DialogProcedure))
        return false;
    return IsDialogMessageW(root, &message) != FALSE;
}

bool Dialog::PreTranslateMessage(MSG&) {
    return false;
}

bool Dialog::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK Dialog::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->hwnd_ = window;
    }
    if (!dialog)
        return FALSE;
    const INT_PTR handled = dialog->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        dialog->hwnd_ = nullptr;
        SetWindowLongPtrW(window, DWLP_USER, 0);
    }
    return handled;
}

} // namespace win32
