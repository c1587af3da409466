#include "qt/widgets/StatusBar.h"

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
    setObjectName("2101");
    for (int i = 0; i < kPaneCount; ++i) {
        auto* pane = new QLabel(this);
        pane->setObjectName(QStringLiteral("pane%1").arg(i));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setContentsMargins(3, 0, 3, 0);
        pane->setTextFormat(Qt::PlainText);
        panes_[static_cast<size_t>(i)] = pane;
    }
}

void StatusBar::SetPaneText(int pane, const QString& text) {
    if (pane >= 0 && pane < kPaneCount)
        panes_[static_cast<size_t>(pane)]->setText(text);
}

QString StatusBar::PaneText(int pane) const {
    if (pane < 0 || pane >= kPaneCount)
        return {};
    return panes_[static_cast<size_t>(pane)]->text();
}

void StatusBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    int left = 0;
    for (int i = 0; i < kPaneCount; ++i) {
        const int right = i < kPaneCount - 1 ? kPaneRightEdges[static_cast<size_t>(i)] : width();
        panes_[static_cast<size_t>(i)]->setGeometry(left, 1, right - left - 2, height() - 2);
        left = right;
    }
}
