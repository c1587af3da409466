// The legend commands of the Windows main window under Wine: Export legends through its Save
// dialog (answered here) writes the core's SVG, one file a page; the printer's drawing with GDI.

#include "Win32TestSupport.h"
#include "core/document/Commands.h"
#include "win32/CProgrammerDlg.h"
#include "win32/LegendOptionsDlg.h"
#include "win32/LegendPrinting.h"
#include "win32/panel/ControlText.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using win32::CProgrammerDlg;
using namespace zr4700;

std::string Contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class LegendCommands : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        ASSERT_NE(dialog.Create(nullptr), nullptr);
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::filesystem::path(temp) / L"zr4700-legend-test";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        Win32Test::TearDown();
    }
    void Command(int id) { SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void ProgramKey(int key, const std::string& name) {
        dialog.document().SelectKey(key);
        KeyCodes codes{};
        codes[0] = 0x1C;
        const std::array<std::string, kCodeSlots> names{"A"};
        dialog.document().ApplyCapturedCodes(codes, names);
        dialog.document().RenameKey(name);
    }

    CProgrammerDlg dialog{kApplicationName};
    std::filesystem::path folder;
};

TEST_F(LegendCommands, ExportWritesTheSheetAsSvgThroughTheSaveDialog) {
    ProgramKey(10, "A&<B>");
    // The options dialog, answered with the defaults.
    win32::LegendOptionsDlg::Script(
        {win32::LegendPrinting::DefaultOptions(dialog.document().layout())});
    // A name typed without the extension gets ".svg".
    win32::FileDialogs::Script({win32::FileDialogs::Choice{(folder / L"sheet").wstring(), 1}});
    Command(kCmdExportLegends);
    const auto& request = win32::FileDialogs::LastSaveRequest();
    EXPECT_EQ(request.title, L"Export legends");
    ASSERT_EQ(request.types.size(), 1u);
    EXPECT_EQ(request.types[0].first, L"SVG drawing (*.svg)");
    EXPECT_EQ(request.initialName, L"untitled.svg");
    const std::string svg = Contents(folder / L"sheet.svg");
    ASSERT_FALSE(svg.empty()) << "no sheet.svg";
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    // The paper of the user's locale, in millimetres.
    EXPECT_TRUE(svg.find("width=\"210mm\" height=\"297mm\"") != std::string::npos ||
                svg.find("width=\"215.9mm\" height=\"279.4mm\"") != std::string::npos)
        << svg.substr(0, 300);
    EXPECT_NE(svg.find(">A&amp;&lt;B&gt;</text>"), std::string::npos)
        << "the name, escaped, on one line";
    EXPECT_NE(svg.find(">10</text>"), std::string::npos) << "the insert's key number";
    EXPECT_FALSE(std::filesystem::exists(folder / L"sheet-2.svg")) << "one page";
    EXPECT_TRUE(win32::MessageBoxes::Shown().empty());
}

TEST_F(LegendCommands, AnEmptyLayoutHasNothingToExport) {
    win32::MessageBoxes::Script({IDOK});
    win32::LegendOptionsDlg::Script({LegendOptions{}});
    Command(kCmdExportLegends);
    ASSERT_EQ(win32::MessageBoxes::Shown().size(), 1u);
    EXPECT_EQ(win32::MessageBoxes::Shown()[0].text,
              L"The layout has no key to make an insert for.");
    EXPECT_EQ(win32::MessageBoxes::Shown()[0].caption, L"Error");
}

TEST_F(LegendCommands, CancellingTheOptionsExportsNothing) {
    ProgramKey(10, "Total");
    win32::LegendOptionsDlg::Script({std::nullopt});
    Command(kCmdExportLegends);
    EXPECT_TRUE(win32::MessageBoxes::Shown().empty()) << "and no Save dialog was asked";
}

// The options dialog refuses a size out of range and stays open on it, as the command line does.
TEST_F(LegendCommands, TheOptionsDialogRefusesSizesOutOfRange) {
    win32::LegendOptionsDlg options{LegendOptions{}};
    ASSERT_NE(options.Create(dialog.hwnd()), nullptr);
    const auto set = [&](int id, const wchar_t* text) {
        win32::SetControlText(options.Control(id), text);
    };
    const auto ok = [&] {
        SendMessageW(options.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_EQ(win32::ControlText(options.Control(win32::LegendOptionsDlg::kPitch)), L"19.05");
    win32::MessageBoxes::Script({IDOK, IDOK});
    set(win32::LegendOptionsDlg::kPitch, L"100");
    ok();
    EXPECT_FALSE(options.ended());
    set(win32::LegendOptionsDlg::kPitch, L"5");
    set(win32::LegendOptionsDlg::kMargin, L"5");
    ok();
    EXPECT_FALSE(options.ended()) << "at most a quarter of the pitch";
    ASSERT_EQ(win32::MessageBoxes::Shown().size(), 2u);
    EXPECT_EQ(win32::MessageBoxes::Shown()[0].text,
              L"The key pitch must be a number of millimetres from 5 to 60.");
    EXPECT_EQ(win32::ControlText(options.Control(win32::LegendOptionsDlg::kMargin)), L"5")
        << "nothing typed is changed";
    set(win32::LegendOptionsDlg::kMargin, L"1.25");
    CheckDlgButton(options.hwnd(), win32::LegendOptionsDlg::kCodeNames, BST_CHECKED);
    ok();
    EXPECT_TRUE(options.ended());
    EXPECT_DOUBLE_EQ(options.options().pitchMm, 5);
    EXPECT_DOUBLE_EQ(options.options().marginMm, 1.25);
    EXPECT_TRUE(options.options().showCodeNames);
}

// What the printer gets: the page drawn with GDI, here onto a bitmap at 4 dots a millimetre.
TEST_F(LegendCommands, APageIsDrawnWithGdiAtTheDevicesScale) {
    ProgramKey(1, "Total");
    LegendOptions options = win32::LegendPrinting::DefaultOptions(dialog.document().layout());
    options.pageWidthMm = 210;
    options.pageHeightMm = 297;
    const LegendSheet sheet = ComputeLegendSheet(dialog.document().layout(), options);
    ASSERT_EQ(sheet.pages.size(), 1u);
    constexpr double kDots = 4;
    const int width = static_cast<int>(sheet.pageWidthMm * kDots);
    const int height = static_cast<int>(sheet.pageHeightMm * kDots);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    win32::LegendPrinting::PaintPage(dc, sheet, 0, kDots, kDots);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    auto darkIn = [&](const RectMm& r) {
        int dark = 0;
        for (int y = static_cast<int>(r.y * kDots); y < static_cast<int>(r.bottom() * kDots); ++y)
            for (int x = static_cast<int>(r.x * kDots); x < static_cast<int>(r.right() * kDots);
                 ++x)
                dark += (pixels[y * width + x] & 0xFF) < 128 ? 1 : 0;
        return dark;
    };
    const LegendCap& cap = sheet.pages[0].caps[0];
    EXPECT_GT(darkIn(cap.nameBox), 0) << "the name is written in its box";
    EXPECT_EQ(darkIn({cap.insert.right() + 0.5, cap.insert.y + 2, 0.4, 5}), 0)
        << "nothing beside the insert but its cut marks";
    DeleteDC(dc);
    DeleteObject(bitmap);
}

} // namespace
