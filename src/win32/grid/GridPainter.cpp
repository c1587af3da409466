#include "win32/grid/GridPainter.h"

#include "core/document/Views.h"
#include "core/model/GridGeometry.h"
#include "win32/Resources.h"
#include "win32/WideText.h"

#include <algorithm>
#include <cmath>

namespace win32 {
namespace {

using namespace zr4700;

constexpr int kDenseKey = 1 << 16;

// The mean colour of a bitmap's middle, inside its bevel.
COLORREF FaceColour(HBITMAP bitmap, SIZE size) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    unsigned long red = 0, green = 0, blue = 0, count = 0;
    for (int y = size.cy / 4; y < size.cy * 3 / 4; y += 2) {
        for (int x = size.cx / 4; x < size.cx * 3 / 4; x += 2) {
            const COLORREF pixel = GetPixel(dc, x, y);
            red += GetRValue(pixel);
            green += GetGValue(pixel);
            blue += GetBValue(pixel);
            ++count;
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    if (count == 0)
        return RGB(128, 128, 128);
    return RGB(red / count, green / count, blue / count);
}

// Black or white, whichever reads better on a face.
COLORREF TextColourOn(COLORREF face) {
    const double luminance =
        (0.2126 * GetRValue(face) + 0.7152 * GetGValue(face) + 0.0722 * GetBValue(face)) / 255.0;
    return luminance > 0.45 ? RGB(20, 20, 20) : RGB(255, 255, 255);
}

// A colour part of the way from one to another (weight of `to` out of 255).
COLORREF Blend(COLORREF from, COLORREF to, int weight) {
    const auto mix = [weight](int a, int b) { return (a * (255 - weight) + b * weight) / 255; };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

bool IsSelection(int picture) {
    return picture == kPictureSelectedBlank || picture == kPictureSelectedProgrammed;
}

} // namespace

GridPainter::~GridPainter() {
    for (auto& [id, picture] : pictures_) {
        if (picture.bitmap)
            DeleteObject(picture.bitmap);
    }
    for (auto& [height, font] : fonts_)
        DeleteObject(font);
}

const GridPainter::Picture& GridPainter::PictureFor(int id, bool dense) {
    const int key = id | (dense ? kDenseKey : 0);
    auto found = pictures_.find(key);
    if (found != pictures_.end())
        return found->second;
    Picture picture;
    picture.bitmap = dense ? Resources::LoadHighDensityBitmap(id) : nullptr;
    if (!picture.bitmap)
        picture.bitmap = Resources::LoadBitmap(id);
    if (picture.bitmap) {
        BITMAP info{};
        GetObjectW(picture.bitmap, sizeof info, &info);
        picture.size = SIZE{info.bmWidth, info.bmHeight};
        picture.face = FaceColour(picture.bitmap, picture.size);
    }
    return pictures_.emplace(key, picture).first->second;
}

HFONT GridPainter::FontOfHeight(HFONT base, int pixels) {
    if (base != fontsBase_) {
        for (auto& [height, font] : fonts_)
            DeleteObject(font);
        fonts_.clear();
        fontsBase_ = base;
    }
    auto found = fonts_.find(pixels);
    if (found != fonts_.end())
        return found->second;
    LOGFONTW face{};
    if (!base || !GetObjectW(base, sizeof face, &face))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    face.lfHeight = -pixels;
    face.lfWidth = 0;
    face.lfQuality = CLEARTYPE_QUALITY;
    HFONT font = CreateFontIndirectW(&face);
    fonts_.emplace(pixels, font);
    return font;
}

// The largest size from `largest` down to `smallest` pixels at which the text fits the box, on
// lines broken between words; at the smallest size what does not fit is cut with an ellipsis.
void GridPainter::PaintCapText(HDC dc, const RECT& box, const std::wstring& text, COLORREF colour,
                               HFONT base, int largest, int smallest) {
    if (text.empty() || box.right <= box.left || box.bottom <= box.top)
        return;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    int size = largest;
    RECT measured{};
    for (; size > smallest; --size) {
        SelectObject(dc, FontOfHeight(base, size));
        measured = RECT{0, 0, width, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        if (measured.right <= width && measured.bottom <= height)
            break;
    }
    SelectObject(dc, FontOfHeight(base, size));
    measured = RECT{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    RECT place = box;
    const int used = std::min(static_cast<int>(measured.bottom), height);
    place.top = box.top + (height - used) / 2;
    place.bottom = place.top + used;
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS | DT_EDITCONTROL);
}

void GridPainter::Paint(HDC dc, const RECT& client, const GridScale& scale, const Layout& layout,
                        const Options& options) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    // The stored pictures have 39 pixels per key unit; their high-density variants four times
    // that. The variant is taken once the caps are drawn larger than the plain pictures.
    const bool dense = scale.scale * kKeyUnit > kStoredKeyUnit;
    HDC source = CreateCompatibleDC(dc);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    const std::vector<CellPicture> cells = CellPictures(layout);
    for (const CellPicture& cell : cells) {
        const Picture& picture = PictureFor(cell.picture, dense);
        const GridPoint origin = KeyOrigin(cell.key);
        const RECT to = scale.ToWindow(origin.x, origin.y, PictureWidth(cell.picture),
                                       PictureHeight(cell.picture));
        if (!picture.bitmap) {
            // A resource set without the picture still shows where the key is.
            FillRect(dc, &to, GetSysColorBrush(COLOR_GRAYTEXT));
            continue;
        }
        HGDIOBJ old = SelectObject(source, picture.bitmap);
        StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source, 0, 0,
                   picture.size.cx, picture.size.cy, SRCCOPY);
        SelectObject(source, old);
    }
    DeleteDC(source);

    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    SetBkMode(dc, TRANSPARENT);
    // The bevel takes about 3 surface pixels of each side of a cap.
    const int bevel = 3;
    const auto pixels = [&scale](int surface) {
        return std::max(1, static_cast<int>(std::lround(surface * scale.scale)));
    };
    if (options.namesShown) {
        for (const CellPicture& cell : cells) {
            const int id = cell.picture;
            if (id == kPictureAbsent || IsSelection(id))
                continue;
            const GridPoint origin = KeyOrigin(cell.key);
            const RECT box =
                scale.ToWindow(origin.x + bevel, origin.y + bevel, PictureWidth(id) - 2 * bevel,
                               PictureHeight(id) - 2 * bevel);
            const Picture& picture = PictureFor(id, dense);
            const COLORREF text = TextColourOn(picture.face);
            if (id == kPictureBlank) {
                PaintCapText(dc, box, std::to_wstring(cell.key), Blend(picture.face, text, 90),
                             options.font, pixels(9), pixels(9));
                continue;
            }
            PaintCapText(dc, box, Widen(ShownKeyName(layout.key(cell.key).name)), text,
                         options.font, pixels(id == kPictureQuad ? 14 : 11), pixels(7));
        }
    }
    SelectObject(dc, oldFont);

    // While the grid has the keyboard focus, the current key carries a frame in the highlight
    // colour, so that a keyboard user sees where the arrow keys and Enter act.
    if (options.focused) {
        for (const CellPicture& cell : cells) {
            if (!IsSelection(cell.picture))
                continue;
            const GridPoint origin = KeyOrigin(cell.key);
            RECT frame = scale.ToWindow(origin.x, origin.y, kKeyUnit, kKeyUnit);
            const int thickness = pixels(2);
            HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
            for (int i = 0; i < thickness; ++i) {
                InflateRect(&frame, -1, -1);
                FrameRect(dc, &frame, highlight);
            }
            InflateRect(&frame, -pixels(1), -pixels(1));
            DrawFocusRect(dc, &frame);
        }
    }
}

} // namespace win32
