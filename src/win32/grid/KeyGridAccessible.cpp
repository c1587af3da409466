#include "win32/grid/KeyGridAccessible.h"

#include "core/document/Views.h"
#include "core/legend/LegendSheet.h"
#include "core/model/GridGeometry.h"
#include "win32/ResourceTexts.h"
#include "win32/Resources.h"
#include "win32/WideText.h"
#include "win32/grid/KeyGridWindow.h"

namespace win32 {
namespace {

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetKey(VARIANT* out, int key) {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = key;
}

} // namespace

KeyGridAccessible::KeyGridAccessible(KeyGridWindow& grid) : grid_(&grid) {}

void KeyGridAccessible::Detach() {
    grid_ = nullptr;
}

// The interface ids come from the headers (__uuidof): the import library's IID_IAccessible is
// the DLL's export, which mingw-w64 links as code rather than as the constant.
HRESULT KeyGridAccessible::QueryInterface(REFIID id, void** object) {
    if (!object)
        return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG KeyGridAccessible::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG KeyGridAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT KeyGridAccessible::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT KeyGridAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT KeyGridAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT KeyGridAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                  UINT*) {
    return E_NOTIMPL;
}

int KeyGridAccessible::KeyOf(const VARIANT& child) const {
    if (child.vt != VT_I4 || !grid_)
        return -1;
    if (child.lVal == CHILDID_SELF)
        return 0;
    return child.lVal >= 1 && child.lVal <= grid_->layout().keyCount ? child.lVal : -1;
}

bool KeyGridAccessible::Focused() const {
    return grid_ && GetFocus() == grid_->hwnd();
}

HRESULT KeyGridAccessible::get_accParent(IDispatch** parent) {
    if (!grid_)
        return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(grid_->hwnd(), static_cast<DWORD>(OBJID_WINDOW),
                                      IID_IDispatch, reinterpret_cast<void**>(parent));
}

HRESULT KeyGridAccessible::get_accChildCount(long* count) {
    if (!grid_)
        return CO_E_OBJNOTCONNECTED;
    if (!count)
        return E_INVALIDARG;
    *count = grid_->layout().keyCount;
    return S_OK;
}

HRESULT KeyGridAccessible::get_accChild(VARIANT child, IDispatch** object) {
    if (!object)
        return E_INVALIDARG;
    *object = nullptr;
    // The keys are simple elements of the grid, not objects of their own.
    return KeyOf(child) > 0 ? S_FALSE : E_INVALIDARG;
}

HRESULT KeyGridAccessible::get_accName(VARIANT child, BSTR* name) {
    const int key = KeyOf(child);
    if (key < 0)
        return grid_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    if (key == 0)
        return Text(Resources::String("a11y.grid"), name);
    return Text(Widen(zr4700::KeyAccessibleName(grid_->layout(), key, ResourceTexts())), name);
}

HRESULT KeyGridAccessible::get_accValue(VARIANT, BSTR* value) {
    if (value)
        *value = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT KeyGridAccessible::get_accDescription(VARIANT child, BSTR* description) {
    const int key = KeyOf(child);
    if (key < 0)
        return grid_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    if (key == 0)
        return Text(Resources::String("a11y.gridDesc"), description);
    const zr4700::Layout& layout = grid_->layout();
    if (layout.state(key) == zr4700::CellState::Blank)
        return Text({}, description);
    return Text(Widen(zr4700::CodeNamesText(layout.key(key).codes)), description);
}

HRESULT KeyGridAccessible::get_accRole(VARIANT child, VARIANT* role) {
    const int key = KeyOf(child);
    if (key < 0)
        return grid_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    if (!role)
        return E_INVALIDARG;
    VariantInit(role);
    role->vt = VT_I4;
    role->lVal = key == 0 ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_PUSHBUTTON;
    return S_OK;
}

HRESULT KeyGridAccessible::get_accState(VARIANT child, VARIANT* state) {
    const int key = KeyOf(child);
    if (key < 0)
        return grid_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    if (!state)
        return E_INVALIDARG;
    long bits = STATE_SYSTEM_FOCUSABLE;
    const bool focused = Focused();
    if (key == 0) {
        if (focused)
            bits |= STATE_SYSTEM_FOCUSED;
    } else {
        bits |= STATE_SYSTEM_SELECTABLE;
        if (key == grid_->layout().currentKey)
            bits |= focused ? STATE_SYSTEM_FOCUSED : STATE_SYSTEM_SELECTED;
    }
    VariantInit(state);
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
}

HRESULT KeyGridAccessible::get_accHelp(VARIANT, BSTR* help) {
    if (help)
        *help = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT KeyGridAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file)
        *file = nullptr;
    if (topic)
        *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT KeyGridAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
    if (shortcut)
        *shortcut = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT KeyGridAccessible::get_accFocus(VARIANT* child) {
    if (!grid_)
        return CO_E_OBJNOTCONNECTED;
    if (!child)
        return E_INVALIDARG;
    VariantInit(child);
    if (!Focused())
        return S_FALSE;
    const int key = grid_->layout().currentKey;
    SetKey(child, key >= 1 && key <= grid_->layout().keyCount ? key : CHILDID_SELF);
    return S_OK;
}

HRESULT KeyGridAccessible::get_accSelection(VARIANT* children) {
    if (!grid_)
        return CO_E_OBJNOTCONNECTED;
    if (!children)
        return E_INVALIDARG;
    VariantInit(children);
    const int key = grid_->layout().currentKey;
    if (key < 1 || key > grid_->layout().keyCount)
        return S_FALSE;
    SetKey(children, key);
    return S_OK;
}

HRESULT KeyGridAccessible::get_accDefaultAction(VARIANT, BSTR* action) {
    if (action)
        *action = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT KeyGridAccessible::accSelect(long flags, VARIANT child) {
    const int key = KeyOf(child);
    if (key < 0)
        return grid_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    if (flags & SELFLAG_TAKEFOCUS)
        SetFocus(grid_->hwnd());
    if (key > 0 && (flags & SELFLAG_TAKESELECTION)) {
        // As a click on the key would.
        const RECT unit = grid_->KeyRect(key);
        const POINT centre{(unit.left + unit.right) / 2, (unit.top + unit.bottom) / 2};
        SendMessageW(grid_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
        SendMessageW(grid_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    }
    return S_OK;
}

HRESULT KeyGridAccessible::accLocation(long* left, long* top, long* width, long* height,
                                       VARIANT child) {
    const int key = KeyOf(child);
    if (key < 0)
        return grid_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    if (!left || !top || !width || !height)
        return E_INVALIDARG;
    RECT bounds{};
    if (key == 0)
        GetClientRect(grid_->hwnd(), &bounds);
    else
        bounds = grid_->KeyRect(key);
    MapWindowPoints(grid_->hwnd(), nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    *left = bounds.left;
    *top = bounds.top;
    *width = bounds.right - bounds.left;
    *height = bounds.bottom - bounds.top;
    return S_OK;
}

HRESULT KeyGridAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    const int key = KeyOf(start);
    if (key < 0)
        return grid_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    if (!end)
        return E_INVALIDARG;
    VariantInit(end);
    const int count = grid_->layout().keyCount;
    int next = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
        next = key == 0 ? 1 : 0;
        break;
    case NAVDIR_LASTCHILD:
        next = key == 0 ? count : 0;
        break;
    case NAVDIR_NEXT:
        next = key > 0 && key < count ? key + 1 : 0;
        break;
    case NAVDIR_PREVIOUS:
        next = key > 1 ? key - 1 : 0;
        break;
    default:
        return E_NOTIMPL;
    }
    if (next == 0)
        return S_FALSE;
    SetKey(end, next);
    return S_OK;
}

HRESULT KeyGridAccessible::accHitTest(long left, long top, VARIANT* child) {
    if (!grid_)
        return CO_E_OBJNOTCONNECTED;
    if (!child)
        return E_INVALIDARG;
    VariantInit(child);
    POINT point{left, top};
    ScreenToClient(grid_->hwnd(), &point);
    RECT client{};
    GetClientRect(grid_->hwnd(), &client);
    if (!PtInRect(&client, point))
        return S_FALSE;
    SetKey(child, grid_->KeyAt(point));
    return S_OK;
}

HRESULT KeyGridAccessible::accDoDefaultAction(VARIANT) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT KeyGridAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT KeyGridAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

} // namespace win32
