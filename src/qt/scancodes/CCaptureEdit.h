#pragma once
// The capture dialog's key catcher: an edit that holds the keyboard focus while the dialog is open
// and hands every key press to the dialog as a key stroke of the PC keyboard, auto-repeats
// included. Tab, Enter, Escape, Alt, F10 and the menu key are strokes like any other: none of
// them moves the focus, presses a button, opens a menu or closes the dialog.

#include "core/scancodes/KeyStroke.h"

#include <QLineEdit>

#include <functional>

class CCaptureEdit : public QLineEdit {
    Q_OBJECT

  public:
    using StrokeHandler = std::function<void(const zr4700::KeyStroke&)>;

    explicit CCaptureEdit(QWidget* parent = nullptr);
    ~CCaptureEdit() override;

    // Receives each stroke; a key press that carries no native key code is not a stroke.
    void SetStrokeHandler(StrokeHandler handler) { handler_ = std::move(handler); }

  protected:
    bool event(QEvent* event) override;

  private:
    StrokeHandler handler_;
};
