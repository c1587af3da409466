#pragma once
// Dialog templates are laid out in dialog units of the classic 8-point dialog font:
// one unit is 1.5 px across and 1.625 px down.

#include <QRect>
#include <QWidget>

#include <cmath>

inline QRect Dlu(double x, double y, double width, double height) {
    const int left = static_cast<int>(std::lround(x * 1.5));
    const int top = static_cast<int>(std::lround(y * 1.625));
    const int right = static_cast<int>(std::lround((x + width) * 1.5));
    const int bottom = static_cast<int>(std::lround((y + height) * 1.625));
    return QRect(left, top, right - left, bottom - top);
}

// Gives a control its numeric id as object name, places it, and returns it.
template <typename W> W* Place(W* widget, int id, const QRect& rect) {
    if (id != 0)
        widget->setObjectName(QString::number(id));
    widget->setGeometry(rect);
    return widget;
}

// The font the dialogs are laid out for.
QFont DialogFont();

// Places a dialog centred over the window of owner (the dialogs of this program are kept between
// showings, so this is done before each one rather than left to where the window manager last
// put it). Done the same way every time, the dialog opens at the same place every time.
void CentreOver(QWidget* dialog, const QWidget* owner);
