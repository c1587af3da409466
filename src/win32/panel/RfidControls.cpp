#include "win32/panel/RfidControls.h"

#include "core/document/UserPrompts.h"
#include "win32/MessageBoxes.h"
#include "win32/RegistryRecentFiles.h"
#include "win32/Resources.h"
#include "win32/panel/ControlText.h"

#include <commctrl.h>

#include <cwchar>

namespace win32 {
namespace {

using zr4700::RfidSettings;

constexpr int kPrefix = 1037;
constexpr int kPrefixExtended = 1039;
constexpr int kSuffix = 1038;
constexpr int kSuffixExtended = 1041;
constexpr int kDigitsCount = 1035;
constexpr int kDigitsSpin = 1036;
constexpr int kDigitsNum = 1042;

// A number from 0 to 255, blanks around it allowed.
bool ParseByte(const std::wstring& text, uint8_t& value) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return false;
    const auto last = text.find_last_not_of(L" \t");
    const std::wstring digits = text.substr(first, last - first + 1);
    if (digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of(L"0123456789") != std::wstring::npos)
        return false;
    const long number = std::wcstol(digits.c_str(), nullptr, 10);
    if (number > 255)
        return false;
    value = static_cast<uint8_t>(number);
    return true;
}

} // namespace

void RfidControls::Attach(HWND dialog) {
    dialog_ = dialog;
    SendMessageW(Control(kDigitsSpin), UDM_SETRANGE32, 1, 13);
    SendMessageW(Control(kPrefix), EM_SETLIMITTEXT, 3, 0);
    SendMessageW(Control(kSuffix), EM_SETLIMITTEXT, 3, 0);
}

void RfidControls::TransferToControls() {
    if (!dialog_)
        return;
    ExchangeGuard guard(exchangeDepth_);
    const RfidSettings& rfid = document_.layout().rfid;
    SetControlNumber(Control(kPrefix), rfid.prefix);
    SetChecked(Control(kPrefixExtended), rfid.prefixExtended != 0);
    SendMessageW(Control(kDigitsSpin), UDM_SETPOS32, 0, rfid.digitsCount);
    SetControlNumber(Control(kDigitsCount), rfid.digitsCount);
    SetControlNumber(Control(kSuffix), rfid.suffix);
    SetChecked(Control(kSuffixExtended), rfid.suffixExtended != 0);
    SetChecked(Control(kDigitsNum), rfid.digitsNum != 0);
}

void RfidControls::Set(const RfidSettings& rfid) {
    if (rfid == document_.layout().rfid)
        return;
    document_.SetRfid(rfid);
}

bool RfidControls::ReadByte(int id, uint8_t& value) {
    HWND field = Control(id);
    if (ParseByte(ControlText(field), value))
        return true;
    MessageBoxes::Show(dialog_, Resources::String(zr4700::kStrByteRangeMessage), ApplicationName(),
                       MB_OK | MB_ICONEXCLAMATION);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return false;
}

bool RfidControls::ReadControls() {
    if (!dialog_)
        return true;
    ExchangeGuard guard(exchangeDepth_);
    RfidSettings rfid = document_.layout().rfid;
    if (!ReadByte(kPrefix, rfid.prefix) || !ReadByte(kSuffix, rfid.suffix))
        return false;
    rfid.prefixExtended = IsChecked(Control(kPrefixExtended)) ? 1 : 0;
    rfid.suffixExtended = IsChecked(Control(kSuffixExtended)) ? 1 : 0;
    rfid.digitsNum = IsChecked(Control(kDigitsNum)) ? 1 : 0;
    Set(rfid);
    return true;
}

void RfidControls::TakeByte(int id, uint8_t RfidSettings::*member) {
    uint8_t value = 0;
    if (!ParseByte(ControlText(Control(id)), value))
        return;
    RfidSettings rfid = document_.layout().rfid;
    rfid.*member = value;
    Set(rfid);
}

bool RfidControls::OnCommand(int id, int notification) {
    if (!dialog_)
        return false;
    const bool mine = id == kPrefix || id == kSuffix || id == kPrefixExtended ||
                      id == kSuffixExtended || id == kDigitsNum || id == kDigitsCount;
    if (!mine)
        return false;
    if (exchangeDepth_ > 0)
        return true;
    RfidSettings rfid = document_.layout().rfid;
    const auto member = id == kPrefix ? &RfidSettings::prefix : &RfidSettings::suffix;
    switch (id) {
    case kPrefix:
    case kSuffix:
        if (notification == EN_CHANGE) {
            TakeByte(id, member);
        } else if (notification == EN_KILLFOCUS) {
            // Typing a value is one step per visit to the field.
            document_.EndTyping();
            // Checked when the user moves on to another control of the window; when the focus
            // leaves the window (another program, the window closing) the check waits for the
            // next save or programming, which reads the fields again.
            if (validating_ || !IsChild(dialog_, GetFocus()))
                break;
            validating_ = true;
            uint8_t value = 0;
            if (ReadByte(id, value)) {
                rfid.*member = value;
                Set(rfid);
            }
            validating_ = false;
        }
        break;
    case kPrefixExtended:
    case kSuffixExtended:
    case kDigitsNum:
        if (notification == BN_CLICKED) {
            const int on = IsChecked(Control(id)) ? 1 : 0;
            (id == kPrefixExtended   ? rfid.prefixExtended
             : id == kSuffixExtended ? rfid.suffixExtended
                                     : rfid.digitsNum) = on;
            Set(rfid);
        }
        break;
    default:
        break;
    }
    return true;
}

bool RfidControls::OnScroll(HWND control) {
    if (!dialog_ || control != Control(kDigitsSpin))
        return false;
    if (exchangeDepth_ > 0)
        return true;
    BOOL failed = FALSE;
    const auto position = SendMessageW(control, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    if (!failed && position >= 1 && position <= 13) {
        RfidSettings rfid = document_.layout().rfid;
        rfid.digitsCount = static_cast<uint8_t>(position);
        Set(rfid);
    }
    return true;
}

} // namespace win32
