#include "win32/LegendCommands.h"

#include "win32/CProgrammerDlg.h"
#include "win32/LegendOptionsDlg.h"
#include "win32/LegendPrinting.h"

namespace win32 {

namespace {

// The default options for the layout, as the user changes them in the options dialog; none
// when the user cancelled it.
std::optional<zr4700::LegendOptions> AskOptions(CProgrammerDlg& window) {
    zr4700::LegendOptions options = LegendPrinting::DefaultOptions(window.document().layout());
    if (!LegendOptionsDlg::Ask(window.hwnd(), options))
        return std::nullopt;
    return options;
}

} // namespace

void PrintLegendSheets(CProgrammerDlg& window) {
    if (const auto options = AskOptions(window))
        LegendPrinting::Print(window.hwnd(), window.document().layout(), *options);
}

void ExportLegendSheets(CProgrammerDlg& window) {
    if (const auto options = AskOptions(window))
        LegendPrinting::Export(window.hwnd(), window.document().layout(), *options);
}

} // namespace win32
