#pragma once
// Every message box of the program goes through here, so that tests can answer them: once
// scripted, no box is shown; each takes the next queued answer and is recorded.

#include "core/document/UserPrompts.h"

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace win32 {

struct ShownMessageBox {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

class MessageBoxes {
  public:
    static int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

    // For tests. A box with no answer left is counted as unanswered and gets the answer that
    // loses nothing: No to a question, else OK.
    static void Script(std::deque<int> answers = {});
    static void Unscript();
    static const std::vector<ShownMessageBox>& Shown();
    static int Unanswered();
};

// The document's questions and errors as the string table words them: questions captioned
// "Warning" with Yes and No and the exclamation icon, errors captioned "Error" with the stop icon.
class MessageBoxPrompts final : public zr4700::UserPrompts {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }

    bool AskYesNo(int stringId, const std::vector<std::string>& args = {}) override;
    void ShowError(int stringId, const std::vector<std::string>& args = {}) override;
    void ShowErrorDetail(int stringId, const std::vector<std::string>& args,
                         const std::string& detail) override;
    void ShowWarningDetail(int stringId, const std::vector<std::string>& args,
                           const std::string& detail) override;
    bool AskYesNoDetail(int stringId, const std::vector<std::string>& args,
                        const std::string& detail) override;

  private:
    int Show(int stringId, const std::vector<std::string>& args, const std::string& detail,
             int captionId, UINT type) const;

    HWND owner_ = nullptr;
};

} // namespace win32
