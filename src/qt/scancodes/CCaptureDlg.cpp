#include "qt/scancodes/CCaptureDlg.h"

#include "qt/platform/Resources.h"
#include "qt/scancodes/CCaptureEdit.h"
#include "qt/scancodes/CScanCodesDlg.h"
#include "qt/widgets/DataExchange.h"
#include "qt/widgets/DialogUnits.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <cmath>

namespace {

constexpr int kDialogId = 168;
const Resources::DialogTexts text{kDialogId};
constexpr int kTitleString = 32801;

// Code field ids of slots 1..16 (left half 1..8, right half 9..16) and name field ids.
constexpr std::array<int, zr4700::kCodeSlots> kCodeFieldIds = {
    1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1067, 1069, 1070, 1071, 1072, 1073, 1074,
};
constexpr int kFirstNameFieldId = 1003;

constexpr int kRowsPerHalf = 8;
constexpr double kFirstRowY = 13;
constexpr double kLastRowY = 102;
constexpr double kFieldHeight = 12;
constexpr std::array<double, 2> kCodeX = {18, 106};
constexpr std::array<double, 2> kNameX = {37, 126};
constexpr double kCodeWidth = 17;
constexpr double kNameWidth = 42;

double RowY(int row) {
    return std::round(kFirstRowY + row * (kLastRowY - kFirstRowY) / (kRowsPerHalf - 1));
}

QLineEdit* ReadOnlyField(QWidget* parent, int id, const QRect& rect) {
    auto* field = Place(new QLineEdit(parent), id, rect);
    field->setReadOnly(true);
    // Not a tab stop; a click that focuses it passes the focus straight on.
    field->setFocusPolicy(Qt::ClickFocus);
    field->setContextMenuPolicy(Qt::PreventContextMenu);
    field->setTextMargins(0, 0, 0, 0);
    return field;
}

} // namespace

CCaptureDlg::CCaptureDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QString::number(kDialogId));
    setWindowTitle(Resources::String(kTitleString));
    setFont(DialogFont());
    setFixedSize(Dlu(0, 0, 177, 141).size());

    Place(new QGroupBox(Resources::DialogText(kDialogId, "group.codes"), this), 0,
          Dlu(7, 3, 166, 115));
    for (int slot = 1; slot <= zr4700::kCodeSlots; ++slot) {
        const std::size_t index = static_cast<std::size_t>(slot - 1);
        const std::size_t half = index / kRowsPerHalf;
        const double y = RowY(static_cast<int>(index % kRowsPerHalf));
        auto* label = Place(new QLabel(QStringLiteral("%1.").arg(slot), this), 0,
                            Dlu(kCodeX[half] - 11, y, 10, kFieldHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        codeFields_[index] = ReadOnlyField(this, kCodeFieldIds[index],
                                           Dlu(kCodeX[half], y, kCodeWidth, kFieldHeight));
        nameFields_[index] = ReadOnlyField(this, kFirstNameFieldId + static_cast<int>(index),
                                           Dlu(kNameX[half], y, kNameWidth, kFieldHeight));
        // The labels read "1." to "16.": each field says which slot it shows.
        codeFields_[index]->setAccessibleName(Resources::String("a11y.code").arg(slot));
        nameFields_[index]->setAccessibleName(Resources::String("a11y.codeName").arg(slot));
        codeFields_[index]->installEventFilter(this);
        nameFields_[index]->installEventFilter(this);
    }

    // A hidden widget cannot hold the keyboard focus, so the catcher is shown with no size.
    captureEdit = new CCaptureEdit(this);
    Place(captureEdit, 1056, QRect(Dlu(73, 73, 37, 14).topLeft(), QSize(0, 0)));
    captureEdit->setFocusPolicy(Qt::StrongFocus);
    // The catcher holds the focus all the time, so it is what a screen reader announces.
    captureEdit->setAccessibleName(Resources::String("a11y.capture"));
    captureEdit->setAccessibleDescription(Resources::String("a11y.captureDesc"));
    captureEdit->SetStrokeHandler([this](const zr4700::KeyStroke& stroke) { OnKeyStroke(stroke); });

    const auto button = [this](int id, const QString& caption, const QRect& rect) {
        auto* pushButton = Place(new QPushButton(caption, this), id, rect);
        // No button takes the focus or answers Enter: every key belongs to the catcher.
        pushButton->setFocusPolicy(Qt::NoFocus);
        pushButton->setAutoDefault(false);
        return pushButton;
    };
    connect(button(1020, text(1020), Dlu(7, 120, 30, 14)), &QPushButton::clicked, this,
            &CCaptureDlg::OnOkButton);
    connect(button(1068, text(1068), Dlu(41, 120, 30, 14)), &QPushButton::clicked, this,
            &CCaptureDlg::OnBack);
    connect(button(1033, text(1033), Dlu(75, 120, 30, 14)), &QPushButton::clicked, this,
            &CCaptureDlg::OnClearAll);
    connect(button(1034, text(1034), Dlu(109, 120, 30, 14)), &QPushButton::clicked, this,
            &CCaptureDlg::OnEditCodes);
    connect(button(1066, text(1066), Dlu(143, 120, 30, 14)), &QPushButton::clicked, this,
            &CCaptureDlg::OnCancelButton);
    // The dialog's standard accept and cancel identities, never shown.
    QPushButton* hiddenOk = button(1, text(1020), Dlu(80, 102, 30, 14));
    QPushButton* hiddenCancel = button(2, text(1066), Dlu(79, 88, 30, 14));
    hiddenOk->hide();
    hiddenCancel->hide();
    connect(hiddenOk, &QPushButton::clicked, this, &CCaptureDlg::accept);
    connect(hiddenCancel, &QPushButton::clicked, this, &CCaptureDlg::reject);

    captureEdit->setFocus();
}

CCaptureDlg::~CCaptureDlg() = default;

QLineEdit* CCaptureDlg::CodeField(int slot) const {
    if (slot < 1 || slot > zr4700::kCodeSlots)
        return nullptr;
    return codeFields_[static_cast<std::size_t>(slot - 1)];
}

QLineEdit* CCaptureDlg::NameField(int slot) const {
    if (slot < 1 || slot > zr4700::kCodeSlots)
        return nullptr;
    return nameFields_[static_cast<std::size_t>(slot - 1)];
}

void CCaptureDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window shown again after being minimised is not a new run.
    if (!event->spontaneous())
        OnInitDialog();
}

