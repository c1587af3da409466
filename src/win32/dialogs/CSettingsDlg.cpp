#include "win32/dialogs/CSettingsDlg.h"

#include "win32/WideText.h"
#include "win32/dialogs/DialogFields.h"

#include <commctrl.h>

#include <array>

namespace win32 {
namespace {

constexpr std::array<int, 2> kModelIds = {1030, 1031};
constexpr std::array<int, 2> kBeepIds = {1023, 1024};
constexpr std::array<int, 2> kKeysTypeIds = {CSettingsDlg::kMakeBreakId,
                                             CSettingsDlg::kTypematicId};
constexpr int kLargestDelay = 3;
constexpr int kLargestRate = 31;

void SetSlider(HWND slider, int position) {
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

int SliderPosition(HWND slider) {
    return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

} // namespace

void CSettingsDlg::TakeValues(const zr4700::Layout& layout) {
    const zr4700::KeyboardSettings& s = layout.settings;
    keysType = s.keysType;
    keyBeep = s.keyBeep;
    keyDelay = s.keyDelay;
    typematicRate = s.typematicRate;
    keysPause = s.keysPause;
    model = layout.keyCount == zr4700::kBlockKeys ? 0 : 1;
}

bool CSettingsDlg::ApplyTo(zr4700::Document& document) const {
    zr4700::KeyboardSettings settings;
    settings.keysType = keysType;
    settings.keyBeep = keyBeep;
    settings.keyDelay = keyDelay;
    settings.typematicRate = typematicRate;
    settings.keysPause = keysPause;
    return document.ApplySettings(settings, model == 1 ? zr4700::kMaxKeys : zr4700::kBlockKeys);
}

BOOL CSettingsDlg::OnInitDialog() {
    // The ranges first, so that the positions shown are not cut to a default range.
    SendMessageW(Control(kDelaySliderId), TBM_SETRANGE, TRUE, MAKELPARAM(0, kLargestDelay));
    SendMessageW(Control(kRateSliderId), TBM_SETRANGE, TRUE, MAKELPARAM(0, kLargestRate));
    TransferToControls();
    EnableSliders(keysType == 1);
    return TRUE;
}

void CSettingsDlg::TransferToControls() {
    SetRadioIndex(hwnd(), kModelIds, model);
    SetRadioIndex(hwnd(), kBeepIds, keyBeep);
    SetSlider(Control(kDelaySliderId), keyDelay);
    SetSlider(Control(kRateSliderId), typematicRate);
    SetRadioIndex(hwnd(), kKeysTypeIds, keysType);
    SetControlNumber(Control(kPauseId), keysPause);
}

bool CSettingsDlg::ReadControls() {
    const zr4700::TypedNumber pause =
        zr4700::ReadIntegerText(Narrow(ControlText(Control(kPauseId))), 1, 255);
    if (!CheckFieldNumber(hwnd(), Control(kPauseId), pause))
        return false;
    model = RadioIndex(hwnd(), kModelIds);
    keyBeep = RadioIndex(hwnd(), kBeepIds);
    // Disabled sliders still give their positions.
    keyDelay = SliderPosition(Control(kDelaySliderId));
    typematicRate = SliderPosition(Control(kRateSliderId));
    keysType = RadioIndex(hwnd(), kKeysTypeIds);
    keysPause = static_cast<int32_t>(pause.value);
    return true;
}

void CSettingsDlg::EnableSliders(bool enabled) {
    EnableWindow(Control(kRateSliderId), enabled);
    EnableWindow(Control(kDelaySliderId), enabled);
}

bool CSettingsDlg::OnCommand(int id, int notification, HWND control) {
    if (notification == BN_CLICKED && id == kMakeBreakId) {
        OnMakeBreak();
        return true;
    }
    if (notification == BN_CLICKED && id == kTypematicId) {
        OnTypematic();
        return true;
    }
    return Dialog::OnCommand(id, notification, control);
}

void CSettingsDlg::OnOK() {
    if (ReadControls())
        End(IDOK);
}

bool OnSettings(HWND owner, zr4700::Document& document) {
    CSettingsDlg dialog;
    dialog.TakeValues(document.layout());
    if (dialog.RunModal(owner) != IDOK)
        return false;
    return dialog.ApplyTo(document);
}

} // namespace win32
