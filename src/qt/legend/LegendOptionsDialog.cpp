#include "qt/legend/LegendOptionsDialog.h"

#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>

#include <cmath>

using namespace zr4700;

namespace {

QString SizeText(double value) {
    return QLocale::system().toString(value, 'g', 6);
}

} // namespace

LegendOptionsDialog::LegendOptionsDialog(QWidget* parent, const LegendCommands::Settings& settings)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("legendOptions"));
    setWindowTitle(Resources::String("legend.options.title"));
    auto* form = new QFormLayout(this);
    arrangement_ = new QComboBox(this);
    arrangement_->setObjectName(QStringLiteral("arrangement"));
    // In the order of LegendArrangement.
    arrangement_->addItem(Resources::String("legend.options.keyboard"));
    arrangement_->addItem(Resources::String("legend.options.packed"));
    arrangement_->setCurrentIndex(static_cast<int>(settings.arrangement));
    pitch_ = new QLineEdit(SizeText(settings.pitchMm), this);
    pitch_->setObjectName(QStringLiteral("pitch"));
    margin_ = new QLineEdit(SizeText(settings.marginMm), this);
    margin_->setObjectName(QStringLiteral("margin"));
    only_ = new QCheckBox(Resources::String("legend.options.only"), this);
    only_->setObjectName(QStringLiteral("onlyProgrammed"));
    only_->setChecked(settings.onlyProgrammed);
    codes_ = new QCheckBox(Resources::String("legend.options.codes"), this);
    codes_->setObjectName(QStringLiteral("codeNames"));
    codes_->setChecked(settings.codeNames);
    form->addRow(Resources::String("legend.options.arrange"), arrangement_);
    form->addRow(Resources::String("legend.options.pitch"), pitch_);
    form->addRow(Resources::String("legend.options.margin"), margin_);
    form->addRow(only_);
    form->addRow(codes_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool LegendOptionsDialog::ReadSize(QLineEdit* field, const char* messageKey, double low,
                                   double high, double& value) {
    const QString text = field->text().trimmed();
    bool ok = false;
    double read = QLocale::system().toDouble(text, &ok);
    if (!ok)
        read = text.toDouble(&ok); // a point is a decimal point in any locale
    if (ok && std::isfinite(read) && read >= low && read <= high) {
        value = read;
        return true;
    }
    Prompts::Instance().ShowValidation(
        Resources::String(messageKey).arg(SizeText(low), SizeText(high)), this);
    field->setFocus();
    field->selectAll();
    return false;
}

void LegendOptionsDialog::accept() {
    double pitch = 0;
    double margin = 0;
    if (!ReadSize(pitch_, "legend.options.badPitch", kMinPitchMm, kMaxPitchMm, pitch) ||
        !ReadSize(margin_, "legend.options.badMargin", 0.0, MaxMarginMm(pitch), margin))
        return;
    settings_.arrangement =
        arrangement_->currentIndex() == 1 ? LegendArrangement::Packed : LegendArrangement::Keyboard;
    settings_.pitchMm = pitch;
    settings_.marginMm = margin;
    settings_.onlyProgrammed = only_->isChecked();
    settings_.codeNames = codes_->isChecked();
    QDialog::accept();
}
