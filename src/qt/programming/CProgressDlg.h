#pragma once
// "Programming...": the modeless progress dialog that runs the programming engine on a worker
// thread and shows its steps.
//
// Threads: the user-interface thread owns this dialog and its owner; the worker only runs the
// engine. Everything the worker needs from the user interface (a step of the bar, the engine's
// error box, hiding this dialog and enabling the owner at the end) it asks of the
// user-interface thread by a blocking queued call and waits until that is done, as a sent window
// message would. The user-interface thread in turn never waits for the worker without keeping
// its event loop running, so neither side can freeze the other.

#include <QDialog>
#include <QPointer>

#include <atomic>
#include <string>
#include <vector>

class QProgressBar;
class QPushButton;
class QThread;

class CProgressDlg : public QDialog {
    Q_OBJECT

  public:
    // Dialog 110's control ids.
    static constexpr int kProgressId = 1044;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    // owner is the window disabled while a transfer runs. It is not this dialog's Qt parent: a
    // disabled Qt parent would disable the dialog too, and Escape and the close box must keep
    // working. The owner deletes the dialog.
    explicit CProgressDlg(QWidget* owner);
    ~CProgressDlg() override;

    // Disables the owner's window for a transfer, remembering which control had the focus so
    // that the user finds it there again afterwards.
    void DisableOwner();
    // Shows the dialog centred over its owner, with the bar at 0.
    void ShowOverOwner();

    // Starts the worker on the engine's argument vector (copied). Returns 0; -1 when a worker
    // is still under way (no second run starts then). After a complete transfer the record of
    // what the keyboard holds names recordedLayoutFile (empty: none, for an untitled layout);
    // see engine/RecordedProgramming.h.
    int StartProgramming(int argc, const char* const argv[],
                         const std::string& recordedLayoutFile = {});

    // Asks a running transfer to stop and waits for the worker while processing events.
    void CancelAndWait();

    // A worker exists (running, or ended and not yet joined).
    bool IsProgramming() const { return m_thread != nullptr; }
    QThread* Worker() const { return m_thread; }
    QProgressBar* ProgressBar() const { return m_progress; }

    // The worker's thread procedure: runs the engine, then has this dialog hidden and the owner
    // enabled.
    static void ProgrammingThread(CProgressDlg* dialog);
    // On the worker: the engine run, the error box for an engine message (and, when the keyboard
    // was left partly programmed, the box that says so), the layout file deleted. Returns 0.
    int RunEngine();

  public slots:
    // One step of the transfer: the bar moves by one, up to 100.
    void OnProgressStep();

  signals:
    // The worker has ended and has been joined.
    void WorkerEnded();

  protected:
    void OnInitDialog();
    // Escape and the close box.
    void reject() override;
    void OnCancel();

  private:
    // User-interface thread, at the worker's request.
    void ShowEngineError(int result, const QString& detail);
    void FinishRun();
    // User-interface thread, once the worker's thread has finished.
    void OnWorkerFinished();
    void EnableOwner();

    QThread* m_thread = nullptr;
    int m_argc = 0;
    std::vector<const char*> m_argv;
    QProgressBar* m_progress = nullptr;

    std::vector<std::string> argumentText_;
    std::string recordedLayoutFile_;
    std::atomic<bool> stopRequested_{false};
    QPointer<QWidget> owner_;
    QPointer<QWidget> ownerFocus_;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
