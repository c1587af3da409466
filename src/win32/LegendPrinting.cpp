#include "win32/LegendPrinting.h"

#include "core/legend/LegendSvg.h"
#include "engine/AtomicFileWrite.h"
#include "win32/FileDialogs.h"
#include "win32/MessageBoxes.h"
#include "win32/Resources.h"
#include "win32/WideText.h"

#include <commdlg.h>

#include <cmath>
#include <cwctype>
#include <filesystem>
#include <map>
#include <vector>

namespace win32::LegendPrinting {

using namespace zr4700;

namespace {

constexpr int kErrorCaptionId = 32781;
constexpr int kUntitledId = 32788;
constexpr wchar_t kFaceName[] = L"Arial";

void ShowError(HWND owner, const std::wstring& text) {
    MessageBoxes::Show(owner, text, Resources::String(kErrorCaptionId), MB_OK | MB_ICONSTOP);
}

int DeviceUnits(double mm, double dotsPerMm) {
    return static_cast<int>(std::lround(mm * dotsPerMm));
}

RECT DeviceRect(const RectMm& r, double dotsX, double dotsY) {
    return {DeviceUnits(r.x, dotsX), DeviceUnits(r.y, dotsY), DeviceUnits(r.right(), dotsX),
            DeviceUnits(r.bottom(), dotsY)};
}

// The fonts of one drawing, one a size, made when first asked for and deleted with it.
class Fonts {
  public:
    Fonts(HDC dc, double dotsPerMmY) : dc_(dc), dotsY_(dotsPerMmY) {}
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    ~Fonts() {
        for (const auto& [height, font] : fonts_)
            DeleteObject(font);
    }
    // Selected into the device context; sizes are the em height in millimetres.
    void Select(double sizeMm) {
        const int height = std::max(1, DeviceUnits(sizeMm, dotsY_));
        HFONT& font = fonts_[height];
        if (!font)
            font = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               VARIABLE_PITCH | FF_SWISS, kFaceName);
        SelectObject(dc_, font);
    }

  private:
    HDC dc_;
    double dotsY_;
    std::map<int, HFONT> fonts_;
};

std::wstring FooterFor(const Layout& layout) {
    const std::wstring name =
        layout.fileName.empty()
            ? Resources::String(kUntitledId)
            : std::filesystem::path(Widen(layout.fileName)).filename().wstring();
    wchar_t date[80] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 80, nullptr);
    return Resources::Format("legend.footer", {Narrow(name), Narrow(date)});
}

bool UsesLetterPaper() {
    wchar_t measure[4] = {};
    // "1" is the US measurement system.
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IMEASURE, measure, 4) > 0 &&
           measure[0] == L'1';
}

LegendSheet SheetFor(const Layout& layout, LegendOptions options, double widthMm, double heightMm) {
    options.pageWidthMm = widthMm;
    options.pageHeightMm = heightMm;
    return ComputeLegendSheet(layout, options);
}

// The printer's paper in millimetres, and its printable area's offset from the paper's corner
// in device units.
struct Paper {
    double widthMm = 0, heightMm = 0;
    double dotsX = 0, dotsY = 0;
    POINT offset{};
};

Paper PaperOf(HDC dc) {
    Paper paper;
    paper.dotsX = GetDeviceCaps(dc, LOGPIXELSX) / 25.4;
    paper.dotsY = GetDeviceCaps(dc, LOGPIXELSY) / 25.4;
    paper.widthMm = GetDeviceCaps(dc, PHYSICALWIDTH) / paper.dotsX;
    paper.heightMm = GetDeviceCaps(dc, PHYSICALHEIGHT) / paper.dotsY;
    paper.offset = {GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY)};
    return paper;
}

// The print dialog: the chosen printer's device context and settings, or none when cancelled.
struct PrinterChoice {
    HDC dc = nullptr;
    HGLOBAL devMode = nullptr;
    HGLOBAL devNames = nullptr;
};

PrinterChoice ChoosePrinter(HWND owner) {
    PRINTDLGEXW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOCURRENTPAGE;
    dialog.nStartPage = START_PAGE_GENERAL;
    if (PrintDlgExW(&dialog) == S_OK) {
        if (dialog.dwResultAction == PD_RESULT_PRINT)
            return {dialog.hDC, dialog.hDevMode, dialog.hDevNames};
        if (dialog.hDC)
            DeleteDC(dialog.hDC);
        GlobalFree(dialog.hDevMode);
        GlobalFree(dialog.hDevNames);
        return {};
    }
    // Where the newer dialog is missing, the classic one.
    PRINTDLGW classic{};
    classic.lStructSize = sizeof classic;
    classic.hwndOwner = owner;
    classic.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    if (!PrintDlgW(&classic))
        return {};
    return {classic.hDC, classic.hDevMode, classic.hDevNames};
}

// Turns the printer's paper a quarter; false when the printer does not let it.
bool TurnPaper(HDC dc, HGLOBAL devModeHandle) {
    auto* devMode = devModeHandle ? static_cast<DEVMODEW*>(GlobalLock(devModeHandle)) : nullptr;
    if (!devMode)
        return false;
    devMode->dmFields |= DM_ORIENTATION;
    devMode->dmOrientation =
        devMode->dmOrientation == DMORIENT_LANDSCAPE ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    const bool reset = ResetDCW(dc, devMode) != nullptr;
    GlobalUnlock(devModeHandle);
    return reset;
}

bool HasSvgExtension(const std::filesystem::path& path) {
    std::wstring extension = path.extension().wstring();
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(std::towlower(c));
    return extension == L".svg";
}

} // namespace

