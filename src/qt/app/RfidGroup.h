#pragma once
// The RFID group of the main window: prefix and suffix with their "Extended" boxes, the digits
// count with its spin buttons and the digits box. Each value reaches the document as the user
// sets it; a prefix or suffix that is no byte is reported once, when its field is left, and the
// document keeps the last valid value.

#include "core/document/Document.h"

#include <QObject>

#include <vector>

class QCheckBox;
class QLineEdit;
class QWidget;
class SpinButtons;

class RfidGroup : public QObject {
    Q_OBJECT

  public:
    // Creates the controls on the surface at their places, in the window's creation order.
    RfidGroup(QWidget* surface, zr4700::Document& document);

    // The document's values into the controls.
    void TransferToControls();
    // The controls into the document, validated: false after the first bad field's message.
    bool ReadControls();
    // From now on nothing is validated: the window is going away.
    void Detach();

    QLineEdit* firstControl() const { return prefixEdit_; }
    // The group's controls in Tab order, row by row as they read.
    std::vector<QWidget*> tabOrder() const;

  private:
    QString Text(const char* key) const;
    void TakeByte(const QString& text, uint8_t zr4700::RfidSettings::*member);
    void ValidateByte(QLineEdit* edit, uint8_t zr4700::RfidSettings::*member);
    template <typename Value> void Set(Value zr4700::RfidSettings::*member, Value value);

    zr4700::Document& document_;
    QLineEdit* prefixEdit_ = nullptr;
    QLineEdit* suffixEdit_ = nullptr;
    QLineEdit* digitsCountEdit_ = nullptr;
    SpinButtons* digitsSpin_ = nullptr;
    QCheckBox* prefixExtendedBox_ = nullptr;
    QCheckBox* suffixExtendedBox_ = nullptr;
    QCheckBox* digitsNumBox_ = nullptr;
    int exchangeDepth_ = 0;
    bool validating_ = false;
    bool detached_ = false;
};
