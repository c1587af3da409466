#include "qt/widgets/DataExchange.h"

#include "core/document/UserPrompts.h"
#include "qt/platform/Prompts.h"

#include <QSignalBlocker>

namespace Exchange {
namespace {

bool isUnsignedDecimal(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    for (QChar c : trimmed) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

void fail(QLineEdit* edit, const QString& message) {
    Prompts::Instance().ShowValidation(message, edit ? edit->window() : nullptr);
    FocusAndSelect(edit);
}

} // namespace

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
    const QString text = edit->text().trimmed();
    if (!isUnsignedDecimal(text)) {
        fail(edit, FormatString(zr4700::kStrPositiveMessage));
        return false;
    }
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok);
    if (!ok || number < min || number > max) {
        if (ok && storeOutOfRange && number <= 0xFFFFFFFFull)
            value = static_cast<uint32_t>(number);
        fail(edit,
             FormatString(zr4700::kStrRangeMessage, {std::to_string(min), std::to_string(max)}));
        return false;
    }
    value = static_cast<uint32_t>(number);
    return true;
}

bool ReadByte(QLineEdit* edit, uint8_t& value) {
    bool ok = false;
    const QString text = edit->text().trimmed();
    const int number = text.toInt(&ok);
    if (!ok || number < 0 || number > 255) {
        fail(edit, FormatString(zr4700::kStrByteRangeMessage));
        return false;
    }
    value = static_cast<uint8_t>(number);
    return true;
}

bool ReadInt(QLineEdit* edit, int32_t& value, int32_t min, int32_t max) {
    bool ok = false;
    const long long number = edit->text().trimmed().toLongLong(&ok);
    if (!ok) {
        fail(edit, FormatString(zr4700::kStrIntegerMessage));
        return false;
    }
    if (number < min || number > max) {
        fail(edit,
             FormatString(zr4700::kStrRangeMessage, {std::to_string(min), std::to_string(max)}));
        return false;
    }
    value = static_cast<int32_t>(number);
    return true;
}

void FocusAndSelect(QLineEdit* edit) {
    if (!edit)
        return;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

} // namespace Exchange
