#pragma once
// Reaching dialogs as a user does: a modal dialog is answered once it is open (a thread timer
// finds it, as the user's eye would, from inside its own message loop), and the messages a
// user's keys and clicks post go through the same loop a dialog runs.

#include "win32/Dialog.h"

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <utility>

namespace win32test {

// The visible top-level window of this thread with this caption; nullptr when there is none.
inline HWND FindShownWindow(const std::wstring& caption) {
    struct Search {
        const std::wstring& caption;
        HWND found = nullptr;
    } search{caption};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (IsWindowVisible(window) && s.caption == text) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// What to do in the dialogs that open next, in the order they open.
class DialogAnswers {
  public:
    using Answer = std::function<void(HWND dialog)>;

    static DialogAnswers& Instance() {
        static DialogAnswers answers;
        return answers;
    }
    void When(std::wstring caption, Answer answer) {
        pending_.emplace_back(std::move(caption), std::move(answer));
        if (!timer_)
            timer_ = SetTimer(nullptr, 0, 20, &DialogAnswers::OnTimer);
    }
    bool Done() const { return pending_.empty(); }
    void Clear() {
        pending_.clear();
        Stop();
    }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        DialogAnswers& self = Instance();
        if (self.pending_.empty() || self.answering_)
            return;
        HWND dialog = FindShownWindow(self.pending_.front().first);
        if (!dialog)
            return;
        Answer answer = std::move(self.pending_.front().second);
        self.pending_.pop_front();
        if (self.pending_.empty())
            self.Stop();
        // An answer may open the next dialog, whose loop runs this timer again.
        self.answering_ = true;
        answer(dialog);
        self.answering_ = false;
    }
    void Stop() {
        if (timer_)
            KillTimer(nullptr, timer_);
        timer_ = 0;
    }

    std::deque<std::pair<std::wstring, Answer>> pending_;
    UINT_PTR timer_ = 0;
    bool answering_ = false;
};

inline void WhenDialogOpens(std::wstring caption, DialogAnswers::Answer answer) {
    DialogAnswers::Instance().When(std::move(caption), std::move(answer));
}

// Handles this thread's messages as a dialog's loop does until done() holds or the time is up;
// false on time-out.
// Handles what is queued now.
inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (win32::Dialog::IsDialogMessageOfAnyDialog(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

// A key-down as the keyboard posts it to the window with the focus: lParam carries the set-1
// scan code in bits 16-23 and the extended flag in bit 24.
inline void PressKey(UINT virtualKey, UINT scanCode, bool extended = false, bool alt = false) {
    const LPARAM keyData = static_cast<LPARAM>(1u | (scanCode << 16) | (extended ? 1u << 24 : 0u) |
                                               (alt ? 1u << 29 : 0u));
    PostMessageW(GetFocus(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, keyData);
    Pump();
}

inline void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

} // namespace win32test
