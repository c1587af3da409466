#include "win32/dialogs/DialogFields.h"

#include "win32/MessageBoxes.h"
#include "win32/RegistryRecentFiles.h"
#include "win32/Resources.h"

namespace win32 {

int RadioIndex(HWND dialog, std::span<const int> ids) {
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (IsDlgButtonChecked(dialog, ids[i]) == BST_CHECKED)
            return static_cast<int>(i);
    }
    return -1;
}

void SetRadioIndex(HWND dialog, std::span<const int> ids, int index) {
    for (std::size_t i = 0; i < ids.size(); ++i)
        CheckDlgButton(dialog, ids[i], static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED);
}

bool CheckFieldNumber(HWND dialog, HWND field, const zr4700::TypedNumber& number) {
    if (number.ok)
        return true;
    // The standard validation box: the program's name as its caption, the exclamation icon.
    MessageBoxes::Show(dialog, Resources::Format(number.messageId, number.args), ApplicationName(),
                       MB_OK | MB_ICONEXCLAMATION);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return false;
}

} // namespace win32
