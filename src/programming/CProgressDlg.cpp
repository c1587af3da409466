#include "programming/CProgressDlg.h"

CProgressDlg::CProgressDlg(QWidget* owner) : QDialog(owner) { setObjectName("110"); }

CProgressDlg::~CProgressDlg() = default;

void CProgressDlg::CancelAndWait() {}
