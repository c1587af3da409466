#pragma once
// Every popup menu of the program opens through here, so that tests can choose from it: once
// scripted, no menu is shown; the owner is told of each (sub)menu as if it opened, the items'
// states are recorded, and the next queued command is the choice.

#include <windows.h>

#include <deque>
#include <vector>

namespace win32 {

struct ShownPopupItem {
    int id = 0; // 0 for a separator or a submenu
    bool enabled = false;
};

struct ShownPopup {
    POINT at{};
    std::vector<ShownPopupItem> items; // submenus' items in place of the submenu
};

class PopupMenus {
  public:
    // Opens a menu at a screen point for its owner; the command chosen, 0 for none.
    static int Track(HMENU menu, POINT screen, HWND owner);

    // For tests. A menu with no answer left is counted and chooses nothing.
    static void Script(std::deque<int> choices = {});
    static void Unscript();
    static const std::vector<ShownPopup>& Shown();
    static int Unanswered();
};

} // namespace win32
