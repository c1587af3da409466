#pragma once
// The main dialog's client surface: it carries every control at its place, paints the key grid
// from the document, and reports mouse actions in its own (client) coordinates.

#include "qt/grid/CapTextQt.h"

#include <QColor>
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

    // Tells screen readers about the current key once the selection has settled.
    void AnnounceCurrentKey();

    // Whether each programmed key's name is drawn on its cap (blank keys then show their number
    // faintly). On unless turned off.
    void setShowNames(bool show);
    bool showNames() const { return showNames_; }
    // The document the grid shows (for its accessible description).
    const zr4700::Layout& model() const { return layout_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    const QPixmap& Picture(int id, qreal devicePixelRatio);
    void PaintCapTexts(QPainter& painter);
    void PaintFocusFrame(QPainter& painter);
    // Black or white, whichever reads better on the face of a picture.
    QColor TextColourOn(int picture);
    const CapText& Fitted(const QString& text, int picture, bool faint);
    // Tells assistive tools that the current key changed, once the selection has settled.

    const zr4700::Layout& layout_;
    QHash<quint64, QPixmap> pictures_;
    bool showNames_ = true;
    QHash<int, QColor> textColours_;
    QHash<QString, CapText> fittedTexts_;
    int announcedKey_ = 0;
    bool announcePending_ = false;
};
