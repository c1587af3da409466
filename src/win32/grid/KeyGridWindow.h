#pragma once
// The painted key grid: a child window of its own class that draws the core's cell pictures
// (double-buffered, at the monitor's density) and turns the mouse into the grid's events: a press
// on a key, a double-click, the context menu, a key dragged onto another, the key under the
// pointer. It changes nothing itself; the main window decides what each event does. It answers
// assistive tools with its keys as children (KeyGridAccessible).

#include "core/model/Layout.h"
#include "win32/grid/GridPainter.h"
#include "win32/grid/GridScale.h"

#include <windows.h>

namespace win32 {

class KeyGridAccessible;

class KeyGridEvents {
  public:
    virtual ~KeyGridEvents() = default;
    virtual void GridKeyPressed(int key) = 0;
    virtual void GridKeyDoubleClicked(int key) = 0;
    // screen: where the menu opens, in screen coordinates; key 0 from the keyboard (the menu
    // key, Shift+F10), which means the current key.
    virtual void GridContextMenu(int key, POINT screen) = 0;
    virtual void GridKeyDropped(int source, int target) = 0;
    // The key under the pointer; 0 off the grid.
    virtual void GridHovered(int key) = 0;
};

class KeyGridWindow {
  public:
    static constexpr const wchar_t* kClassName = L"ZR4700KeyGrid";

    KeyGridWindow(const zr4700::Layout& layout, KeyGridEvents& events);
    ~KeyGridWindow();
    KeyGridWindow(const KeyGridWindow&) = delete;
    KeyGridWindow& operator=(const KeyGridWindow&) = delete;

    // A child of parent inside a frame control of it (clear of the frame's border), with a
    // control id; it follows the frame when the window moves to a screen of another density.
    HWND Create(HWND parent, int id, HWND frame);
    HWND hwnd() const { return hwnd_; }
    const zr4700::Layout& layout() const { return layout_; }

    void SetNamesShown(bool shown);
    bool namesShown() const { return namesShown_; }
    // Repaints from the document; tells assistive tools when the current key moved.
    void Refresh();

    GridScale Scale() const;
    // The key under a point of the window; 0 for none.
    int KeyAt(POINT client) const;
    // The unit square of a key in the window.
    RECT KeyRect(int key) const;
    bool dragging() const { return dragging_; }

  private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnLeftButtonDown(POINT point);
    void OnMouseMove(POINT point, WPARAM buttons);
    void OnLeftButtonUp(POINT point);
    void EndDrag();
    void AnnounceCurrentKey();
    RECT InsideFrame() const;

    const zr4700::Layout& layout_;
    KeyGridEvents& events_;
    HWND hwnd_ = nullptr;
    HWND frame_ = nullptr;
    GridPainter painter_;
    KeyGridAccessible* accessible_ = nullptr;
    bool namesShown_ = true;
    int announcedKey_ = 0;
    // A press on a key may become a drag once the pointer leaves the system's drag rectangle.
    int dragSource_ = 0;
    POINT pressedAt_{};
    bool dragging_ = false;
    bool trackingLeave_ = false;
};

} // namespace win32
