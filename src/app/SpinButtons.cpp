#include "app/SpinButtons.h"

#include "app/DataExchange.h"

#include <algorithm>

SpinButtons::SpinButtons(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), buddy_(buddy), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, &SpinButtons::StepUp);
    connect(down_, &QToolButton::clicked, this, &SpinButtons::StepDown);
}

void SpinButtons::SetRange(int bottom, int top) {
    bottom_ = bottom;
    top_ = top;
}

void SpinButtons::SetPosition(int position) {
    const int clamped = std::clamp(position, std::min(bottom_, top_), std::max(bottom_, top_));
    const bool changed = clamped != position_;
    position_ = clamped;
    if (buddy_)
        Exchange::SetNumber(buddy_, position_);
    if (changed)
        emit positionChanged(position_);
}

void SpinButtons::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}
