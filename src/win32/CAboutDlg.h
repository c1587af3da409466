#pragma once
// Help > About: dialog 100 with bitmap 108, the version line, a second line and OK.

#include "win32/Dialog.h"

namespace win32 {

class CAboutDlg final : public Dialog {
  public:
    static constexpr int kTemplateId = 100;
    static constexpr int kPictureId = 108;

    CAboutDlg() : Dialog(kTemplateId) {}
    ~CAboutDlg() override;

  protected:
    BOOL OnInitDialog() override;

  private:
    HBITMAP picture_ = nullptr;
};

} // namespace win32
