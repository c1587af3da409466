#pragma once
// The main dialog's status bar (control 2101): seven panes with fixed right edges, the last one
// reaching the right edge of the client area.

#include <QFrame>
#include <QLabel>

#include <array>

class StatusBar : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kPaneCount = 7;
    static constexpr int kHeight = 20;
    // Right edges of panes 0..5 in pixels; pane 6 ends at the bar's right edge.
    static constexpr std::array<int, 6> kPaneRightEdges = {160, 330, 410, 485, 560, 630};

    explicit StatusBar(QWidget* parent);
    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::array<QLabel*, kPaneCount> panes_{};
};
