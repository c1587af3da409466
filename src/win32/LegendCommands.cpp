#include "win32/LegendCommands.h"

#include "win32/CProgrammerDlg.h"

namespace win32 {

// Printing and exporting are not on Windows yet: the commands do nothing.
void PrintLegendSheets(CProgrammerDlg&) {}
void ExportLegendSheets(CProgrammerDlg&) {}

} // namespace win32
