#pragma once
// The key panel of the main window: "Single key" and the group flag, the three modes, both "X"
// (set for all keys) buttons, the "Programmed keys:" combo box, and the "Key" group with the key
// number, the name, the 16 code fields and "<<" / ">>". It shows the document's panel values and
// turns what the user does into document edits.

#include "core/document/Document.h"

#include <QObject>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

class KeyPanelControls : public QObject {
    Q_OBJECT

  public:
    // Creates the controls on the surface at their places, in the window's creation order.
    KeyPanelControls(QWidget* surface, zr4700::Document& document);

    // The panel's values into the controls (what showing another key changes).
    void TransferToControls();
    // The combo box's items and selection from the document.
    void TransferProgrammedKeys();

    // The panel's controls in Tab order, top to bottom.
    const std::vector<QWidget*>& tabOrder() const { return tabOrder_; }

    // The user's actions.
    void OnKeyNameChanged(const QString& text);
    void OnSingleKey();
    void OnMode(int mode);
    void OnSetModeForAll();
    void OnSetFlagForAll();
    void OnProgrammedKeySelected(int position);

  signals:
    // The grid shows another selection or other cells than before.
    void gridChanged();

  private:
    zr4700::Document& document_;
    QLineEdit* keyNameEdit_ = nullptr;
    QLineEdit* keyNumberEdit_ = nullptr;
    std::array<QLineEdit*, zr4700::kCodeSlots> codeFields_{};
    QCheckBox* singleKeyButton_ = nullptr;
    QCheckBox* groupKeyButton_ = nullptr;
    std::array<QRadioButton*, 3> modeButtons_{}; // "Mode 1", "Mode 2", "Mode 3"
    QComboBox* programmedKeysCombo_ = nullptr;
    std::vector<QWidget*> tabOrder_;
    int exchangeDepth_ = 0;
};