LegendOptions DefaultOptions(const Layout& layout) {
    LegendOptions options;
    options.pageWidthMm = UsesLetterPaper() ? 215.9 : 210.0;
    options.pageHeightMm = UsesLetterPaper() ? 279.4 : 297.0;
    options.footer = Narrow(FooterFor(layout));
    return options;
}

void PaintPage(HDC dc, const LegendSheet& sheet, int pageIndex, double dotsX, double dotsY) {
    Fonts fonts(dc, dotsY);
    const TextMeasure measure = [&](std::string_view text, double sizeMm) {
        fonts.Select(sizeMm);
        const std::wstring wide = Widen(text);
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        return extent.cx / dotsX;
    };
    const std::string pageFormat = Resources::Utf8String("legend.page");
    const LegendDrawing drawing = DrawLegendPage(sheet, pageIndex, pageFormat, measure);

    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    // A faint outline shows each insert's edge; the cut marks say where to cut.
    const Rgb o = drawing.outlineColour;
    HPEN outline = CreatePen(PS_SOLID, std::max(1, DeviceUnits(drawing.outlineWidthMm, dotsX)),
                             RGB(o.r, o.g, o.b));
    SelectObject(dc, outline);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (const RectMm& r : drawing.outlines) {
        const RECT box = DeviceRect(r, dotsX, dotsY);
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
    }
    const LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
    HPEN mark =
        ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT,
                     std::max(1, DeviceUnits(drawing.cutMarkWidthMm, dotsX)), &black, 0, nullptr);
    SelectObject(dc, mark);
    for (const LineMm& l : drawing.cutMarks) {
        MoveToEx(dc, DeviceUnits(l.x1, dotsX), DeviceUnits(l.y1, dotsY), nullptr);
        LineTo(dc, DeviceUnits(l.x2, dotsX), DeviceUnits(l.y2, dotsY));
    }
    for (const PlacedText& t : drawing.texts) {
        fonts.Select(t.sizeMm);
        SetTextColor(dc, RGB(t.colour.r, t.colour.g, t.colour.b));
        RECT box = DeviceRect(t.box, dotsX, dotsY);
        std::wstring text = Widen(t.text);
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box,
                  DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX |
                      (t.centred ? DT_CENTER : DT_LEFT));
    }
    RestoreDC(dc, saved);
    DeleteObject(outline);
    DeleteObject(mark);
}

void Print(HWND owner, const Layout& layout, const LegendOptions& options) {
    if (ComputeLegendSheet(layout, options).capCount() == 0) {
        ShowError(owner, Resources::String("legend.noKeys"));
        return;
    }
    const PrinterChoice printer = ChoosePrinter(owner);
    if (!printer.dc)
        return;
    Paper paper = PaperOf(printer.dc);
    LegendSheet sheet = SheetFor(layout, options, paper.widthMm, paper.heightMm);
    // The sheet turns the page when only that fits the keyboard; the paper turns with it.
    if (sheet.turned && TurnPaper(printer.dc, printer.devMode)) {
        paper = PaperOf(printer.dc);
        sheet = SheetFor(layout, options, paper.widthMm, paper.heightMm);
    }
    const std::wstring title = Widen(sheet.options.footer);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    bool printed = StartDocW(printer.dc, &document) > 0;
    for (int page = 0; printed && page < static_cast<int>(sheet.pages.size()); ++page) {
        printed = StartPage(printer.dc) > 0;
        if (!printed)
            break;
        // The device's origin is the printable area's corner; the sheet's is the paper's.
        SetViewportOrgEx(printer.dc, -paper.offset.x, -paper.offset.y, nullptr);
        PaintPage(printer.dc, sheet, page, paper.dotsX, paper.dotsY);
        printed = EndPage(printer.dc) > 0;
    }
    if (printed)
        EndDoc(printer.dc);
    else
        AbortDoc(printer.dc);
    DeleteDC(printer.dc);
    GlobalFree(printer.devMode);
    GlobalFree(printer.devNames);
    if (!printed)
        ShowError(owner, Resources::Format("legend.cannotWrite", {Narrow(title)}));
}

void Export(HWND owner, const Layout& layout, const LegendOptions& options) {
    const LegendSheet sheet = ComputeLegendSheet(layout, options);
    if (sheet.capCount() == 0) {
        ShowError(owner, Resources::String("legend.noKeys"));
        return;
    }
    FileDialogs::SaveRequest request;
    request.types = {{Resources::String("legend.filter.svg"), L"*.svg"}};
    request.title = Resources::String("legend.export.title");
    request.defaultExtension = L"svg";
    const std::wstring base = layout.fileName.empty()
                                  ? Resources::String(kUntitledId)
                                  : std::filesystem::path(Widen(layout.fileName)).stem().wstring();
    request.initialName = base + L".svg";
    const auto choice = FileDialogs::GetSaveFileName(owner, request);
    if (!choice || choice->path.empty())
        return;
    std::filesystem::path path(choice->path);
    // Only SVG is written here: a name without that extension gets it.
    if (!HasSvgExtension(path))
        path += L".svg";

    const std::string pageFormat = Resources::Utf8String("legend.page");
    const int pageCount = static_cast<int>(sheet.pages.size());
    const std::vector<std::filesystem::path> paths = LegendPagePaths(path, true, pageCount);
    for (int page = 0; page < pageCount; ++page) {
        const auto& target = paths[static_cast<std::size_t>(page)];
        std::string reason;
        if (!ReplaceFileAtomically(target, LegendPageSvg(sheet, page, pageFormat), &reason)) {
            ShowError(owner, Resources::Format("legend.cannotWriteReason",
                                               {Narrow(target.wstring()), reason}));
            return;
        }
    }
}

} // namespace win32::LegendPrinting
