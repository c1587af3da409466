#include "win32/programming/CProgressDlg.h"

#include "win32/ResourceTexts.h"

#include <commctrl.h>

namespace win32 {

CProgressDlg::~CProgressDlg() {
    // The worker posts to this window until it has ended.
    CancelAndWait();
}

BOOL CProgressDlg::OnInitDialog() {
    SendMessageW(Control(kProgressId), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    prompts_.SetOwner(hwnd());
    return TRUE;
}

int CProgressDlg::Position() const {
    return static_cast<int>(SendMessageW(Control(kProgressId), PBM_GETPOS, 0, 0));
}

bool CProgressDlg::StartProgramming(HWND owner, std::vector<std::string> arguments,
                                    std::string recordedLayoutFile,
                                    std::function<void()> finished) {
    // One engine run at a time: the keyboard takes one handle at a time.
    if (IsProgramming() || !Create(owner))
        return false;
    owner_ = owner;
    m_argv = std::move(arguments);
    recordedLayoutFile_ = std::move(recordedLayoutFile);
    finished_ = std::move(finished);
    stopRequested_ = false;
    SendMessageW(Control(kProgressId), PBM_SETPOS, 0, 0);
    if (owner_)
        EnableWindow(owner_, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    // The focus is in this dialog (its only visible button is disabled), so that Escape reaches
    // it rather than the disabled owner.
    SetFocus(hwnd());
    m_thread = std::thread([this] { RunEngine(); });
    return true;
}

void CProgressDlg::RunEngine() {
    // The transfer goes on at the lowest priority, so the window stays responsive.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    const HWND window = hwnd();
    const zr4700::StepNotify notify = [window] { PostMessageW(window, kStepMessage, 0, 0); };
    zr4700::RunOutcome outcome =
        zr4700::RunProgramming(m_argv, notify, stopRequested_, recordedLayoutFile_);
    {
        const std::lock_guard lock(outcomeMutex_);
        outcome_ = std::move(outcome);
    }
    PostMessageW(window, kFinishedMessage, 0, 0);
}

INT_PTR CProgressDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kStepMessage:
        OnProgressStep();
        return TRUE;
    case kFinishedMessage:
        OnFinished();
        return TRUE;
    default:
        return Dialog::OnMessage(message, wParam, lParam);
    }
}

void CProgressDlg::OnProgressStep() {
    // The bar stops at 100: a 450-byte image brings more steps than that.
    const int position = Position();
    if (position < 100)
        SendMessageW(Control(kProgressId), PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
}

void CProgressDlg::OnFinished() {
    if (!m_thread.joinable())
        return;
    // The worker has posted its last message and only returns now.
    m_thread.join();
    zr4700::RunOutcome outcome;
    {
        const std::lock_guard lock(outcomeMutex_);
        outcome = outcome_;
    }
    // The messages stand over this dialog, still shown, as the run's last word.
    for (const zr4700::RunMessage& shown : zr4700::RunOutcomeMessages(outcome, ResourceTexts()))
        prompts_.ShowErrorDetail(shown.stringId, {}, shown.detail);
    ShowWindow(hwnd(), SW_HIDE);
    if (owner_) {
        EnableWindow(owner_, TRUE);
        SetActiveWindow(owner_);
    }
    if (finished_) {
        const std::function<void()> finished = std::move(finished_);
        finished_ = nullptr;
        finished();
    }
}

void CProgressDlg::OnCancel() {
    // The engine stops after the byte in flight, closes the device and frees the image; the
    // worker's end then hides the dialog. Killing the thread instead could leave the device open.
    if (IsProgramming())
        stopRequested_ = true;
    else
        ShowWindow(hwnd(), SW_HIDE);
}

void CProgressDlg::CancelAndWait() {
    if (!IsProgramming())
        return;
    // The worker never waits for this thread, so it can be waited for here; what it posted goes
    // with the window. A run stopped this way says nothing more.
    stopRequested_ = true;
    m_thread.join();
    if (hwnd())
        ShowWindow(hwnd(), SW_HIDE);
    if (owner_ && IsWindow(owner_))
        EnableWindow(owner_, TRUE);
    if (finished_) {
        const std::function<void()> finished = std::move(finished_);
        finished_ = nullptr;
        finished();
    }
}

} // namespace win32