void CCaptureDlg::OnInitDialog() {
    setWindowTitle(Resources::String(kTitleString));
    TransferToControls();
    nextSlot = 1;
    captureEdit->setFocus(Qt::OtherFocusReason);
}

void CCaptureDlg::TransferToControls() {
    for (std::size_t i = 0; i < codeFields_.size(); ++i) {
        Exchange::SetNumber(codeFields_[i], static_cast<std::uint32_t>(codeSlots[i]));
        Exchange::SetText(nameFields_[i], QString::fromStdString(codeNames[i]));
    }
}

bool CCaptureDlg::ReadControls() {
    zr4700::KeyCodes codes = codeSlots;
    for (std::size_t i = 0; i < codeFields_.size(); ++i) {
        std::uint32_t value = static_cast<std::uint32_t>(codes[i]);
        if (!Exchange::ReadUnsigned(codeFields_[i], value, 0, 255))
            return false;
        codes[i] = static_cast<std::int32_t>(value);
    }
    codeSlots = codes;
    for (std::size_t i = 0; i < nameFields_.size(); ++i)
        codeNames[i] = nameFields_[i]->text().toStdString();
    return true;
}

void CCaptureDlg::OnKeyStroke(const zr4700::KeyStroke& stroke) {
    Capture(stroke.virtualKey, stroke.scanCode, stroke.extended);
    TransferToControls();
}

void CCaptureDlg::OnBack() {
    Back();
    TransferToControls();
    captureEdit->setFocus(Qt::OtherFocusReason);
}

void CCaptureDlg::OnClearAll() {
    ClearAll();
    TransferToControls();
    captureEdit->setFocus(Qt::OtherFocusReason);
}

void CCaptureDlg::OnEditCodes() {
    CScanCodesDlg editDialog(this);
    editDialog.editCodes = CodesForEditing();
    if (editDialog.exec() == QDialog::Accepted) {
        ApplyEditedCodes(editDialog.editCodes);
        TransferToControls();
    }
    // Strokes go to this window again, whichever window the system activates next.
    activateWindow();
    captureEdit->setFocus(Qt::OtherFocusReason);
}

void CCaptureDlg::OnCodeFieldFocus() {
    captureEdit->setFocus(Qt::OtherFocusReason);
}

bool CCaptureDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        OnCodeFieldFocus();
    return QDialog::eventFilter(watched, event);
}

void CCaptureDlg::OnOK() {}

void CCaptureDlg::OnCancel() {}

void CCaptureDlg::accept() {
    OnOK();
}

void CCaptureDlg::reject() {
    OnCancel();
}

void CCaptureDlg::OnOkButton() {
    if (ReadControls())
        QDialog::accept();
}

void CCaptureDlg::OnCancelButton() {
    QDialog::reject();
}

void CCaptureDlg::closeEvent(QCloseEvent* event) {
    // The window has no close box; a close request from the window manager is taken as
    // "Cancel", which changes nothing, rather than leaving a window that refuses to go.
    if (isVisible())
        OnCancelButton();
    event->accept();
}
