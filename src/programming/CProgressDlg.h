#pragma once
// "Programming...": the modeless progress dialog that runs the programming engine on a worker
// thread and shows its steps.

#include <QDialog>

class CProgressDlg : public QDialog {
    Q_OBJECT

public:
    explicit CProgressDlg(QWidget* owner);
    ~CProgressDlg() override;
    // Asks a running transfer to stop and waits for the worker while processing events.
    void CancelAndWait();
};
