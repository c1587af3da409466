#pragma once
// The main window's legend commands: the key legends printed, or exported as SVG drawings.

namespace win32 {

class CProgrammerDlg;

void PrintLegendSheets(CProgrammerDlg& window);
void ExportLegendSheets(CProgrammerDlg& window);

} // namespace win32
