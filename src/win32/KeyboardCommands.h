#pragma once
// The main window's commands that open the key and keyboard dialogs: the capture dialog on the
// current key, the keyboard settings, programming and detection.

namespace win32 {

class CProgrammerDlg;

void RunCaptureDialog(CProgrammerDlg& window);
void RunSettingsDialog(CProgrammerDlg& window);
void RunProgramming(CProgrammerDlg& window);
void RunKeyboardDetection(CProgrammerDlg& window);

} // namespace win32
