// Placeholders for the file commands, recent files, help, About and programming, which are being
// written now; each will move to its own file.
#include "app/CProgrammerDlg.h"

bool CProgrammerDlg::OnFileNew() {
    ResetLayout();
    return true;
}
void CProgrammerDlg::OnFileOpen() {}
bool CProgrammerDlg::OnFileSave() { return true; }
bool CProgrammerDlg::OnFileSaveAs() { return true; }
void CProgrammerDlg::LoadCurrentFile() {}
bool CProgrammerDlg::WriteLayoutFile(int) { return false; }
void CProgrammerDlg::ReadLayoutFile() {}
void CProgrammerDlg::RebuildRecentFileMenu() {}
void CProgrammerDlg::PushRecentFile() {}
void CProgrammerDlg::OpenRecentFile(int) {}
void CProgrammerDlg::OnHelpContent() {}
void CProgrammerDlg::OnAbout() {}
void CProgrammerDlg::OnProgramming() {}
