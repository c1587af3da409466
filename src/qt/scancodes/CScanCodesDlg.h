#pragma once
// "Edit scan codes": the 16 codes of a key typed as decimal numbers 0..255, for codes that cannot
// be captured by pressing keys or to correct captured ones. Any value 0..255 is accepted.

#include "core/scancodes/EditedCodeFields.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QLineEdit;
class QShowEvent;

class CScanCodesDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kSlots = 16;

    explicit CScanCodesDlg(QWidget* parent = nullptr);
    ~CScanCodesDlg() override;

    // The codes, slot 1 first. Set before running the dialog; read after it closed accepted.
    std::array<std::uint32_t, kSlots> editCodes{};

    // Shows the codes and puts the focus in slot 1 (done on every opening).
    void OnInitDialog();
    void TransferToControls();
    // Reads the fields in exchange order; stops at the first bad one after its message, with
    // that field focused and selected. A number above 255 is stored before the message.
    bool ReadControls();
    // A field's text changed (slot 1..16): a bad entry is reported and the field shows its
    // previous value again.
    void OnCodeChanged(int slot);

    // The edit of slot 1..16.
    QLineEdit* CodeField(int slot) const;

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    zr4700::EditedCodeTexts FieldTexts() const;
    // True when every field was read; otherwise shows the refusal at its field.
    bool Report(const zr4700::EditedCodesRead& read);

    std::array<QLineEdit*, kSlots> fields_{};
    int exchangeDepth_ = 0;
};
