#include "qt/app/CSettingsDlg.h"

#include "qt/platform/Resources.h"
#include "qt/widgets/DataExchange.h"
#include "qt/widgets/DialogUnits.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QToolTip>

namespace {
constexpr int kDialogId = 146;
const Resources::DialogTexts text{kDialogId};

QRadioButton* radio(QWidget* parent, int id, const QRect& rect) {
    return Place(new QRadioButton(text(id), parent), id, rect);
}
} // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(text("caption"));
    setFont(DialogFont());
    // A dialog frame with a caption and a close box: nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(Dlu(0, 0, 234, 135).size());

    // In tab order: keyboard type, keys pause, keys type, key beep, key repeat, the buttons.
    Place(new QGroupBox(text("group.type"), this), 0, Dlu(7, 4, 220, 36));
    modelGroup_ = new QButtonGroup(this);
    modelGroup_->addButton(radio(this, 1030, Dlu(14, 15, 200, 10)), 0);
    modelGroup_->addButton(radio(this, 1031, Dlu(14, 27, 200, 10)), 1);

    Place(new QGroupBox(text("group.pause"), this), 0, Dlu(7, 43, 70, 30));
    pauseEdit_ = Place(new QLineEdit(this), 1043, Dlu(13, 55, 22, 12));
    pauseEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), pauseEdit_));
    auto* pauseLabel = Place(new QLabel(text("label.pause"), this), 0, Dlu(38, 57, 38, 8));
    // The label beside the edit gives only its range; the group names what it is.
    pauseLabel->setBuddy(pauseEdit_);
    pauseEdit_->setAccessibleName(Resources::String("a11y.pause"));
    pauseEdit_->setAccessibleDescription(Resources::String("a11y.pauseDesc"));

    Place(new QGroupBox(text("group.keysType"), this), 0, Dlu(81, 43, 146, 30));
    keysTypeGroup_ = new QButtonGroup(this);
    keysTypeGroup_->addButton(radio(this, 1021, Dlu(87, 54, 136, 9)), 0);
    keysTypeGroup_->addButton(radio(this, 1022, Dlu(87, 63, 136, 9)), 1);

    Place(new QGroupBox(text("group.beep"), this), 0, Dlu(7, 76, 70, 38));
    beepGroup_ = new QButtonGroup(this);
    beepGroup_->addButton(radio(this, 1023, Dlu(13, 87, 30, 10)), 0);
    beepGroup_->addButton(radio(this, 1024, Dlu(13, 99, 30, 10)), 1);
    // "Off" and "On" alone do not say what they switch.
    for (QAbstractButton* button : beepGroup_->buttons())
        button->setAccessibleDescription(Resources::String("a11y.beep"));

    Place(new QGroupBox(text("group.repeat"), this), 0, Dlu(81, 76, 146, 38));
    auto* rateLabel = Place(new QLabel(text("label.rate"), this), 0, Dlu(87, 87, 52, 8));
    rateSlider = Place(new QSlider(Qt::Horizontal, this), 1029, Dlu(140, 85, 84, 12));
    auto* delayLabel = Place(new QLabel(text("label.delay"), this), 0, Dlu(87, 101, 52, 8));
    delaySlider = Place(new QSlider(Qt::Horizontal, this), 1027, Dlu(140, 99, 84, 12));
    // A slider has no caption of its own: each is named after its group and its label, and
    // says what its steps are (they have no unit on screen).
    rateLabel->setBuddy(rateSlider);
    delayLabel->setBuddy(delaySlider);
    rateSlider->setAccessibleName(Resources::String("a11y.rate"));
    rateSlider->setAccessibleDescription(Resources::String("a11y.rateDesc"));
    delaySlider->setAccessibleName(Resources::String("a11y.delay"));
    delaySlider->setAccessibleDescription(Resources::String("a11y.delayDesc"));
    for (QSlider* slider : {rateSlider, delaySlider}) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
        slider->setPageStep(1);
        // The sliders have no scale: show the value being chosen (the status bar shows it too,
        // once the dialog is closed with OK).
        connect(slider, &QSlider::valueChanged, slider, [slider](int value) {
            slider->setToolTip(QString::number(value));
            if (slider->isVisible() && slider->hasFocus())
                QToolTip::showText(slider->mapToGlobal(QPoint(0, slider->height())),
                                   QString::number(value), slider);
        });
    }

    auto* ok = Place(new QPushButton(text(1), this), 1, Dlu(121, 118, 50, 14));
    ok->setDefault(true);
    auto* cancel = Place(new QPushButton(text(2), this), 2, Dlu(177, 118, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CSettingsDlg::accept);
    // Tab walks the groups as they read: keyboard type, keys pause, keys type, key beep, key
    // repeat, then OK and Cancel; within a group of radio buttons the arrow keys choose.
    QWidget* previous = modelGroup_->button(0);
    for (QWidget* next : std::initializer_list<QWidget*>{
             modelGroup_->button(1), pauseEdit_, keysTypeGroup_->button(0),
             keysTypeGroup_->button(1), beepGroup_->button(0), beepGroup_->button(1), rateSlider,
             delaySlider, ok, cancel}) {
        setTabOrder(previous, next);
        previous = next;
    }
    connect(cancel, &QPushButton::clicked, this, &CSettingsDlg::reject);
    connect(keysTypeGroup_->button(0), &QRadioButton::clicked, this, &CSettingsDlg::OnMakeBreak);
    connect(keysTypeGroup_->button(1), &QRadioButton::clicked, this, &CSettingsDlg::OnTypematic);
}

int CSettingsDlg::exec() {
    OnInitDialog();
    CentreOver(this, parentWidget());
    return QDialog::exec();
}

void CSettingsDlg::OnInitDialog() {
    TransferToControls();
    const bool typematic = keysType == 1;
    rateSlider->setEnabled(typematic);
    delaySlider->setEnabled(typematic);
    delaySlider->setRange(0, 3);
    rateSlider->setRange(0, 31);
    Exchange::SetSlider(delaySlider, keyDelay);
    Exchange::SetSlider(rateSlider, typematicRate);
    // The first control, the keyboard type, as a dialog starts.
    if (QAbstractButton* model = modelGroup_->checkedButton())
        model->setFocus();
}

void CSettingsDlg::TransferToControls() {
    Exchange::SetRadio(modelGroup_, model);
    Exchange::SetRadio(beepGroup_, keyBeep);
    Exchange::SetSlider(delaySlider, keyDelay);
    Exchange::SetSlider(rateSlider, typematicRate);
    Exchange::SetRadio(keysTypeGroup_, keysType);
    Exchange::SetNumber(pauseEdit_, keysPause);
}

bool CSettingsDlg::ReadControls() {
    model = Exchange::Radio(modelGroup_);
    keyBeep = Exchange::Radio(beepGroup_);
    // Disabled sliders still give their positions.
    keyDelay = delaySlider->value();
    typematicRate = rateSlider->value();
    keysType = Exchange::Radio(keysTypeGroup_);
    return Exchange::ReadInt(pauseEdit_, keysPause, 1, 255);
}

void CSettingsDlg::accept() {
    if (ReadControls())
        QDialog::accept();
}

void CSettingsDlg::OnMakeBreak() {
    rateSlider->setEnabled(false);
    delaySlider->setEnabled(false);
}

void CSettingsDlg::OnTypematic() {
    rateSlider->setEnabled(true);
    delaySlider->setEnabled(true);
}
