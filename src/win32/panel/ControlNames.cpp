#include "win32/panel/ControlNames.h"

#include "win32/Resources.h"
#include "win32/panel/ControlText.h"

#include <commctrl.h>
#include <oleacc.h>

#include <array>

namespace win32 {
namespace {

// The constants from the headers: the import library's GUIDs link as code under mingw-w64.
constexpr GUID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// The code fields, slot 1 to 16.
constexpr std::array<int, 16> kCodeFieldIds = {1000, 1001, 1003, 1004, 1005, 1006, 1007, 1008,
                                               1002, 1011, 1013, 1014, 1015, 1019, 1021, 1022};
// The "X" buttons, named by the label after them.
constexpr std::array<int, 2> kSetForAllIds = {1027, 1025};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool IsLabel(HWND window) {
    return _wcsicmp(ClassOf(window).c_str(), L"Static") == 0 && GetWindowTextLengthW(window) > 0;
}

// A control with no text of its own to be read.
bool NeedsLabel(HWND window) {
    const std::wstring type = ClassOf(window);
    return _wcsicmp(type.c_str(), L"Edit") == 0 || _wcsicmp(type.c_str(), L"ComboBox") == 0 ||
           _wcsicmp(type.c_str(), UPDOWN_CLASSW) == 0;
}

// A label's text as it is read: without the mnemonic's ampersand.
std::wstring Spoken(std::wstring text) {
    const auto at = text.find(L'&');
    if (at != std::wstring::npos)
        text.erase(at, 1);
    return text;
}

std::wstring OwnName(int id) {
    for (std::size_t slot = 0; slot < kCodeFieldIds.size(); ++slot) {
        if (kCodeFieldIds[slot] == id)
            return Resources::Format("a11y.code", {std::to_string(slot + 1)});
    }
    switch (id) {
    case 1020:
        return Resources::String("a11y.previousKey");
    case 1051:
        return Resources::String("a11y.nextKey");
    case 1036:
        return Resources::String("a11y.digitsSpin");
    default:
        return {};
    }
}

} // namespace

std::vector<ControlName> LabelledControlNames(HWND dialog) {
    std::vector<ControlName> names;
    std::wstring label;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (IsLabel(child)) {
            label = Spoken(ControlText(child));
            // An "X" button is named by the label that follows it.
            HWND before = GetWindow(child, GW_HWNDPREV);
            const int beforeId = before ? GetDlgCtrlID(before) : 0;
            for (const int x : kSetForAllIds) {
                if (beforeId == x)
                    names.push_back({x, label});
            }
            continue;
        }
        if (std::wstring own = OwnName(id); !own.empty())
            names.push_back({id, own});
        else if (NeedsLabel(child) && !label.empty())
            names.push_back({id, label});
        label.clear();
    }
    return names;
}

bool NameControlsByTheirLabels(HWND dialog) {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                kAccPropServicesInterface, reinterpret_cast<void**>(&services))))
        return false;
    for (const ControlName& control : LabelledControlNames(dialog)) {
        HWND window = GetDlgItem(dialog, control.id);
        services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 kNameProperty, control.name.c_str());
    }
    services->Release();
    return true;
}

} // namespace win32
