#include "qt/widgets/DataExchange.h"

#include "core/document/FieldText.h"
#include "qt/platform/Prompts.h"

#include <QSignalBlocker>

namespace Exchange {
namespace {

void fail(QLineEdit* edit, const QString& message) {
    Prompts::Instance().ShowValidation(message, edit ? edit->window() : nullptr);
    FocusAndSelect(edit);
}

} // namespace

bool Check(QLineEdit* edit, const zr4700::TypedNumber& number) {
    if (!number.ok)
        fail(edit, FormatString(number.messageId, number.args));
    return number.ok;
}

void SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() == text)
        return;
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

void SetNumber(QLineEdit* edit, long long value) {
    SetText(edit, QString::number(value));
}

void SetCheck(QAbstractButton* button, int value) {
    const QSignalBlocker blocker(button);
    button->setChecked(value != 0);
}

void SetRadio(QButtonGroup* group, int index) {
    const auto buttons = group->buttons();
    for (QAbstractButton* button : buttons) {
        const QSignalBlocker blocker(button);
        button->setChecked(group->id(button) == index);
    }
}

int Radio(const QButtonGroup* group) {
    return group->checkedId();
}

void SetRadio(std::span<QRadioButton* const> buttons, int index) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const QSignalBlocker blocker(buttons[i]);
        buttons[i]->setChecked(static_cast<int>(i) == index);
    }
}

int Radio(std::span<QRadioButton* const> buttons) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked())
            return static_cast<int>(i);
    }
    return -1;
}

void SetSlider(QSlider* slider, int value) {
    const QSignalBlocker blocker(slider);
    slider->setValue(value);
    slider->setToolTip(QString::number(slider->value()));
}

bool ReadUnsigned(QLineEdit* edit, uint32_t& value, uint32_t min, uint32_t max,
                  bool storeOutOfRange) {
    const zr4700::TypedNumber number =
        zr4700::ReadUnsignedText(edit->text().toStdString(), min, max);
    if (number.ok || (number.outOfRange && storeOutOfRange))
        value = static_cast<uint32_t>(number.value);
    return Check(edit, number);
}

bool ReadByte(QLineEdit* edit, uint8_t& value) {
    const zr4700::TypedNumber number = zr4700::ReadByteText(edit->text().toStdString());
    if (number.ok)
        value = static_cast<uint8_t>(number.value);
    return Check(edit, number);
}

bool ReadInt(QLineEdit* edit, int32_t& value, int32_t min, int32_t max) {
    const zr4700::TypedNumber number =
        zr4700::ReadIntegerText(edit->text().toStdString(), min, max);
    if (number.ok)
        value = static_cast<int32_t>(number.value);
    return Check(edit, number);
}

void FocusAndSelect(QLineEdit* edit) {
    if (!edit)
        return;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

} // namespace Exchange
