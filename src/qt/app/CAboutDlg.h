#pragma once
// "About": the program's picture, its version line, a line saying what it is for, and OK.
// It has no values of its own and exists only while it is shown.

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
