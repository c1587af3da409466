#pragma once
// Paints the key grid from the core's cell pictures: each picture scaled from its stored size to
// its place, the names on the caps when they are shown (the numbers of blank keys faintly), and
// the focus frame on the current key while the grid has the keyboard focus.

#include "core/model/Layout.h"
#include "win32/grid/GridScale.h"

#include <windows.h>

#include <map>
#include <string>

namespace win32 {

class GridPainter {
  public:
    GridPainter() = default;
    ~GridPainter();
    GridPainter(const GridPainter&) = delete;
    GridPainter& operator=(const GridPainter&) = delete;

    struct Options {
        bool namesShown = true;
        bool focused = false;
        HFONT font = nullptr; // the dialog's font, whose face the cap texts take
    };
    // Paints the whole window area (client) onto dc.
    void Paint(HDC dc, const RECT& client, const GridScale& scale, const zr4700::Layout& layout,
               const Options& options);

  private:
    struct Picture {
        HBITMAP bitmap = nullptr;
        SIZE size{};
        COLORREF face = 0; // the mean colour inside the bevel
    };
    const Picture& PictureFor(int id, bool dense);
    HFONT FontOfHeight(HFONT base, int pixels);
    void PaintCapText(HDC dc, const RECT& box, const std::wstring& text, COLORREF colour,
                      HFONT base, int largest, int smallest);

    std::map<int, Picture> pictures_; // by id, plus 1 << 16 for the high-density variant
    std::map<int, HFONT> fonts_;      // by pixel height
    HFONT fontsBase_ = nullptr;
};

} // namespace win32
