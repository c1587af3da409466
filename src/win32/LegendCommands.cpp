#include "win32/LegendCommands.h"

#include "win32/CProgrammerDlg.h"
#include "win32/LegendPrinting.h"

namespace win32 {

// The sheet's default options: pitch, margin, programmed keys only, as on the keyboard.
void PrintLegendSheets(CProgrammerDlg& window) {
    const zr4700::Layout& layout = window.document().layout();
    LegendPrinting::Print(window.hwnd(), layout, LegendPrinting::DefaultOptions(layout));
}

void ExportLegendSheets(CProgrammerDlg& window) {
    const zr4700::Layout& layout = window.document().layout();
    LegendPrinting::Export(window.hwnd(), layout, LegendPrinting::DefaultOptions(layout));
}

} // namespace win32
