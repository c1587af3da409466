#include "win32/grid/GridScale.h"

#include "core/model/GridGeometry.h"

#include <algorithm>
#include <cmath>

namespace win32 {

GridScale GridScale::Fit(int width, int height, UINT dpi) {
    GridScale fit;
    const double wanted = (dpi == 0 ? 96.0 : static_cast<double>(dpi)) / 96.0;
    const double room = std::min(static_cast<double>(width) / kSurfaceWidth,
                                 static_cast<double>(height) / kSurfaceHeight);
    fit.scale = room > 0 ? std::min(wanted, room) : wanted;
    fit.left = (width - static_cast<int>(std::lround(kSurfaceWidth * fit.scale))) / 2;
    fit.top = (height - static_cast<int>(std::lround(kSurfaceHeight * fit.scale))) / 2;
    return fit;
}

RECT GridScale::ToWindow(int x, int y, int width, int height) const {
    const auto edge = [this](int surface, int origin, int offset) {
        return offset + static_cast<int>(std::lround((surface - origin) * scale));
    };
    return RECT{edge(x, zr4700::kGridLeft, left), edge(y, zr4700::kGridTop, top),
                edge(x + width, zr4700::kGridLeft, left), edge(y + height, zr4700::kGridTop, top)};
}

POINT GridScale::ToSurface(POINT window) const {
    const auto surface = [this](LONG at, int offset, int origin) {
        return static_cast<LONG>(std::floor((at - offset) / scale)) + origin;
    };
    return POINT{surface(window.x, left, zr4700::kGridLeft),
                 surface(window.y, top, zr4700::kGridTop)};
}

} // namespace win32
