#pragma once
// The main dialog's client surface: it carries every control at its place, paints the key grid
// from the document, and reports mouse actions in its own (client) coordinates.

#include <QHash>
#include <QPixmap>
#include <QWidget>

#include <functional>

namespace zr4700 {
class Layout;
}

class KeyGridWidget : public QWidget {
    Q_OBJECT

  public:
    KeyGridWidget(const zr4700::Layout& layout, QWidget* parent);

    std::function<void(int x, int y)> onMouseMove;
    std::function<void(int x, int y)> onLeftButtonDown;
    std::function<void(int x, int y)> onDoubleClick;
    std::function<void(const QPoint& globalPos)> onContextMenu;

    // Repaints the place of one picture.
    void RepaintCell(int key, int picture);
    // Forgets the cached pictures (after the resource set changed).
    void ReloadPictures();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    const QPixmap& Picture(int id, qreal devicePixelRatio);

    const zr4700::Layout& layout_;
    QHash<quint64, QPixmap> pictures_;
};
