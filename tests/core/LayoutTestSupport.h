#pragma once
// Helpers shared by the document tests: building keys and reading the model back.

#include "core/model/GridGeometry.h"
#include "core/model/Layout.h"
#include "support/RecordingObserver.h"

#include <initializer_list>
#include <string>

namespace zr4700::testing {

inline KeyCodes Codes(std::initializer_list<int> values) {
    KeyCodes codes{};
    std::size_t slot = 0;
    for (int value : values) {
        if (slot < codes.size())
            codes[slot++] = value;
    }
    return codes;
}

// Gives a key codes (and a name) the way a file load or the capture dialog leaves a single
// programmed key, without touching the list or the selection.
inline void Program(Layout& layout, int k, std::initializer_list<int> codes,
                    const std::string& name = {}) {
    layout.key(k).codes = Codes(codes);
    if (!name.empty())
        layout.key(k).setName(name);
    if (layout.state(k) == CellState::Blank)
        layout.state(k) = CellState::Single;
}

// Marks a key as a loaded group key: group flag and codes, still Blank until the cells are
// rebuilt.
inline void LoadGroupKey(Layout& layout, int k, std::initializer_list<int> codes) {
    layout.key(k).codes = Codes(codes);
    layout.key(k).setGroup(true);
}

inline std::array<int32_t, 3> PartnersOf(const Layout& layout, int k) {
    return layout.partners[static_cast<std::size_t>(k)];
}

// A document with a recording observer attached, freshly reset.
struct ObservedLayout {
    Layout layout;
    RecordingObserver observer;
    explicit ObservedLayout(int keyCount = 56) {
        layout.SetObserver(&observer);
        layout.keyCount = keyCount;
        layout.ResetLayout();
        observer.Clear();
    }
    ObservedLayout(const ObservedLayout&) = delete;
    ObservedLayout& operator=(const ObservedLayout&) = delete;
};

} // namespace zr4700::testing
