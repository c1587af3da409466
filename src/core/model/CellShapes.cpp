#include "core/model/Layout.h"

#include "core/model/LayoutRules.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

namespace zr4700 {

namespace {

// The cell's members other than the anchor must all be free positions.
bool AllBlank(const Layout& layout, std::initializer_list<int> keys) {
    return std::all_of(keys.begin(), keys.end(), [&layout](int k) {
        return IsKeyNumber(k) && layout.state(k) == CellState::Blank;
    });
}

} // namespace

bool Layout::FormDoubleRight() {
    const int k = currentKey;
    return FormDouble(k, k + 1, IsKeyOf(k, keyCount) && !IsLastColumn(k), kPictureDoubleRight);
}

bool Layout::FormDoubleDown() {
    const int k = currentKey;
    return FormDouble(k, k + kGridColumns, IsKeyOf(k, keyCount) && !IsLastRow(k, keyCount),
                      kPictureDoubleDown);
}

// A double cell of the anchor k and one absorbed key, when k's place allows it, k is a lone
// programmed key and the other position is free.
bool Layout::FormDouble(int k, int other, bool placeAllows, int picture) {
    if (!placeAllows || state(k) != CellState::Single || !AllBlank(*this, {other})) {
        SelectKey(k);
        return false;
    }
    state(k) = CellState::Double;
    state(other) = CellState::Double;
    partners[static_cast<std::size_t>(k)] = {other, 0, 0};
    partners[static_cast<std::size_t>(other)] = {k, 0, 0};
    key(k).setGroup(true);
    key(k).groupNumber = nextGroupNumber++;
    CopyKeyContents(other, k);
    DrawKeyCell(k, picture);
    SelectKey(k);
    return true;
}

// Four keys, in increasing order, become one quad cell: each member names the other three.
void Layout::MakeQuad(const std::array<int, 4>& members) {
    for (std::size_t m = 0; m < members.size(); ++m) {
        state(members[m]) = CellState::Quad;
        auto& slots = partners[static_cast<std::size_t>(members[m])];
        std::size_t slot = 0;
        for (std::size_t other = 0; other < members.size(); ++other) {
            if (other != m)
                slots[slot++] = members[other];
        }
    }
}

bool Layout::FormQuad() {
    const int k = currentKey;
    if (!IsKeyOf(k, keyCount) || IsLastColumn(k) || IsLastRow(k, keyCount) ||
        state(k) != CellState::Single ||
        !AllBlank(*this, {k + 1, k + kGridColumns, k + kGridColumns + 1})) {
        SelectKey(k);
        return false;
    }
    const std::array<int, 4> members = {k, k + 1, k + kGridColumns, k + kGridColumns + 1};
    MakeQuad(members);
    key(k).setGroup(true);
    key(k).groupNumber = nextGroupNumber++;
    for (std::size_t m = 1; m < members.size(); ++m)
        CopyKeyContents(members[m], k);
    DrawKeyCell(k, kPictureQuad);
    SelectKey(k);
    return true;
}

void Layout::SplitCell(bool blank) {
    const int k = currentKey;
    if (!IsKeyNumber(k))
        return;
    // Each test sees the result of the one before; a reset key is Single or Blank, so at most
    // one of them acts.
    if (state(k) == CellState::Single)
        ResetKey(k, blank);
    if (state(k) == CellState::Double) {
        ResetKey(partners[static_cast<std::size_t>(k)][0], blank);
        ResetKey(k, blank);
    }
    if (state(k) == CellState::Quad) {
        const std::array<int, 3> slots = partners[static_cast<std::size_t>(k)];
        for (int partner : slots)
            ResetKey(partner, blank);
        ResetKey(k, blank);
    }
    SelectKey(k);
}

namespace {

// Whether keys a < b lie side by side in one row of one block, or one above the other in one
// column of one block: the two shapes a double cell can have on the grid.
bool FormsDoubleRight(int a, int b) {
    return b == a + 1 && !IsLastColumn(a) && (a - 1) / kBlockKeys == (b - 1) / kBlockKeys;
}
bool FormsDoubleDown(int a, int b) {
    return b == a + kGridColumns && (a - 1) / kBlockKeys == (b - 1) / kBlockKeys;
}
// Four sorted keys that form a 2 x 2 square in one block.
bool FormsQuad(const std::vector<int>& m) {
    return m.size() == 4 && FormsDoubleRight(m[0], m[1]) && FormsDoubleDown(m[0], m[2]) &&
           FormsDoubleRight(m[2], m[3]);
}

} // namespace

void Layout::RebuildCellGroups(UserPrompts& prompts) {
    // The file holds each key's group flag, codes and (16scan) group number, not the cells:
    // rebuild them from keys that carry the group flag. The 16scan files number each cell, so
    // two cells with equal codes come back as two cells; the 7/3scan files have no numbers, and
    // their keys with equal codes form one cell.
    const bool byGroupNumber = fileIsScan16 != 0;
    std::array<int32_t, kMaxKeys + 1> fileGroup{};
    for (int k = 1; k <= kMaxKeys; ++k) {
        fileGroup[static_cast<std::size_t>(k)] = key(k).groupNumber;
        state(k) = CellState::Blank;
        key(k).groupNumber = 0;
        partners[static_cast<std::size_t>(k)].fill(0);
    }
    std::array<bool, kMaxKeys + 1> done{};
    auto isDone = [&done](int k) { return done[static_cast<std::size_t>(k)]; };
    auto groupKey = [this](int k) { return key(k).group() && key(k).programmed(); };
    auto sameCell = [&](int a, int b) {
        return key(a).codes == key(b).codes &&
               (!byGroupNumber ||
                fileGroup[static_cast<std::size_t>(a)] == fileGroup[static_cast<std::size_t>(b)]);
    };

    for (int i = 1; i <= kMaxKeys; ++i) {
        if (isDone(i) || !key(i).programmed())
            continue;
        std::vector<int> members = {i};
        if (groupKey(i)) {
            for (int j = i + 1; j <= kMaxKeys; ++j) {
                if (groupKey(j) && !isDone(j) && sameCell(i, j))
                    members.push_back(j);
            }
        }
        for (int member : members)
            done[static_cast<std::size_t>(member)] = true;
        const bool pair = members.size() == 2;
        const bool right = pair && FormsDoubleRight(members[0], members[1]);
        if (right || (pair && FormsDoubleDown(members[0], members[1]))) {
            state(i) = state(members[1]) = CellState::Double;
            partners[static_cast<std::size_t>(i)][0] = members[1];
            partners[static_cast<std::size_t>(members[1])][0] = i;
            DrawKeyCell(i, right ? kPictureDoubleRight : kPictureDoubleDown);
            continue;
        }
        if (FormsQuad(members)) {
            MakeQuad({members[0], members[1], members[2], members[3]});
            DrawKeyCell(i, kPictureQuad);
            continue;
        }
        // A pair the grid cannot draw is reported, as it always was.
        if (members.size() == 2)
            prompts.ShowError(kStrGroupKeyError);
        // Keys that form no shape the grid can draw are single keys: a key with codes is always
        // drawn as programmed, so that what the keyboard will send can be seen and cleared.
        for (int member : members) {
            key(member).setGroup(false);
            state(member) = CellState::Single;
            DrawKeyCell(member, kPictureProgrammed);
        }
    }

    // Group numbers afresh: one per cell, and one of its own for each group key left alone. A
    // separate mark (not a group number of 0) tells numbered keys apart, so a counter that has
    // wrapped to 0 cannot number a cell's members twice.
    std::array<bool, kMaxKeys + 1> numbered{};
    for (int k = 1; k <= kMaxKeys; ++k) {
        if (!groupKey(k) || numbered[static_cast<std::size_t>(k)])
            continue;
        const int32_t number = nextGroupNumber++;
        key(k).groupNumber = number;
        numbered[static_cast<std::size_t>(k)] = true;
        const auto& slots = partners[static_cast<std::size_t>(k)];
        const std::size_t partnerCount = state(k) == CellState::Double ? 1
                                         : state(k) == CellState::Quad ? 3
                                                                       : 0;
        for (std::size_t s = 0; s < partnerCount; ++s) {
            if (IsKeyNumber(slots[s])) {
                key(slots[s]).groupNumber = number;
                numbered[static_cast<std::size_t>(slots[s])] = true;
            }
        }
    }

    currentKey = 1;
    SelectKey(1);
    DrawAllKeyCells();
    RebuildProgrammedKeyList();
}

} // namespace zr4700
