#pragma once
// An up-down control bound to a read-only number edit: it keeps a position within a range and
// writes it into its buddy edit, one step per click, stopping at both ends.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

class SpinButtons : public QWidget {
    Q_OBJECT

  public:
    SpinButtons(QLineEdit* buddy, QWidget* parent);
    void SetRange(int bottom, int top);
    void SetPosition(int position);
    void StepUp() { SetPosition(position_ + 1); }
    void StepDown() { SetPosition(position_ - 1); }
    // The arrows carry no text, so assistive tools get names for the control and both buttons.
    void SetAccessibleNames(const QString& control, const QString& up, const QString& down);

  signals:
    void positionChanged(int position);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int bottom_ = 0;
    int top_ = 100;
    int position_ = 0;
};
