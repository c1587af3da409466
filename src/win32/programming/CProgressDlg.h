#pragma once
// "Programming..." (template 110): the modeless dialog that runs the programming engine on a
// worker thread and shows its steps on the bar.
//
// Threads: the user-interface thread owns this dialog and its owner; the worker only runs the
// engine. It tells the dialog of every step and of its end by posting private messages, so the
// worker never waits for the window and the window never waits for the worker: the engine's
// messages, hiding the dialog and enabling the owner all happen on the user-interface thread
// once the worker's end has arrived. Escape and the close box stop a transfer after the byte in
// flight; the worker then ends as after any other run.

#include "core/files/ProgrammingRun.h"
#include "win32/Dialog.h"
#include "win32/MessageBoxes.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace win32 {

class CProgressDlg final : public Dialog {
  public:
    static constexpr int kTemplateId = 110;
    static constexpr int kProgressId = 1044;
    // The worker's messages: one step of the transfer, and its end.
    static constexpr UINT kStepMessage = WM_APP + 1;
    static constexpr UINT kFinishedMessage = WM_APP + 2;

    CProgressDlg() : Dialog(kTemplateId) {}
    ~CProgressDlg() override;

    // Shows the dialog (made at its first use) over owner, disables the owner and starts the
    // worker on the engine's arguments. recordedLayoutFile names the layout in the record of
    // what the keyboard holds (empty for an untitled one). finished is called on the
    // user-interface thread once the run is over and its messages were shown. False when a run
    // is still under way or the window could not be made.
    bool StartProgramming(HWND owner, std::vector<std::string> arguments,
                          std::string recordedLayoutFile, std::function<void()> finished = {});

    bool IsProgramming() const { return m_thread.joinable(); }
    int Position() const;
    // Stops a running transfer and waits for its end (closing the program mid-transfer).
    void CancelAndWait();

  protected:
    BOOL OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The OK button keeps the base behaviour but is never shown.
    void OnOK() override {}
    // Escape and the close box.
    void OnCancel() override;

  private:
    void OnProgressStep();
    void OnFinished();
    void RunEngine();

    std::thread m_thread;
    std::vector<std::string> m_argv;
    std::string recordedLayoutFile_;
    std::atomic<bool> stopRequested_{false};
    std::mutex outcomeMutex_;
    zr4700::RunOutcome outcome_;
    HWND owner_ = nullptr;
    std::function<void()> finished_;
    MessageBoxPrompts prompts_;
};

} // namespace win32
