#include "qt/scancodes/KeyPanelControls.h"

#include "qt/platform/NameText.h"
#include "qt/platform/Resources.h"
#include "qt/widgets/DataExchange.h"
#include "qt/widgets/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

using namespace zr4700;

namespace {

constexpr int kDialogId = 102;
const Resources::DialogTexts text{kDialogId};

// Ids of the code fields of the key panel, slot 1 to 16.
constexpr std::array<int, kCodeSlots> kCodeFieldIds = {
    1000, 1001, 1003, 1004, 1005, 1006, 1007, 1008, 1002, 1011, 1013, 1014, 1015, 1019, 1021, 1022};

QLabel* label(QWidget* parent, const QString& caption, const QRect& rect) {
    return Place(new QLabel(caption, parent), 0, rect);
}

QGroupBox* group(QWidget* parent, const QString& caption, const QRect& rect) {
    auto* box = Place(new QGroupBox(caption, parent), 0, rect);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    return box;
}

// The file format ends a name at ',' or ';', so a name holding one could not be read back.
// A button whose own caption ("X") says nothing takes its name from the label beside it.
void NameAfter(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    control->setAccessibleName(label->text());
}

bool CarriedByTheFile(const QString& name) {
    return !name.contains(QLatin1Char(',')) && !name.contains(QLatin1Char(';'));
}

} // namespace

KeyPanelControls::KeyPanelControls(QWidget* surface, Document& document)
    : QObject(surface), document_(document) {
    // Key flags and key mode.
    group(surface, text("group.flags"), Dlu(172, 3, 107, 44));
    singleKeyButton_ = Place(new QCheckBox(text(1018), surface), 1018, Dlu(177, 14, 50, 10));
    groupKeyButton_ = Place(new QCheckBox(text(1017), surface), 1017, Dlu(230, 14, 46, 10));
    groupKeyButton_->setEnabled(false);
    auto* flagForAll = Place(new QPushButton(text(1027), surface), 1027, Dlu(177, 33, 10, 10));
    NameAfter(label(surface, text("label.flagForAll"), Dlu(190, 34, 86, 8)), flagForAll);

    group(surface, text("group.mode"), Dlu(282, 3, 91, 44));
    // The arrow keys belong to the grid, so each mode is a tab stop of its own that Space
    // chooses. The buttons keep their one choice themselves: in a button group (or
    // auto-exclusive) Tab would reach only the chosen one.
    modeButtons_ = {Place(new QRadioButton(text(1023), surface), 1023, Dlu(286, 12, 40, 10)),
                    Place(new QRadioButton(text(1026), surface), 1026, Dlu(286, 23, 40, 10)),
                    Place(new QRadioButton(text(1024), surface), 1024, Dlu(330, 12, 40, 10))};
    for (QRadioButton* button : modeButtons_)
        button->setAutoExclusive(false);
    auto* modeForAll = Place(new QPushButton(text(1025), surface), 1025, Dlu(286, 33, 10, 10));
    NameAfter(label(surface, text("label.modeForAll"), Dlu(299, 34, 72, 8)), modeForAll);

    // Right column: programmed keys and the key panel.
    auto* programmedKeysLabel = label(surface, text("label.programmedKeys"), Dlu(377, 6, 128, 8));
    programmedKeysCombo_ = Place(new QComboBox(surface), 1016, Dlu(377, 15, 128, 12));
    programmedKeysCombo_->setEditable(true);
    NameAfter(programmedKeysLabel, programmedKeysCombo_);
    programmedKeysCombo_->lineEdit()->setAccessibleName(programmedKeysLabel->text());
    programmedKeysCombo_->setAccessibleDescription(Resources::String("a11y.programmedKeys"));
    programmedKeysCombo_->setInsertPolicy(QComboBox::NoInsert);
    programmedKeysCombo_->setMaxVisibleItems(12);

    group(surface, text("group.key"), Dlu(377, 29, 128, 175));
    auto* keyNumberLabel = label(surface, text("label.keyNumber"), Dlu(384, 41, 40, 8));
    keyNumberEdit_ = Place(new QLineEdit(surface), 1012, Dlu(425, 39, 19, 12));
    keyNumberEdit_->setReadOnly(true);
    keyNumberLabel->setBuddy(keyNumberEdit_);
    keyNumberEdit_->setAccessibleDescription(Resources::String("a11y.keyNumber"));
    auto* keyNameLabel = label(surface, text("label.keyName"), Dlu(384, 55, 40, 8));
    keyNameEdit_ = Place(new QLineEdit(surface), 1009, Dlu(425, 53, 76, 12));
    keyNameLabel->setBuddy(keyNameEdit_);
    keyNameEdit_->setMaxLength(static_cast<int>(kMaxKeyNameLength));

    group(surface, text("group.codes"), Dlu(382, 67, 119, 118));
    for (int slot = 0; slot < kCodeSlots; ++slot) {
        const bool left = slot < 8;
        const int row = slot % 8;
        const double y = 77 + row * 12.7;
        const double x = left ? 396 : 454;
        label(surface, QStringLiteral("%1.").arg(slot + 1), Dlu(left ? 386 : 442, y + 2, 12, 8));
        auto* field = Place(new QLineEdit(surface), kCodeFieldIds[static_cast<size_t>(slot)],
                            Dlu(x, y, 42, 11));
        field->setReadOnly(true);
        // Not a tab stop: sixteen stops would stand between the name and "<<", and a screen
        // reader hears the same code names in the key grid's description of the key.
        field->setFocusPolicy(Qt::ClickFocus);
        // Its label reads "1.", which says nothing when heard on its own.
        field->setAccessibleName(Resources::String("a11y.code").arg(slot + 1));
        codeFields_[static_cast<size_t>(slot)] = field;
    }
    auto* previousKeyButton =
        Place(new QPushButton(text(1020), surface), 1020, Dlu(382, 190, 52, 11));
    auto* nextKeyButton = Place(new QPushButton(text(1051), surface), 1051, Dlu(447, 190, 52, 11));
    // "<<" and ">>" are read out as punctuation.
    previousKeyButton->setAccessibleName(Resources::String("a11y.previousKey"));
    nextKeyButton->setAccessibleName(Resources::String("a11y.nextKey"));

    // Tab walks the panel from top to bottom, as it reads.
    tabOrder_ = {singleKeyButton_, groupKeyButton_, flagForAll, modeButtons_[0],
                 modeButtons_[1],  modeButtons_[2], modeForAll, programmedKeysCombo_,
                 keyNumberEdit_,   keyNameEdit_};
    for (QLineEdit* field : codeFields_)
        tabOrder_.push_back(field);
    tabOrder_.push_back(previousKeyButton);
    tabOrder_.push_back(nextKeyButton);

    // Enter always edits the current key, so no visible button may look like the default one.
    for (QPushButton* button : {flagForAll, modeForAll, previousKeyButton, nextKeyButton})
        button->setAutoDefault(false);

    connect(singleKeyButton_, &QCheckBox::clicked, this, &KeyPanelControls::OnSingleKey);
    connect(flagForAll, &QPushButton::clicked, this, &KeyPanelControls::OnSetFlagForAll);
    connect(modeForAll, &QPushButton::clicked, this, &KeyPanelControls::OnSetModeForAll);
    for (int mode = 0; mode < static_cast<int>(modeButtons_.size()); ++mode) {
        connect(modeButtons_[static_cast<size_t>(mode)], &QRadioButton::clicked, this,
                [this, mode] {
                    Exchange::SetRadio(modeButtons_, mode);
                    OnMode(mode);
                });
    }
    connect(keyNameEdit_, &QLineEdit::textEdited, this, &KeyPanelControls::OnKeyNameChanged);
    connect(previousKeyButton, &QPushButton::clicked, this, [this] { document_.OnPreviousKey(); });
    connect(nextKeyButton, &QPushButton::clicked, this, [this] { document_.OnNextKey(); });
    connect(programmedKeysCombo_, &QComboBox::activated, this,
            &KeyPanelControls::OnProgrammedKeySelected);
}

