#include "qt/scancodes/CScanCodesDlg.h"

#include "core/scancodes/EditedCodeFields.h"
#include "qt/platform/Resources.h"
#include "qt/widgets/DataExchange.h"
#include "qt/widgets/DialogUnits.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>

namespace {

constexpr int kDialogId = 103;
const Resources::DialogTexts text{kDialogId};

// Edit ids of slots 1..16: four columns of four, top to bottom.
constexpr std::array<int, CScanCodesDlg::kSlots> kFieldIds = {
    1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1067, 1069, 1070, 1071, 1072, 1073, 1074,
};

constexpr std::array<int, 4> kColumnX = {18, 52, 86, 120};
constexpr std::array<int, 4> kRowY = {15, 28, 41, 54};
constexpr int kFieldWidth = 16;
constexpr int kFieldHeight = 12;

} // namespace

CScanCodesDlg::CScanCodesDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QString::number(kDialogId));
    setWindowTitle(text("caption"));
    setFont(DialogFont());
    setFixedSize(Dlu(0, 0, 149, 93).size());

    Place(new QGroupBox(text("group.codes"), this), 0, Dlu(7, 4, 135, 64));
    for (int slot = 1; slot <= kSlots; ++slot) {
        const int column = (slot - 1) / 4;
        const int row = (slot - 1) % 4;
        const int x = kColumnX[static_cast<std::size_t>(column)];
        const int y = kRowY[static_cast<std::size_t>(row)];
        auto* label = Place(new QLabel(QStringLiteral("%1.").arg(slot), this), 0,
                            Dlu(x - 12, y, 11, kFieldHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        auto* field = Place(new QLineEdit(this), kFieldIds[static_cast<std::size_t>(slot - 1)],
                            Dlu(x, y, kFieldWidth, kFieldHeight));
        // Digits only, as a number-only edit takes them; the text scrolls when it is longer.
        field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), field));
        field->setTextMargins(0, 0, 0, 0);
        field->setFocusPolicy(Qt::StrongFocus);
        label->setBuddy(field);
        // The label reads "1.", which says nothing when heard on its own.
        field->setAccessibleName(Resources::String("a11y.code").arg(slot));
        fields_[static_cast<std::size_t>(slot - 1)] = field;
        connect(field, &QLineEdit::textChanged, this, [this, slot] { OnCodeChanged(slot); });
    }

    auto* ok = Place(new QPushButton(text("1"), this), 1, Dlu(7, 72, 40, 14));
    auto* cancel = Place(new QPushButton(text("2"), this), 2, Dlu(102, 72, 40, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CScanCodesDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CScanCodesDlg::reject);

    // Slot 1 to 16, then OK, then Cancel.
    QWidget* previous = fields_[0];
    for (std::size_t i = 1; i < fields_.size(); ++i) {
        setTabOrder(previous, fields_[i]);
        previous = fields_[i];
    }
    setTabOrder(previous, ok);
    setTabOrder(ok, cancel);
}

CScanCodesDlg::~CScanCodesDlg() = default;

QLineEdit* CScanCodesDlg::CodeField(int slot) const {
    if (slot < 1 || slot > kSlots)
        return nullptr;
    return fields_[static_cast<std::size_t>(slot - 1)];
}

void CScanCodesDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        OnInitDialog();
}

void CScanCodesDlg::OnInitDialog() {
    TransferToControls();
    QLineEdit* first = fields_[0];
    first->setFocus(Qt::OtherFocusReason);
    first->selectAll();
}

void CScanCodesDlg::TransferToControls() {
    const ExchangeGuard guard(exchangeDepth_);
    for (int slot : zr4700::kEditedCodeOrder)
        Exchange::SetNumber(CodeField(slot), editCodes[static_cast<std::size_t>(slot - 1)]);
}

zr4700::EditedCodeTexts CScanCodesDlg::FieldTexts() const {
    zr4700::EditedCodeTexts texts;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        texts[i] = fields_[i]->text().toStdString();
    return texts;
}

bool CScanCodesDlg::Report(const zr4700::EditedCodesRead& read) {
    const ExchangeGuard guard(exchangeDepth_);
    return read.failedSlot == 0 || Exchange::Check(CodeField(read.failedSlot), read.refusal);
}

bool CScanCodesDlg::ReadControls() {
    return Report(zr4700::ReadEditedCodeTexts(FieldTexts(), editCodes));
}

void CScanCodesDlg::OnCodeChanged(int slot) {
    if (exchangeDepth_ > 0 || slot < 1 || slot > kSlots)
        return;
    // A failure has shown its message; the fields are put right below either way.
    Report(zr4700::OnEditedCodeChanged(slot, FieldTexts(), editCodes));
    TransferToControls();
}

void CScanCodesDlg::accept() {
    if (ReadControls())
        QDialog::accept();
}
