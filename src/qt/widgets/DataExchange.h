#pragma once
// Helpers for moving a dialog's member values into its controls and back, the way every dialog of
// the program does it: a field whose text already equals its member is not rewritten (the caret
// stays where the user types), notifications raised meanwhile are ignored, and reading stops at
// the first field that fails, after its message, with the field focused and selected.

#include "core/document/ExchangeGuard.h"
#include "core/document/FieldText.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QString>

#include <cstdint>
#include <span>

using zr4700::ExchangeGuard;

namespace Exchange {

void SetText(QLineEdit* edit, const QString& text);
void SetNumber(QLineEdit* edit, long long value);
void SetCheck(QAbstractButton* button, int value);
void SetRadio(QButtonGroup* group, int index);
int Radio(const QButtonGroup* group);
// The same for radio buttons that keep their one choice without a button group: index i is
// buttons[i]; Radio gives -1 when none is chosen.
void SetRadio(std::span<QRadioButton* const> buttons, int index);
int Radio(std::span<QRadioButton* const> buttons);
void SetSlider(QSlider* slider, int value);

// True for a number the core's rules took; otherwise shows its message, focuses and selects the
// field.
bool Check(QLineEdit* edit, const zr4700::TypedNumber& number);

// Reads an unsigned decimal number within [min, max]. On failure shows the message (a positive
// integer expected, or the range), focuses and selects the field and returns false; value is left
// as it was unless storeOutOfRange is set and the text was a number above max.
bool ReadUnsigned(QLineEdit* edit, uint32_t& value, uint32_t min, uint32_t max,
                  bool storeOutOfRange = false);
// Reads a byte 0..255 ("Please enter an integer between 0 and 255." otherwise).
bool ReadByte(QLineEdit* edit, uint8_t& value);
// Reads a signed integer within [min, max] ("Please enter an integer." / the range message).
bool ReadInt(QLineEdit* edit, int32_t& value, int32_t min, int32_t max);

// Puts the focus on a field and selects its text, as after a failed validation.
void FocusAndSelect(QLineEdit* edit);

} // namespace Exchange
