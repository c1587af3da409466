#include "win32/KeyboardCommands.h"

#include "win32/CProgrammerDlg.h"

namespace win32 {

// The dialogs are not on Windows yet: the commands do nothing.
void RunCaptureDialog(CProgrammerDlg&) {}
void RunSettingsDialog(CProgrammerDlg&) {}
void RunProgramming(CProgrammerDlg&) {}
void RunKeyboardDetection(CProgrammerDlg&) {}

} // namespace win32
