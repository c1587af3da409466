#include "win32/KeyboardCommands.h"

#include "win32/CProgrammerDlg.h"
#include "win32/dialogs/CCaptureDlg.h"
#include "win32/dialogs/CSettingsDlg.h"
#include "win32/programming/ProgrammingCommands.h"

namespace win32 {

void RunCaptureDialog(CProgrammerDlg& window) {
    zr4700::Document& document = window.document();
    const zr4700::Layout& layout = document.layout();
    const int k = layout.currentKey;
    // With no key selected (a list entry that no key carries was chosen) there is nothing to
    // edit; and one capture at a time.
    if (k < 1 || k > layout.keyCount || window.editingKeyCodes)
        return;
    window.editingKeyCodes = true;
    zr4700::KeyCodes codes = layout.key(k).codes;
    zr4700::CodeNames names = layout.panel.panelCodeNames;
    if (CaptureKeyCodes(window.hwnd(), codes, names))
        document.ApplyCapturedCodes(codes, names);
    document.SelectKey(k);
    window.editingKeyCodes = false;
}

void RunSettingsDialog(CProgrammerDlg& window) {
    OnSettings(window.hwnd(), window.document());
}

void RunProgramming(CProgrammerDlg& window) {
    window.programming().Program(window.hwnd());
}

void RunKeyboardDetection(CProgrammerDlg& window) {
    window.programming().DetectKeyboard(window.hwnd());
}

} // namespace win32
