#pragma once
// File > Settings...: "Keyboard settings" (template 146), the keyboard model, keys pause, keys
// type, key beep and the two repeat sliders, over the document's settings edit.

#include "core/document/Document.h"
#include "win32/Dialog.h"

#include <cstdint>

namespace win32 {

class CSettingsDlg final : public Dialog {
  public:
    static constexpr int kTemplateId = 146;
    static constexpr int kRateSliderId = 1029;
    static constexpr int kDelaySliderId = 1027;
    static constexpr int kPauseId = 1043;
    static constexpr int kMakeBreakId = 1021;
    static constexpr int kTypematicId = 1022;

    CSettingsDlg() : Dialog(kTemplateId) {}

    int32_t model = 0; // 0 model S (56 keys), 1 model D (112 keys)
    int32_t keyBeep = 0;
    int32_t keyDelay = 0;
    int32_t typematicRate = 0;
    int32_t keysType = 0;
    int32_t keysPause = 0;

    // Before every showing: the layout's settings and model.
    void TakeValues(const zr4700::Layout& layout);
    // After OK: the values become the document's (one step of its history). False when the
    // document did not take them (the user kept the keys a switch to 56 keys would clear).
    bool ApplyTo(zr4700::Document& document) const;

    void TransferToControls();
    // Reads the controls back; false after the message of the first field refused.
    bool ReadControls();

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int notification, HWND control) override;
    void OnOK() override;

  private:
    void EnableSliders(bool enabled);
    void OnMakeBreak() { EnableSliders(false); }
    void OnTypematic() { EnableSliders(true); }
};

// File > Settings... over a document: the dialog runs modally over owner and, when it ends with
// OK, the document takes its values. True when it did.
bool OnSettings(HWND owner, zr4700::Document& document);

} // namespace win32
