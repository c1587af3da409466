#include "win32/MessageBoxes.h"

#include "win32/Resources.h"
#include "win32/WideText.h"

namespace win32 {
namespace {

struct ScriptState {
    bool scripted = false;
    std::deque<int> answers;
    std::vector<ShownMessageBox> shown;
    int unanswered = 0;
};

ScriptState& script() {
    static ScriptState s;
    return s;
}

} // namespace

int MessageBoxes::Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                       UINT type) {
    ScriptState& s = script();
    if (!s.scripted)
        return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    s.shown.push_back({text, caption, type});
    if (s.answers.empty()) {
        ++s.unanswered;
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    }
    const int answer = s.answers.front();
    s.answers.pop_front();
    return answer;
}

void MessageBoxes::Script(std::deque<int> answers) {
    script() = {true, std::move(answers), {}, 0};
}

void MessageBoxes::Unscript() {
    script() = {};
}

const std::vector<ShownMessageBox>& MessageBoxes::Shown() {
    return script().shown;
}

int MessageBoxes::Unanswered() {
    return script().unanswered;
}

int MessageBoxPrompts::Show(int stringId, const std::vector<std::string>& args,
                            const std::string& detail, int captionId, UINT type) const {
    std::wstring text = Resources::Format(stringId, args);
    // The detail says why or what exactly, below the string table's own text.
    if (!detail.empty())
        text += L"\n\n" + Widen(detail);
    return MessageBoxes::Show(owner_, text, Resources::String(captionId), type);
}

bool MessageBoxPrompts::AskYesNo(int stringId, const std::vector<std::string>& args) {
    return AskYesNoDetail(stringId, args, {});
}

bool MessageBoxPrompts::AskYesNoDetail(int stringId, const std::vector<std::string>& args,
                                       const std::string& detail) {
    return Show(stringId, args, detail, zr4700::kStrWarning, MB_YESNO | MB_ICONEXCLAMATION) ==
           IDYES;
}

void MessageBoxPrompts::ShowError(int stringId, const std::vector<std::string>& args) {
    ShowErrorDetail(stringId, args, {});
}

void MessageBoxPrompts::ShowErrorDetail(int stringId, const std::vector<std::string>& args,
                                        const std::string& detail) {
    Show(stringId, args, detail, zr4700::kStrError, MB_OK | MB_ICONSTOP);
}

void MessageBoxPrompts::ShowWarningDetail(int stringId, const std::vector<std::string>& args,
                                          const std::string& detail) {
    Show(stringId, args, detail, zr4700::kStrWarning, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace win32
