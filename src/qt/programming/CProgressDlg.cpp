#include "qt/programming/CProgressDlg.h"

#include "core/files/ProgrammingRun.h"
#include "engine/EngineResults.h"
#include "qt/app/CommandActions.h"
#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"
#include "qt/widgets/DialogUnits.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kDialogId = 110;
const Resources::DialogTexts text{kDialogId};

} // namespace

CProgressDlg::CProgressDlg(QWidget* owner) : QDialog(nullptr), owner_(owner) {
    setObjectName(QString::number(kDialogId));
    setWindowTitle(text("caption"));
    setFont(DialogFont());
    // A fixed dialog frame with a caption and a close box, and nothing else.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(Dlu(0, 0, 163, 67).size());

    auto* frame = Place(new QFrame(this), 0, Dlu(6, 3, 150, 57));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_progress = Place(new QProgressBar(this), kProgressId, Dlu(13, 13, 135, 14));
    m_progress->setTextVisible(false);
    okButton_ = Place(new QPushButton(text("1"), this), kOkId, Dlu(15, 36, 50, 14));
    okButton_->setDefault(true);
    okButton_->hide();
    // The transfer is stopped with Escape or the close box; the button itself stays disabled.
    cancelButton_ = Place(new QPushButton(text("2"), this), kCancelId, Dlu(98, 37, 50, 14));
    cancelButton_->setEnabled(false);

    OnInitDialog();
}

CProgressDlg::~CProgressDlg() {
    // The worker uses this object until it has ended.
    CancelAndWait();
}

void CProgressDlg::OnInitDialog() {
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
}

void CProgressDlg::DisableOwner() {
    if (!owner_)
        return;
    QWidget* window = owner_->window();
    ownerFocus_ = window->focusWidget();
    window->setEnabled(false);
}

void CProgressDlg::ShowOverOwner() {
    m_progress->setValue(0);
    if (owner_) {
        QWidget* window = owner_->window();
        CentreOver(this, window);
        // Without a Qt parent the dialog still belongs to its owner's window: it stays above it
        // and is not blocked while that window runs modally.
        winId();
        if (windowHandle() && window->windowHandle())
            windowHandle()->setTransientParent(window->windowHandle());
    }
    show();
    raise();
    activateWindow();
}

int CProgressDlg::StartProgramming(int argc, const char* const argv[],
                                   const std::string& recordedLayoutFile) {
    // One engine run at a time: the keyboard takes one handle at a time, and the worker
    // deletes the temporary file another run would be reading.
    if (m_thread)
        return -1;
    if (!argv || argc < 0)
        argc = 0;

    // The worker reads its own copy of the arguments, so the caller's array may go at once.
    argumentText_.clear();
    for (int i = 0; i < argc; ++i)
        argumentText_.emplace_back(argv[i] ? argv[i] : "");
    m_argv.clear();
    for (int i = 0; i < argc; ++i)
        m_argv.push_back(argv[i] ? argumentText_[static_cast<size_t>(i)].c_str() : nullptr);
    m_argv.push_back(nullptr);
    m_argc = argc;
    recordedLayoutFile_ = recordedLayoutFile;
    m_progress->setValue(0);
    stopRequested_ = false;

    m_thread = QThread::create(&CProgressDlg::ProgrammingThread, this);
    connect(m_thread, &QThread::finished, this, &CProgressDlg::OnWorkerFinished);
    m_thread->start(QThread::LowestPriority);
    return 0;
}

void CProgressDlg::ProgrammingThread(CProgressDlg* dialog) {
    dialog->RunEngine();
    QMetaObject::invokeMethod(dialog, &CProgressDlg::FinishRun, Qt::BlockingQueuedConnection);
}

int CProgressDlg::RunEngine() {
    // Each step waits until the bar has moved, so the bar never runs ahead of the transfer.
    const zr4700::StepNotify notify = [this] {
        QMetaObject::invokeMethod(this, &CProgressDlg::OnProgressStep,
                                  Qt::BlockingQueuedConnection);
    };
    const zr4700::RunOutcome outcome =
        zr4700::RunProgramming(argumentText_, notify, stopRequested_, recordedLayoutFile_);
    for (const zr4700::RunMessage& message : zr4700::RunOutcomeMessages(outcome, ResourceTexts()))
        QMetaObject::invokeMethod(
            this,
            [this, message] {
                ShowEngineError(message.stringId, QString::fromStdString(message.detail));
            },
            Qt::BlockingQueuedConnection);
    return 0;
}

void CProgressDlg::ShowEngineError(int result, const QString& detail) {
    QString message = Resources::String(result);
    if (message.isEmpty())
        message = QString::fromUtf8(zr4700::EngineResultMessage(result));
    Prompts::Instance().ShowErrorTextDetail(message, detail, this);
}

void CProgressDlg::OnProgressStep() {
    m_progress->setValue(std::min(m_progress->value() + 1, m_progress->maximum()));
    m_progress->update();
}

void CProgressDlg::FinishRun() {
    hide();
    EnableOwner();
}

void CProgressDlg::EnableOwner() {
    if (!owner_)
        return;
    QWidget* window = owner_->window();
    window->setEnabled(true);
    if (window->isVisible())
        window->activateWindow();
    if (ownerFocus_ && ownerFocus_->window() == window)
        ownerFocus_->setFocus(Qt::OtherFocusReason);
    ownerFocus_ = nullptr;
}

void CProgressDlg::OnWorkerFinished() {
    QThread* thread = m_thread;
    if (!thread)
        return;
    // The thread procedure has returned; this only collects the ended thread.
    thread->wait();
    m_thread = nullptr;
    delete thread;
    emit WorkerEnded();
}

void CProgressDlg::reject() {
    OnCancel();
}

void CProgressDlg::OnCancel() {
    if (m_thread) {
        // The engine stops after the byte in flight; the worker then cleans up and enables the
        // owner as after any other run. Killing the thread instead could leave the device open,
        // the image allocated and the temporary file behind.
        stopRequested_ = true;
    } else {
        EnableOwner();
    }
    QDialog::reject();
}

void CProgressDlg::CancelAndWait() {
    if (!m_thread)
        return;
    stopRequested_ = true;
    hide();
    // The worker may be waiting on a step or on its final call into this thread, so the wait
    // keeps handling events; the worker's end always posts its finished notification, which
    // wakes this loop.
    while (m_thread)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
