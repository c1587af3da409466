#include "win32/panel/ControlText.h"

#include <vector>

namespace win32 {

std::wstring ControlText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
    GetWindowTextW(control, text.data(), length + 1);
    return text.data();
}

void SetControlText(HWND control, const std::wstring& text) {
    if (control && ControlText(control) != text)
        SetWindowTextW(control, text.c_str());
}

void SetControlNumber(HWND control, long long number) {
    SetControlText(control, std::to_wstring(number));
}

void SetChecked(HWND control, bool checked) {
    const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
    if (control && static_cast<WPARAM>(SendMessageW(control, BM_GETCHECK, 0, 0)) != state)
        SendMessageW(control, BM_SETCHECK, state, 0);
}

bool IsChecked(HWND control) {
    return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace win32
