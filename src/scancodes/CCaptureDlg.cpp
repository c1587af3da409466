#include "scancodes/CCaptureDlg.h"

CCaptureDlg::CCaptureDlg(QWidget* parent) : QDialog(parent) { setObjectName("168"); }
