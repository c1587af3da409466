#pragma once
// "Insert scan-codes by pressing key": the user presses keys of the PC keyboard and each stroke
// becomes set-2 codes with names in the next free of 16 slots. "Back" removes the last stroke,
// "Clear All" empties the slots, "Edit" types the codes as numbers; "OK" keeps them and "Cancel"
// leaves. One object lives as long as the main dialog and is run again for every key.

#include "core/model/KeyRecord.h"
#include "core/scancodes/CaptureSlots.h"
#include "core/scancodes/KeyStroke.h"

#include <QDialog>

#include <array>
#include <string>

class CCaptureEdit;
class QCloseEvent;
class QLineEdit;
class QPushButton;
class QShowEvent;

// The slots (nextSlot, codeSlots with slot 1 at index 0, codeNames) are the dialog's members:
// the caller fills codeSlots and codeNames before running it and reads them after "OK".
class CCaptureDlg : public QDialog, public zr4700::CaptureSlots {
    Q_OBJECT

  public:
    explicit CCaptureDlg(QWidget* parent = nullptr);
    ~CCaptureDlg() override;

    // The widget that holds the keyboard focus and receives the strokes (control 1056).
    CCaptureEdit* captureEdit = nullptr;

    // Starts a run: capturing begins again at slot 1 over the slots as the caller left them.
    void OnInitDialog();
    void TransferToControls();
    // Reads the shown codes and names back into the members.
    bool ReadControls();

    // One key-down of the PC keyboard.
    void OnKeyStroke(const zr4700::KeyStroke& stroke);
    void OnBack();
    void OnClearAll();
    void OnEditCodes();
    void OnCodeFieldFocus();
    // Accept and cancel as the dialog manager would reach them (not the "OK" and "Cancel"
    // buttons): they leave the dialog open and change nothing.
    void OnOK();
    void OnCancel();

    // Control of slot 1..16: its code field and its name field.
    QLineEdit* CodeField(int slot) const;
    QLineEdit* NameField(int slot) const;

  public slots:
    void accept() override;
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnOkButton();
    void OnCancelButton();

    std::array<QLineEdit*, zr4700::kCodeSlots> codeFields_{};
    std::array<QLineEdit*, zr4700::kCodeSlots> nameFields_{};
};
