#include "win32/FileDialogs.h"

#include "core/document/UserPrompts.h"
#include "win32/Resources.h"

#include <commdlg.h>

#include <algorithm>

namespace win32::FileDialogs {
namespace {

struct Scripted {
    bool scripted = false;
    std::deque<std::optional<Choice>> answers;
    SaveRequest lastSave;
    int unanswered = 0;
};

Scripted& script() {
    static Scripted s;
    return s;
}

// True when scripted; answer then holds the queued answer (empty: cancelled).
bool ScriptedAnswer(std::optional<Choice>& answer) {
    Scripted& s = script();
    if (!s.scripted)
        return false;
    answer.reset();
    if (s.answers.empty()) {
        ++s.unanswered;
        return true;
    }
    answer = s.answers.front();
    s.answers.pop_front();
    return true;
}

// A filter string: name, NUL, pattern, NUL for each type, and a closing NUL.
std::wstring Filter(const std::vector<std::pair<std::wstring, std::wstring>>& types) {
    std::wstring filter;
    for (const auto& [name, pattern] : types) {
        filter += name;
        filter.push_back(L'\0');
        filter += pattern;
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');
    return filter;
}

constexpr DWORD kPathCapacity = 32768;

} // namespace

std::optional<Choice> GetOpenFileName(HWND owner) {
    if (std::optional<Choice> answer; ScriptedAnswer(answer))
        return answer;
    const std::wstring filter =
        Filter({{Resources::String(zr4700::kStrOpenFilterLayouts), L"*.txt"},
                {Resources::String(zr4700::kStrOpenFilterAll), L"*.*"}});
    std::wstring path(kPathCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog))
        return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return Choice{path, static_cast<int>(dialog.nFilterIndex)};
}

std::optional<Choice> GetSaveFileName(HWND owner, const SaveRequest& request) {
    if (std::optional<Choice> answer; ScriptedAnswer(answer)) {
        script().lastSave = request;
        return answer;
    }
    const std::wstring filter = Filter(request.types);
    std::wstring path(kPathCapacity, L'\0');
    path.replace(0, std::min<std::size_t>(request.initialName.size(), kPathCapacity - 1),
                 request.initialName.substr(0, kPathCapacity - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.initialFilterIndex);
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrDefExt = request.defaultExtension.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetSaveFileNameW(&dialog))
        return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return Choice{path, static_cast<int>(dialog.nFilterIndex)};
}

void Script(std::deque<std::optional<Choice>> answers) {
    script() = {true, std::move(answers), {}, 0};
}

void Unscript() {
    script() = {};
}

int Unanswered() {
    return script().unanswered;
}

const SaveRequest& LastSaveRequest() {
    return script().lastSave;
}

} // namespace win32::FileDialogs
