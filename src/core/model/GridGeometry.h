#pragma once
// Where the keys sit on the main window's client surface, and which picture goes where. Pure
// functions of the document, so the grid widget only paints what these return.

#include <vector>

namespace zr4700 {

class Layout;

constexpr int kGridLeft = 9;
constexpr int kGridTop = 90;
constexpr int kRightBlockLeft = 281;
constexpr int kKeyUnit = 34;       // drawn size of one key unit
constexpr int kStoredKeyUnit = 39; // the pictures' own size of one key unit
constexpr int kGridRows = 7;
constexpr int kGridColumns = 8; // per block

struct GridPoint {
    int x = 0;
    int y = 0;
};

// Top-left corner of key 1..112.
GridPoint KeyOrigin(int key);
// Whether a point lies on the grid of a keyboard with keyCount keys.
bool IsOnGrid(int x, int y, int keyCount);
// The key under a point already known to be on the grid; 0 for none.
int KeyFromPoint(int x, int y);
// Drawn size of a picture, from its resource number alone.
int PictureWidth(int picture);
int PictureHeight(int picture);

struct CellPicture {
    int key = 0;     // where it is drawn (its top-left corner is the key's origin)
    int picture = 0; // resource number
    bool operator==(const CellPicture&) const = default;
};

// Every picture of the grid in painting order: the cells (each at its anchor), the absent keys
// of a 56-key keyboard, then the selection highlight at the shown key.
std::vector<CellPicture> CellPictures(const Layout& layout);

} // namespace zr4700
