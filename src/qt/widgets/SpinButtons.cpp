#include "qt/widgets/SpinButtons.h"

#include "qt/widgets/DataExchange.h"

#include <QKeyEvent>

#include <algorithm>

SpinButtons::SpinButtons(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), buddy_(buddy), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    // The buddy edit takes the keyboard's part: Page Up and "+" step up, Page Down and "-" down
    // (the arrow keys belong to the key grid).
    if (buddy_)
        buddy_->installEventFilter(this);
    connect(up_, &QToolButton::clicked, this, &SpinButtons::StepUp);
    connect(down_, &QToolButton::clicked, this, &SpinButtons::StepDown);
}

void SpinButtons::SetAccessibleNames(const QString& control, const QString& up,
                                     const QString& down) {
    setAccessibleName(control);
    up_->setAccessibleName(up);
    down_->setAccessibleName(down);
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

bool SpinButtons::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_Plus:
            StepUp();
            return true;
        case Qt::Key_PageDown:
        case Qt::Key_Minus:
            StepDown();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
