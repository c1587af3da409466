#pragma once
// "Keyboard settings": the keyboard model, keys pause, keys type, key beep and the two repeat
// sliders. One object lives as long as the main dialog and is shown modally again and again.

#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QLineEdit;
class QSlider;

class CSettingsDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSettingsDlg(QWidget* parent = nullptr);

    QSlider* rateSlider = nullptr;
    QSlider* delaySlider = nullptr;
    int32_t model = 0; // 0 model S (56 keys), 1 model D (112 keys)
    int32_t keyBeep = 0;
    int32_t keyDelay = 0;
    int32_t typematicRate = 0;
    int32_t keysType = 0;
    int32_t keysPause = 0;

    int exec() override;
    void OnInitDialog();
    void TransferToControls();
    bool ReadControls();
    void OnMakeBreak();
    void OnTypematic();

  public slots:
    void accept() override;

  private:
    QButtonGroup* modelGroup_ = nullptr;
    QButtonGroup* beepGroup_ = nullptr;
    QButtonGroup* keysTypeGroup_ = nullptr;
    QLineEdit* pauseEdit_ = nullptr;
};
