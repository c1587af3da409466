#pragma once
// "Insert scan-codes by pressing key": captures key strokes of the PC keyboard into 16 code slots.

#include "layout/KeyRecord.h"

#include <QDialog>

#include <array>
#include <string>

class CCaptureDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCaptureDlg(QWidget* parent = nullptr);

    int nextSlot = 1;
    zr4700::KeyCodes codeSlots{};
    std::array<std::string, zr4700::kCodeSlots> codeNames;
};
