#include "qt/app/RfidGroup.h"

#include "qt/platform/Resources.h"
#include "qt/widgets/DataExchange.h"
#include "qt/widgets/DialogUnits.h"
#include "qt/widgets/SpinButtons.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using zr4700::RfidSettings;

namespace {

constexpr int kDialogId = 102;

} // namespace

QString RfidGroup::Text(const char* key) const {
    return Resources::DialogText(kDialogId, key);
}

RfidGroup::RfidGroup(QWidget* surface, zr4700::Document& document)
    : QObject(surface), document_(document) {
    auto* box = Place(new QGroupBox(Text("group.rfid"), surface), 0, Dlu(4, 3, 165, 44));
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* prefixLabel = Place(new QLabel(Text("label.prefix"), surface), 0, Dlu(10, 15, 24, 8));
    prefixEdit_ = Place(new QLineEdit(surface), 1037, Dlu(35, 13, 22, 12));
    prefixExtendedBox_ =
        Place(new QCheckBox(Resources::DialogText(kDialogId, QStringLiteral("1039")), surface),
              1039, Dlu(60, 14, 40, 10));
    auto* suffixLabel = Place(new QLabel(Text("label.suffix"), surface), 0, Dlu(10, 31, 24, 8));
    suffixEdit_ = Place(new QLineEdit(surface), 1038, Dlu(35, 29, 22, 12));
    suffixExtendedBox_ =
        Place(new QCheckBox(Resources::DialogText(kDialogId, QStringLiteral("1041")), surface),
              1041, Dlu(60, 30, 40, 10));
    auto* digitsLabel =
        Place(new QLabel(Text("label.digitsCount"), surface), 0, Dlu(102, 15, 42, 8));
    digitsCountEdit_ = Place(new QLineEdit(surface), 1035, Dlu(145, 13, 13, 12));
    digitsCountEdit_->setReadOnly(true);
    digitsSpin_ = Place(new SpinButtons(digitsCountEdit_, surface), 1036, Dlu(158, 13, 8, 12));
    digitsNumBox_ =
        Place(new QCheckBox(Resources::DialogText(kDialogId, QStringLiteral("1042")), surface),
              1042, Dlu(102, 30, 64, 10));
    digitsSpin_->SetRange(1, 13);
    digitsSpin_->SetPosition(9);

    // The labels beside the fields name them for assistive tools; both boxes read "Extended",
    // so each says which value it belongs to.
    prefixLabel->setBuddy(prefixEdit_);
    suffixLabel->setBuddy(suffixEdit_);
    digitsLabel->setBuddy(digitsCountEdit_);
    digitsCountEdit_->setAccessibleDescription(Resources::String("a11y.digitsCount"));
    for (QLineEdit* edit : {prefixEdit_, suffixEdit_})
        edit->setAccessibleDescription(Resources::String("a11y.rfidByte"));
    prefixExtendedBox_->setAccessibleDescription(Resources::String("a11y.prefixExtended"));
    suffixExtendedBox_->setAccessibleDescription(Resources::String("a11y.suffixExtended"));
    digitsSpin_->SetAccessibleNames(Resources::String("a11y.digitsSpin"),
                                    Resources::String("a11y.digitsUp"),
                                    Resources::String("a11y.digitsDown"));

    // A valid value reaches the document as it is typed; a bad one is reported when the field
    // is left, and the document keeps its last valid value.
    connect(prefixEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { TakeByte(text, &RfidSettings::prefix); });
    connect(suffixEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { TakeByte(text, &RfidSettings::suffix); });
    connect(prefixEdit_, &QLineEdit::editingFinished, this,
            [this] { ValidateByte(prefixEdit_, &RfidSettings::prefix); });
    connect(suffixEdit_, &QLineEdit::editingFinished, this,
            [this] { ValidateByte(suffixEdit_, &RfidSettings::suffix); });
    connect(prefixExtendedBox_, &QCheckBox::toggled, this,
            [this](bool on) { Set(&RfidSettings::prefixExtended, on ? 1 : 0); });
    connect(suffixExtendedBox_, &QCheckBox::toggled, this,
            [this](bool on) { Set(&RfidSettings::suffixExtended, on ? 1 : 0); });
    connect(digitsNumBox_, &QCheckBox::toggled, this,
            [this](bool on) { Set(&RfidSettings::digitsNum, on ? 1 : 0); });
    connect(digitsSpin_, &SpinButtons::positionChanged, this, [this](int position) {
        Set(&RfidSettings::digitsCount, static_cast<uint8_t>(position));
    });
}

template <typename Value> void RfidGroup::Set(Value RfidSettings::*member, Value value) {
    if (exchangeDepth_ > 0 || detached_)
        return;
    RfidSettings rfid = document_.layout().rfid;
    rfid.*member = value;
    document_.SetRfid(rfid);
}

void RfidGroup::TransferToControls() {
    ExchangeGuard guard(exchangeDepth_);
    const RfidSettings& rfid = document_.layout().rfid;
    Exchange::SetNumber(prefixEdit_, rfid.prefix);
    Exchange::SetCheck(prefixExtendedBox_, rfid.prefixExtended);
    digitsSpin_->blockSignals(true);
    digitsSpin_->SetPosition(rfid.digitsCount);
    digitsSpin_->blockSignals(false);
    Exchange::SetNumber(digitsCountEdit_, rfid.digitsCount);
    Exchange::SetNumber(suffixEdit_, rfid.suffix);
    Exchange::SetCheck(suffixExtendedBox_, rfid.suffixExtended);
    Exchange::SetCheck(digitsNumBox_, rfid.digitsNum);
}

bool RfidGroup::ReadControls() {
    ExchangeGuard guard(exchangeDepth_);
    RfidSettings rfid = document_.layout().rfid;
    uint8_t value = 0;
    for (auto [edit, member] : {std::pair{prefixEdit_, &RfidSettings::prefix},
                                std::pair{digitsCountEdit_, &RfidSettings::digitsCount},
                                std::pair{suffixEdit_, &RfidSettings::suffix}}) {
        if (!Exchange::ReadByte(edit, value))
            return false;
        rfid.*member = value;
    }
    rfid.prefixExtended = prefixExtendedBox_->isChecked() ? 1 : 0;
    rfid.suffixExtended = suffixExtendedBox_->isChecked() ? 1 : 0;
    rfid.digitsNum = digitsNumBox_->isChecked() ? 1 : 0;
    document_.SetRfid(rfid);
    return true;
}

std::vector<QWidget*> RfidGroup::tabOrder() const {
    return {prefixEdit_, prefixExtendedBox_, digitsCountEdit_,
            suffixEdit_, suffixExtendedBox_, digitsNumBox_};
}

void RfidGroup::Detach() {
    detached_ = true;
    disconnect(prefixEdit_, nullptr, this, nullptr);
    disconnect(suffixEdit_, nullptr, this, nullptr);
}

void RfidGroup::TakeByte(const QString& text, uint8_t RfidSettings::*member) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok && value >= 0 && value <= 255)
        Set(member, static_cast<uint8_t>(value));
}

// A prefix or suffix is checked once, when the user leaves the field: a bad value is reported a
// single time, the field gets the focus back, and the document keeps its last valid value.
void RfidGroup::ValidateByte(QLineEdit* edit, uint8_t RfidSettings::*member) {
    if (validating_ || exchangeDepth_ > 0 || detached_)
        return;
    validating_ = true;
    uint8_t value = document_.layout().rfid.*member;
    if (Exchange::ReadByte(edit, value))
        Set(member, value);
    validating_ = false;
}
