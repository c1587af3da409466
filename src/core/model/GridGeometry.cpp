#include "core/model/GridGeometry.h"

#include "core/model/Layout.h"
#include "core/model/LayoutRules.h"

#include <algorithm>
#include <array>

namespace zr4700 {

namespace {

constexpr int kGridBottom = kGridTop + kGridRows * kKeyUnit;              // 328
constexpr int kLeftBlockEnd = kGridLeft + kGridColumns * kKeyUnit;        // 281
constexpr int kRightBlockEnd = kRightBlockLeft + kGridColumns * kKeyUnit; // 553

} // namespace

GridPoint KeyOrigin(int key) {
    if (!IsKeyNumber(key))
        return {};
    const bool right = key > kBlockKeys;
    const int index = key - (right ? kBlockKeys + 1 : 1);
    const int column = index % kGridColumns;
    const int row = index / kGridColumns;
    return {(right ? kRightBlockLeft : kGridLeft) + kKeyUnit * column, kGridTop + kKeyUnit * row};
}

bool IsOnGrid(int x, int y, int keyCount) {
    // With 56 keys the right block shows absent keys that cannot be selected.
    const int end = keyCount > kBlockKeys ? kRightBlockEnd : kLeftBlockEnd;
    return x >= kGridLeft && x < end && y >= kGridTop && y < kGridBottom;
}

int KeyFromPoint(int x, int y) {
    // Integer division truncates toward zero, as the callers' bounds check expects.
    const int column = (x - kGridLeft) / kKeyUnit;
    const int row = (y - kGridTop) / kKeyUnit;
    if (row < 0 || row >= kGridRows)
        return 0;
    if (column >= 0 && column < kGridColumns)
        return column + 1 + kGridColumns * row;
    if (column >= kGridColumns && column < 2 * kGridColumns)
        return column + kBlockKeys - kGridColumns + 1 + kGridColumns * row;
    return 0;
}

int PictureWidth(int picture) {
    return picture == kPictureDoubleRight || picture == kPictureQuad ? 2 * kKeyUnit : kKeyUnit;
}

int PictureHeight(int picture) {
    return picture == kPictureDoubleDown || picture == kPictureQuad ? 2 * kKeyUnit : kKeyUnit;
}

std::vector<CellPicture> NormalCellPictures(const Layout& layout) {
    std::vector<CellPicture> pictures;
    std::array<bool, kMaxKeys + 1> drawn{};
    auto mark = [&drawn](int k) {
        if (IsKeyNumber(k))
            drawn[static_cast<std::size_t>(k)] = true;
    };
    const int last = std::min(layout.keyCount, kMaxKeys);
    for (int i = 1; i <= last; ++i) {
        if (drawn[static_cast<std::size_t>(i)])
            continue;
        const auto& slots = layout.partners[static_cast<std::size_t>(i)];
        mark(i);
        switch (layout.state(i)) {
        case CellState::Blank:
            pictures.push_back({i, kPictureBlank});
            break;
        case CellState::Single:
            pictures.push_back({i, kPictureProgrammed});
            break;
        case CellState::Double:
            mark(slots[0]);
            pictures.push_back({i, slots[0] == i + 1 ? kPictureDoubleRight : kPictureDoubleDown});
            break;
        case CellState::Quad:
            for (int partner : slots)
                mark(partner);
            pictures.push_back({i, kPictureQuad});
            break;
        }
    }
    if (layout.keyCount == kBlockKeys) {
        for (int k = kBlockKeys + 1; k <= kMaxKeys; ++k)
            pictures.push_back({k, kPictureAbsent});
    }
    return pictures;
}

std::vector<CellPicture> CellPictures(const Layout& layout) {
    std::vector<CellPicture> pictures = NormalCellPictures(layout);
    const int shown = layout.shownKey;
    if (IsKeyOf(shown, layout.keyCount)) {
        pictures.push_back({shown, layout.state(shown) == CellState::Blank
                                       ? kPictureSelectedBlank
                                       : kPictureSelectedProgrammed});
    }
    return pictures;
}

} // namespace zr4700
