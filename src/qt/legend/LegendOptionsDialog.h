#pragma once
// The options of Print legends and Export legends: arrangement, key pitch, insert margin and what
// the inserts carry. A size outside its range is refused with a message, and the dialog stays
// open on that field, as the command line refuses it: nothing typed is changed behind the user's
// back.

#include "qt/legend/LegendCommands.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

class LegendOptionsDialog : public QDialog {
  public:
    LegendOptionsDialog(QWidget* parent, const LegendCommands::Settings& settings);

    // The choices as accepted.
    const LegendCommands::Settings& settings() const { return settings_; }

    void accept() override;

  private:
    // Reads a size in millimetres from low to high; false after telling the user.
    bool ReadSize(QLineEdit* field, const char* messageKey, double low, double high, double& value);

    LegendCommands::Settings settings_;
    QComboBox* arrangement_ = nullptr;
    QLineEdit* pitch_ = nullptr;
    QLineEdit* margin_ = nullptr;
    QCheckBox* only_ = nullptr;
    QCheckBox* codes_ = nullptr;
};
