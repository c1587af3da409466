#include "win32/PopupMenus.h"

namespace win32 {
namespace {

struct ScriptState {
    bool scripted = false;
    std::deque<int> choices;
    std::vector<ShownPopup> shown;
    int unanswered = 0;
};

ScriptState& script() {
    static ScriptState s;
    return s;
}

// What the owner makes of each menu as it opens, as TrackPopupMenu would show it.
void Record(HMENU menu, HWND owner, std::vector<ShownPopupItem>& items) {
    SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU submenu = GetSubMenu(menu, i)) {
            Record(submenu, owner, items);
            continue;
        }
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        items.push_back({state & MF_SEPARATOR ? 0 : static_cast<int>(id),
                         !(state & (MF_GRAYED | MF_DISABLED))});
    }
}

} // namespace

int PopupMenus::Track(HMENU menu, POINT screen, HWND owner) {
    ScriptState& s = script();
    if (!s.scripted) {
        // The owner must be the foreground window, or the menu would not close when the user
        // clicks elsewhere.
        SetForegroundWindow(owner);
        return static_cast<int>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                           screen.x, screen.y, 0, owner, nullptr));
    }
    ShownPopup popup;
    popup.at = screen;
    Record(menu, owner, popup.items);
    s.shown.push_back(popup);
    if (s.choices.empty()) {
        ++s.unanswered;
        return 0;
    }
    const int choice = s.choices.front();
    s.choices.pop_front();
    return choice;
}

void PopupMenus::Script(std::deque<int> choices) {
    script() = {true, std::move(choices), {}, 0};
}

void PopupMenus::Unscript() {
    script() = {};
}

const std::vector<ShownPopup>& PopupMenus::Shown() {
    return script().shown;
}

int PopupMenus::Unanswered() {
    return script().unanswered;
}

} // namespace win32
