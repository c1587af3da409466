#include "win32/LegendOptionsDlg.h"

#include "win32/MessageBoxes.h"
#include "win32/RegistryRecentFiles.h"
#include "win32/Resources.h"
#include "win32/WideText.h"
#include "win32/panel/ControlText.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>

namespace win32 {

using namespace zr4700;

namespace {

struct Scripted {
    bool scripted = false;
    std::deque<std::optional<LegendOptions>> answers;
    int unanswered = 0;
};

Scripted& script() {
    static Scripted s;
    return s;
}

// A size as the user reads it: up to six significant digits, no trailing zeros.
std::string SizeText(double value) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// A number in the user's decimal notation, or with a point, which is a decimal point anywhere.
bool ParseSize(const std::wstring& text, double& value) {
    std::wstring trimmed = text;
    while (!trimmed.empty() && std::iswspace(trimmed.back()))
        trimmed.pop_back();
    std::size_t start = 0;
    while (start < trimmed.size() && std::iswspace(trimmed[start]))
        ++start;
    trimmed.erase(0, start);
    wchar_t separator[4] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
    if (separator[0] && separator[0] != L'.' && separator[1] == L'\0') {
        for (wchar_t& c : trimmed) {
            if (c == separator[0])
                c = L'.';
        }
    }
    if (trimmed.empty())
        return false;
    wchar_t* end = nullptr;
    value = std::wcstod(trimmed.c_str(), &end);
    return end && *end == L'\0' && std::isfinite(value);
}

} // namespace

bool LegendOptionsDlg::Ask(HWND owner, LegendOptions& options) {
    Scripted& s = script();
    if (s.scripted) {
        if (s.answers.empty()) {
            ++s.unanswered;
            return false;
        }
        const std::optional<LegendOptions> answer = s.answers.front();
        s.answers.pop_front();
        if (!answer)
            return false;
        options = *answer;
        return true;
    }
    LegendOptionsDlg dialog(options);
    if (dialog.RunModal(owner) != IDOK)
        return false;
    options = dialog.options();
    return true;
}

void LegendOptionsDlg::Script(std::deque<std::optional<LegendOptions>> answers) {
    script() = {true, std::move(answers), 0};
}

void LegendOptionsDlg::Unscript() {
    script() = {};
}

int LegendOptionsDlg::Unanswered() {
    return script().unanswered;
}

BOOL LegendOptionsDlg::OnInitDialog() {
    SetWindowTextW(hwnd(), Resources::String("legend.options.title").c_str());
    const std::pair<int, const char*> texts[] = {{kArrangementLabel, "legend.options.arrange"},
                                                 {kPitchLabel, "legend.options.pitch"},
                                                 {kMarginLabel, "legend.options.margin"},
                                                 {kOnlyProgrammed, "legend.options.only"},
                                                 {kCodeNames, "legend.options.codes"}};
    for (const auto& [id, key] : texts)
        SetControlText(Control(id), Resources::String(key));
    // In the order of LegendArrangement.
    HWND arrangement = Control(kArrangement);
    for (const char* key : {"legend.options.keyboard", "legend.options.packed"})
        SendMessageW(arrangement, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Resources::String(key).c_str()));
    SendMessageW(arrangement, CB_SETCURSEL, static_cast<WPARAM>(options_.arrangement), 0);
    SetControlText(Control(kPitch), Widen(SizeText(options_.pitchMm)));
    SetControlText(Control(kMargin), Widen(SizeText(options_.marginMm)));
    CheckDlgButton(hwnd(), kOnlyProgrammed, options_.onlyProgrammed ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), kCodeNames, options_.showCodeNames ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

bool LegendOptionsDlg::ReadSize(int id, const char* messageKey, double low, double high,
                                double& value) {
    HWND field = Control(id);
    double read = 0;
    if (ParseSize(ControlText(field), read) && read >= low && read <= high) {
        value = read;
        return true;
    }
    MessageBoxes::Show(hwnd(), Resources::Format(messageKey, {SizeText(low), SizeText(high)}),
                       ApplicationName(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return false;
}

void LegendOptionsDlg::OnOK() {
    double pitch = 0;
    double margin = 0;
    if (!ReadSize(kPitch, "legend.options.badPitch", kMinPitchMm, kMaxPitchMm, pitch) ||
        !ReadSize(kMargin, "legend.options.badMargin", 0.0, MaxMarginMm(pitch), margin))
        return;
    options_.arrangement = SendMessageW(Control(kArrangement), CB_GETCURSEL, 0, 0) == 1
                               ? LegendArrangement::Packed
                               : LegendArrangement::Keyboard;
    options_.pitchMm = pitch;
    options_.marginMm = margin;
    options_.onlyProgrammed = IsDlgButtonChecked(hwnd(), kOnlyProgrammed) == BST_CHECKED;
    options_.showCodeNames = IsDlgButtonChecked(hwnd(), kCodeNames) == BST_CHECKED;
    End(IDOK);
}

} // namespace win32
