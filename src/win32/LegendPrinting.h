#pragma once
// The legend sheet on Windows: printed through the print dialog with GDI onto the printer's
// device context (so "Microsoft Print to PDF" gives a PDF), or exported as SVG drawings, one file
// a page, from the core's writer. Both draw the core's drawing of each page, as the Qt front end
// paints it.

#include "core/legend/LegendDrawing.h"
#include "core/model/Layout.h"

#include <windows.h>

#include <string>

namespace win32::LegendPrinting {

// The sheet's options for a layout: the default sizes, the paper of the user's locale (Letter
// where the US measurement system is used, else A4), and the footer (file name and date).
zr4700::LegendOptions DefaultOptions(const zr4700::Layout& layout);

// Draws one page of the sheet onto a device context whose origin is the paper's top-left corner,
// at dotsPerMm device units a millimetre across and down. Names are fitted with the device's own
// font metrics.
void PaintPage(HDC dc, const zr4700::LegendSheet& sheet, int pageIndex, double dotsPerMmX,
               double dotsPerMmY);

// The commands. Errors are shown in message boxes owned by owner.
void Print(HWND owner, const zr4700::Layout& layout, const zr4700::LegendOptions& options);
void Export(HWND owner, const zr4700::Layout& layout, const zr4700::LegendOptions& options);

} // namespace win32::LegendPrinting
