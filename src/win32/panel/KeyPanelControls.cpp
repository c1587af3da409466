#include "win32/panel/KeyPanelControls.h"

#include "core/document/Views.h"
#include "win32/WideText.h"
#include "win32/panel/ControlText.h"

#include <array>
#include <vector>

namespace win32 {
namespace {

using namespace zr4700;

// Ids of the code fields, slot 1 to 16.
constexpr std::array<int, kCodeSlots> kCodeFieldIds = {
    1000, 1001, 1003, 1004, 1005, 1006, 1007, 1008, 1002, 1011, 1013, 1014, 1015, 1019, 1021, 1022};
// "Mode 1", "Mode 2", "Mode 3".
constexpr std::array<int, 3> kModeIds = {1023, 1026, 1024};
constexpr int kProgrammedKeys = 1016;
constexpr int kKeyNumber = 1012;
constexpr int kKeyName = 1009;
constexpr int kSingleKey = 1018;
constexpr int kGroupKey = 1017;
constexpr int kSetFlagForAll = 1027;
constexpr int kSetModeForAll = 1025;
constexpr int kPreviousKey = 1020;
constexpr int kNextKey = 1051;

// The file format ends a name at ',' or ';', so a name holding one could not be read back.
bool CarriedByTheFile(const std::string& name) {
    return name.find_first_of(",;") == std::string::npos;
}

} // namespace

void KeyPanelControls::Attach(HWND dialog) {
    dialog_ = dialog;
    SendMessageW(Control(kKeyName), EM_SETLIMITTEXT, kMaxKeyNameLength, 0);
}

void KeyPanelControls::TransferToControls() {
    if (!dialog_)
        return;
    ExchangeGuard guard(exchangeDepth_);
    const zr4700::KeyPanel& panel = document_.layout().panel;
    SetChecked(Control(kGroupKey), panel.panelGroup != 0);
    SetControlText(Control(kKeyName), Widen(ShownKeyName(panel.panelName)));
    SetControlNumber(Control(kKeyNumber), panel.panelNumber);
    for (std::size_t slot = 0; slot < kCodeFieldIds.size(); ++slot)
        SetControlText(Control(kCodeFieldIds[slot]), Widen(panel.panelCodeNames[slot]));
    for (std::size_t mode = 0; mode < kModeIds.size(); ++mode)
        SetChecked(Control(kModeIds[mode]), static_cast<int>(mode) == panel.panelMode);
    SetChecked(Control(kSingleKey), panel.panelSingle != 0);
}

void KeyPanelControls::TransferProgrammedKeys() {
    if (!dialog_)
        return;
    ExchangeGuard guard(exchangeDepth_);
    HWND combo = Control(kProgrammedKeys);
    const Layout& layout = document_.layout();
    std::vector<std::wstring> items;
    for (const std::string& item : ProgrammedKeyItems(layout))
        items.push_back(Widen(ShownKeyName(item)));
    // The list is rebuilt only when it changed, so that an open list keeps its place.
    bool same = SendMessageW(combo, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(items.size());
    for (std::size_t i = 0; same && i < items.size(); ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        same = text == items[i];
    }
    if (!same) {
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const std::wstring& item : items)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(layout.programmedKeyComboSelection), 0);
    if (layout.programmedKeyComboSelection < 0)
        SetWindowTextW(combo, L"");
}

bool KeyPanelControls::OnCommand(int id, int notification) {
    if (!dialog_)
        return false;
    if (exchangeDepth_ > 0) {
        // Notifications of the panel's own transfer.
        return id == kKeyName || id == kProgrammedKeys || id == kSingleKey || id == kModeIds[0] ||
               id == kModeIds[1] || id == kModeIds[2];
    }
    switch (id) {
    case kPreviousKey:
        if (notification == BN_CLICKED)
            document_.OnPreviousKey();
        return true;
    case kNextKey:
        if (notification == BN_CLICKED)
            document_.OnNextKey();
        return true;
    case kKeyName:
        if (notification == EN_CHANGE)
            OnKeyNameChanged();
        else if (notification == EN_KILLFOCUS)
            // Typing a name is one step per visit to the field.
            document_.EndTyping();
        return true;
    case kSingleKey:
        if (notification == BN_CLICKED)
            document_.SetSingleKey(IsChecked(Control(kSingleKey)));
        return true;
    case kSetFlagForAll:
        if (notification == BN_CLICKED)
            document_.SetFlagForAll(IsChecked(Control(kSingleKey)));
        return true;
    case kSetModeForAll:
        if (notification == BN_CLICKED)
            document_.SetModeForAll();
        return true;
    case kProgrammedKeys:
        if (notification == CBN_SELCHANGE) {
            const auto position = SendMessageW(Control(kProgrammedKeys), CB_GETCURSEL, 0, 0);
            if (position != CB_ERR)
                document_.SelectProgrammedKey(static_cast<int>(position));
        }
        return true;
    default:
        break;
    }
    for (std::size_t mode = 0; mode < kModeIds.size(); ++mode) {
        if (id != kModeIds[mode])
            continue;
        if (notification == BN_CLICKED)
            document_.SetMode(static_cast<int>(mode));
        return true;
    }
    return false;
}

void KeyPanelControls::OnKeyNameChanged() {
    HWND field = Control(kKeyName);
    const std::wstring typed = ControlText(field);
    const std::string name = Narrow(typed);
    const std::wstring kept = Widen(ShownKeyName(document_.layout().panel.panelName));
    // The name field of a key holds 102 bytes: typing past it is refused, not cut (a shorter
    // text is always taken, so that a long name from an older file can still be shortened). A
    // character the file would take for the end of the name is refused the same way.
    const bool tooLong = name.size() > kMaxKeyNameLength && typed.size() >= kept.size();
    if (tooLong || !CarriedByTheFile(name)) {
        DWORD caret = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
        const auto grown = static_cast<long>(typed.size()) - static_cast<long>(kept.size());
        const long back = static_cast<long>(caret) - grown;
        const long at = back < 0                                ? 0
                        : back > static_cast<long>(kept.size()) ? static_cast<long>(kept.size())
                                                                : back;
        {
            ExchangeGuard guard(exchangeDepth_);
            SetWindowTextW(field, kept.c_str());
        }
        SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(at), at);
        MessageBeep(MB_OK);
        return;
    }
    document_.RenameKey(CutName(name, kMaxKeyNameLength));
}

} // namespace win32
