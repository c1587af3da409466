#pragma once
// Where the core's grid lands in the grid window. The core places keys on a surface measured in
// pixels at 96 dots per inch, the grid from (kGridLeft, kGridTop); the window draws it grown with
// the monitor's density (smaller only when the window could not hold it), centred in itself.

#include <windows.h>

namespace win32 {

struct GridScale {
    // Surface pixels spanned by both blocks of keys.
    static constexpr int kSurfaceWidth = 2 * 8 * 34;
    static constexpr int kSurfaceHeight = 7 * 34;

    double scale = 1.0; // window pixels per surface pixel
    int left = 0;       // where the grid's top-left corner lands in the window
    int top = 0;

    static GridScale Fit(int width, int height, UINT dpi);
    // A rectangle of the surface (x, y, width, height) in the window; each edge is rounded on its
    // own, so that neighbouring caps meet without a gap.
    RECT ToWindow(int x, int y, int width, int height) const;
    // The surface point under a window point.
    POINT ToSurface(POINT window) const;
};

} // namespace win32
