#pragma once
// The common Open and Save As dialogs, through one place that tests can answer: once scripted,
// no dialog is shown and each takes the next queued answer (an empty one is Cancel).

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace win32::FileDialogs {

struct Choice {
    std::wstring path;
    int filterIndex = 1; // 1-based, as the dialog reports it
};

struct SaveRequest {
    // Each file type's name and pattern.
    std::vector<std::pair<std::wstring, std::wstring>> types;
    int initialFilterIndex = 1;
    std::wstring title;                     // empty: the system's "Save As"
    std::wstring defaultExtension = L"txt"; // added to a name typed without one
    std::wstring initialName;               // the name the dialog offers first
};

// "Layout files (*.txt)" first, then "All files (*)".
std::optional<Choice> GetOpenFileName(HWND owner);
// Asks before an existing file is overwritten.
std::optional<Choice> GetSaveFileName(HWND owner, const SaveRequest& request);

// For tests.
void Script(std::deque<std::optional<Choice>> answers = {});
void Unscript();
int Unanswered();
// The request of the last Save As asked while scripted.
const SaveRequest& LastSaveRequest();

} // namespace win32::FileDialogs
