#include "win32/grid/KeyGridWindow.h"

#include "core/model/GridGeometry.h"
#include "win32/Resources.h"
#include "win32/grid/KeyGridAccessible.h"

#include <windowsx.h>

#include <cstdlib>

namespace win32 {
namespace {

using namespace zr4700;

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

KeyGridWindow::KeyGridWindow(const Layout& layout, KeyGridEvents& events)
    : layout_(layout), events_(events) {}

KeyGridWindow::~KeyGridWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (accessible_) {
        accessible_->Detach();
        accessible_->Release();
    }
}

RECT KeyGridWindow::InsideFrame() const {
    RECT bounds{};
    if (!frame_)
        return bounds;
    GetWindowRect(frame_, &bounds);
    MapWindowPoints(nullptr, GetParent(frame_), reinterpret_cast<POINT*>(&bounds), 2);
    const int border = GetSystemMetricsForDpi(SM_CXEDGE, GetDpiForWindow(frame_));
    InflateRect(&bounds, -border, -border);
    return bounds;
}

HWND KeyGridWindow::Create(HWND parent, int id, HWND frame) {
    frame_ = frame;
    const RECT bounds = InsideFrame();
    static const bool registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        // Double-clicks program a key. The grid paints all of itself, so nothing is erased.
        type.style = CS_DBLCLKS;
        type.lpfnWndProc = &WindowProcedure;
        type.hInstance = Resources::ProgramModule();
        type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        type.lpszClassName = kClassName;
        return RegisterClassExW(&type) != 0;
    }();
    if (!registered)
        return nullptr;
    accessible_ = new KeyGridAccessible(*this);
    CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, bounds.left, bounds.top,
                    bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Resources::ProgramModule(),
                    this);
    return hwnd_;
}

void KeyGridWindow::SetNamesShown(bool shown) {
    if (shown == namesShown_)
        return;
    namesShown_ = shown;
    Refresh();
}

void KeyGridWindow::Refresh() {
    if (!hwnd_)
        return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    AnnounceCurrentKey();
}

// Screen readers hear of the current key as it moves: the focus event while the grid has the
// focus, the selection event always.
void KeyGridWindow::AnnounceCurrentKey() {
    const int key = layout_.currentKey;
    if (key == announcedKey_)
        return;
    announcedKey_ = key;
    if (key < 1 || key > layout_.keyCount)
        return;
    if (GetFocus() == hwnd_)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, key);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, hwnd_, OBJID_CLIENT, key);
}

GridScale KeyGridWindow::Scale() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return GridScale::Fit(client.right, client.bottom, GetDpiForWindow(hwnd_));
}

int KeyGridWindow::KeyAt(POINT client) const {
    const POINT surface = Scale().ToSurface(client);
    return layout_.KeyAt(surface.x, surface.y);
}

RECT KeyGridWindow::KeyRect(int key) const {
    if (key < 1 || key > kMaxKeys)
        return {};
    const GridPoint origin = KeyOrigin(key);
    return Scale().ToWindow(origin.x, origin.y, kKeyUnit, kKeyUnit);
}

LRESULT CALLBACK KeyGridWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    auto* grid = reinterpret_cast<KeyGridWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        grid =
            static_cast<KeyGridWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        grid->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(grid));
    }
    if (!grid)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        grid->hwnd_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return grid->OnMessage(message, wParam, lParam);
}

LRESULT KeyGridWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_GETDLGCODE:
        // Escape ends a drag rather than the dialog; otherwise the dialog keeps its keys.
        return dragging_ ? DLGC_WANTALLKEYS : 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd_, nullptr, FALSE);
        if (message == WM_SETFOCUS && layout_.currentKey >= 1)
            NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, layout_.currentKey);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(PointOf(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        if (const int key = KeyAt(PointOf(lParam)))
            events_.GridKeyDoubleClicked(key);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lParam), wParam);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        events_.GridHovered(0);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_)
            EndDrag();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && dragging_) {
            ReleaseCapture();
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (dragging_)
            return TRUE;
        break;
    case WM_CONTEXTMENU: {
        POINT screen = PointOf(lParam);
        int key = 0;
        if (screen.x != -1 || screen.y != -1) {
            POINT client = screen;
            ScreenToClient(hwnd_, &client);
            key = KeyAt(client);
            if (key == 0)
                return 0;
        }
        events_.GridContextMenu(key, screen);
        return 0;
    }
    case WM_DPICHANGED_AFTERPARENT: {
        // The dialog has laid its template's controls out for the new density; the grid keeps
        // to its frame and draws itself anew.
        const RECT bounds = InsideFrame();
        if (frame_)
            SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    }
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT) && accessible_)
            return LresultFromObject(__uuidof(IAccessible), wParam, accessible_);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void KeyGridWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client{};
    GetClientRect(hwnd_, &client);
    // Drawn off the screen first and copied in one piece, so that a repaint never flickers.
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP surface = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(buffer, surface);
    GridPainter::Options options;
    options.namesShown = namesShown_;
    options.focused = GetFocus() == hwnd_;
    options.font = reinterpret_cast<HFONT>(SendMessageW(GetParent(hwnd_), WM_GETFONT, 0, 0));
    painter_.Paint(buffer, client, Scale(), layout_, options);
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(surface);
    DeleteDC(buffer);
    EndPaint(hwnd_, &paint);
}

void KeyGridWindow::OnLeftButtonDown(POINT point) {
    // A click on a key gives the grid the keyboard focus, so that Delete, Ctrl+C and Ctrl+V
    // after it act on the key rather than on the field typed in last.
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    const int key = KeyAt(point);
    if (key == 0)
        return;
    events_.GridKeyPressed(key);
    dragSource_ = key;
    pressedAt_ = point;
    SetCapture(hwnd_);
}

void KeyGridWindow::OnMouseMove(POINT point, WPARAM buttons) {
    const int key = KeyAt(point);
    events_.GridHovered(key);
    if (!trackingLeave_) {
        // Told once the pointer leaves the window, so that the read-out does not keep the last
        // key it was over.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    if (dragSource_ == 0 || !(buttons & MK_LBUTTON))
        return;
    if (!dragging_) {
        const int dx = std::abs(point.x - pressedAt_.x);
        const int dy = std::abs(point.y - pressedAt_.y);
        if (dx <= GetSystemMetrics(SM_CXDRAG) / 2 && dy <= GetSystemMetrics(SM_CYDRAG) / 2)
            return;
        dragging_ = true;
    }
    // A key takes the drop from the moment the drag starts, its own source key too (a drop there
    // changes nothing); off the grid nothing does.
    SetCursor(LoadCursorW(nullptr, key != 0 ? IDC_HAND : IDC_NO));
}

void KeyGridWindow::OnLeftButtonUp(POINT point) {
    const int source = dragSource_;
    const bool dropped = dragging_;
    const int target = KeyAt(point);
    EndDrag();
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    if (dropped && target != 0 && target != source)
        events_.GridKeyDropped(source, target);
}

void KeyGridWindow::EndDrag() {
    const bool wasDragging = dragging_;
    dragSource_ = 0;
    dragging_ = false;
    if (wasDragging)
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

} // namespace win32