void KeyPanelControls::TransferToControls() {
    ExchangeGuard guard(exchangeDepth_);
    const KeyPanel& panel = document_.layout().panel;
    Exchange::SetCheck(groupKeyButton_, panel.panelGroup);
    Exchange::SetText(keyNameEdit_, NameText(panel.panelName));
    Exchange::SetNumber(keyNumberEdit_, panel.panelNumber);
    for (int slot = 0; slot < kCodeSlots; ++slot)
        Exchange::SetText(codeFields_[static_cast<size_t>(slot)],
                          QString::fromStdString(panel.panelCodeNames[static_cast<size_t>(slot)]));
    Exchange::SetRadio(modeButtons_, panel.panelMode);
    Exchange::SetCheck(singleKeyButton_, panel.panelSingle);
}

void KeyPanelControls::TransferProgrammedKeys() {
    ExchangeGuard guard(exchangeDepth_);
    const QSignalBlocker blocker(programmedKeysCombo_);
    const Layout& layout = document_.layout();
    QStringList items;
    for (const std::string& item : zr4700::ProgrammedKeyItems(layout))
        items << NameText(item);
    bool same = programmedKeysCombo_->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = programmedKeysCombo_->itemText(i) == items.at(i);
    if (!same) {
        programmedKeysCombo_->clear();
        programmedKeysCombo_->addItems(items);
    }
    programmedKeysCombo_->setCurrentIndex(layout.programmedKeyComboSelection);
    if (layout.programmedKeyComboSelection < 0)
        programmedKeysCombo_->setEditText(QString());
}

void KeyPanelControls::OnKeyNameChanged(const QString& text) {
    if (exchangeDepth_ > 0)
        return;
    const std::string name = text.toStdString();
    const QString kept = NameText(document_.layout().panel.panelName);
    // The name field of a key holds 102 bytes: typing past it is refused, not cut. (A shorter
    // text is always taken: a name from an older single-byte file may be longer than that once
    // it is edited here, and deleting from it must still work.) A character that the file would
    // take for the end of the name is refused the same way.
    const bool tooLong = name.size() > kMaxKeyNameLength && text.size() >= kept.size();
    if (tooLong || !CarriedByTheFile(text)) {
        // Put the caret back where the refused typing or paste began.
        const int caret = keyNameEdit_->cursorPosition() - (text.size() - kept.size());
        Exchange::SetText(keyNameEdit_, kept);
        keyNameEdit_->setCursorPosition(std::clamp(caret, 0, static_cast<int>(kept.size())));
        return;
    }
    document_.RenameKey(CutName(name, kMaxKeyNameLength));
}

void KeyPanelControls::OnSingleKey() {
    if (exchangeDepth_ > 0)
        return;
    document_.SetSingleKey(singleKeyButton_->isChecked());
}

void KeyPanelControls::OnMode(int mode) {
    if (exchangeDepth_ > 0)
        return;
    document_.SetMode(mode);
}

void KeyPanelControls::OnSetModeForAll() {
    document_.SetModeForAll();
}

void KeyPanelControls::OnSetFlagForAll() {
    document_.SetFlagForAll(singleKeyButton_->isChecked());
}

void KeyPanelControls::OnProgrammedKeySelected(int position) {
    if (exchangeDepth_ > 0)
        return;
    document_.SelectProgrammedKey(position);
    emit gridChanged();
}
