#include "layout/KeyGridWidget.h"

#include "app/Resources.h"
#include "layout/GridGeometry.h"
#include "layout/Layout.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

using namespace zr4700;

KeyGridWidget::KeyGridWidget(const Layout& layout, QWidget* parent)
    : QWidget(parent), layout_(layout) {
    setObjectName("clientSurface");
    setMouseTracking(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void KeyGridWidget::ReloadPictures() {
    pictures_.clear();
    update();
}

// The pictures are drawn at 34 px per key unit from their stored 39 px (or the high-resolution
// variant on dense displays), scaled once per display density and kept.
const QPixmap& KeyGridWidget::Picture(int id, qreal devicePixelRatio) {
    const quint64 key = (static_cast<quint64>(id) << 32) |
                        static_cast<quint32>(std::lround(devicePixelRatio * 100));
    auto it = pictures_.find(key);
    if (it != pictures_.end())
        return *it;
    const QSize target(PictureWidth(id), PictureHeight(id));
    const QSize device(static_cast<int>(std::lround(target.width() * devicePixelRatio)),
                       static_cast<int>(std::lround(target.height() * devicePixelRatio)));
    const bool dense = device.width() > target.width() * kStoredKeyUnit / kKeyUnit;
    QPixmap source = Resources::Bitmap(id, dense ? 4 : 1);
    if (source.isNull()) {
        source = QPixmap(device);
        source.fill(Qt::magenta);
    }
    QPixmap scaled = source.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(devicePixelRatio);
    return *pictures_.insert(key, scaled);
}

void KeyGridWidget::RepaintCell(int key, int picture) {
    if (key < 1 || key > kMaxKeys)
        return;
    const GridPoint origin = KeyOrigin(key);
    update(origin.x, origin.y, PictureWidth(picture), PictureHeight(picture));
}

void KeyGridWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    for (const CellPicture& cell : CellPictures(layout_)) {
        const GridPoint origin = KeyOrigin(cell.key);
        painter.drawPixmap(origin.x, origin.y, Picture(cell.picture, ratio));
    }
}

void KeyGridWidget::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove)
        onMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
    QWidget::mouseMoveEvent(event);
}

void KeyGridWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onLeftButtonDown)
        onLeftButtonDown(event->position().toPoint().x(), event->position().toPoint().y());
    QWidget::mousePressEvent(event);
}

void KeyGridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onDoubleClick)
        onDoubleClick(event->position().toPoint().x(), event->position().toPoint().y());
}

void KeyGridWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (onContextMenu)
        onContextMenu(event->globalPos());
}
