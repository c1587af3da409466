#pragma once
// A LayoutObserver that records what the document told the window, for tests.

#include "core/model/Layout.h"

#include <map>
#include <utility>
#include <vector>

namespace zr4700::testing {

class RecordingObserver : public LayoutObserver {
  public:
    struct Drawing {
        int key = 0;
        int picture = 0;
        bool operator==(const Drawing&) const = default;
    };

    void KeyCellDrawn(int key, int picture) override {
        drawings.push_back({key, picture});
        lastPicture[key] = picture;
    }
    void PanelChanged() override { ++panelChanges; }
    void ProgrammedKeyComboChanged() override { ++comboChanges; }

    // The picture drawn last at a key since the last Clear; 0 when none was.
    int LastPictureAt(int key) const {
        const auto found = lastPicture.find(key);
        return found == lastPicture.end() ? 0 : found->second;
    }
    void Clear() {
        drawings.clear();
        lastPicture.clear();
        panelChanges = 0;
        comboChanges = 0;
    }

    std::vector<Drawing> drawings;
    std::map<int, int> lastPicture;
    int panelChanges = 0;
    int comboChanges = 0;
};

} // namespace zr4700::testing
