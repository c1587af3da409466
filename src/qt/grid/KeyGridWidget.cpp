#include "qt/grid/KeyGridWidget.h"

#include "core/model/GridGeometry.h"
#include "core/model/Layout.h"
#include "qt/grid/KeyGridAccessibleQt.h"
#include "qt/platform/NameText.h"
#include "qt/platform/Resources.h"
#include "qt/widgets/DialogUnits.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

using namespace zr4700;

KeyGridWidget::KeyGridWidget(const Layout& layout, QWidget* parent)
    : QWidget(parent), layout_(layout) {
    setObjectName("clientSurface");
    setMouseTracking(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // The factory first: setting the description makes the widget's interface, which must
    // already be the grid's own.
    KeyGridAccessible::Install();
    setAccessibleDescription(Resources::String("a11y.gridDesc"));
}

void KeyGridWidget::setShowNames(bool show) {
    if (show == showNames_)
        return;
    showNames_ = show;
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

void KeyGridWidget::AnnounceCurrentKey() {
    if (announcePending_)
        return;
    // Several changes may come from one user action: announce once it is complete.
    announcePending_ = true;
    QTimer::singleShot(0, this, [this] {
        announcePending_ = false;
        const int key = layout_.shownKey;
        if (key == announcedKey_ || key < 1 || key > layout_.keyCount)
            return;
        announcedKey_ = key;
        KeyGridAccessible::NotifyCurrentKey(this, key);
    });
}

void KeyGridWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    for (const CellPicture& cell : CellPictures(layout_)) {
        const GridPoint origin = KeyOrigin(cell.key);
        painter.drawPixmap(origin.x, origin.y, Picture(cell.picture, ratio));
    }
    if (showNames_)
        PaintCapTexts(painter);
    if (hasFocus())
        PaintFocusFrame(painter);
}

// While the grid has the keyboard focus, the current key carries a frame in the highlight
// colour, so that a keyboard user sees where the arrow keys and Enter act.
void KeyGridWidget::PaintFocusFrame(QPainter& painter) {
    for (const CellPicture& cell : CellPictures(layout_)) {
        if (cell.picture != kPictureSelectedBlank && cell.picture != kPictureSelectedProgrammed)
            continue;
        const GridPoint origin = KeyOrigin(cell.key);
        const QRect frame(origin.x, origin.y, PictureWidth(cell.picture),
                          PictureHeight(cell.picture));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(frame.adjusted(1, 1, -1, -1));
        painter.setPen(QPen(palette().color(QPalette::HighlightedText), 1, Qt::DotLine));
        painter.drawRect(frame.adjusted(3, 3, -4, -4));
        painter.restore();
    }
}

void KeyGridWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // The focus comes to the current key, so a screen reader says which one it is.
    KeyGridAccessible::NotifyCurrentKey(this, layout_.shownKey);
    update();
}

void KeyGridWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

QColor KeyGridWidget::TextColourOn(int picture) {
    auto it = textColours_.find(picture);
    if (it != textColours_.end())
        return *it;
    // The face is the middle of the picture, inside its bevel; its mean brightness decides, so a
    // replacement picture in local.rcc gets a readable colour too.
    const QImage image = Picture(picture, 1.0).toImage().convertToFormat(QImage::Format_RGB32);
    const QRect face = image.rect().adjusted(image.width() / 4, image.height() / 4,
                                             -image.width() / 4, -image.height() / 4);
    double sum = 0;
    int count = 0;
    for (int y = face.top(); y <= face.bottom(); ++y) {
        for (int x = face.left(); x <= face.right(); ++x) {
            const QColor c = QColor::fromRgb(image.pixel(x, y));
            sum += 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
            ++count;
        }
    }
    const double luminance = count ? sum / count : 0;
    const QColor colour = luminance > 0.45 ? QColor(20, 20, 20) : QColor(255, 255, 255);
    return *textColours_.insert(picture, colour);
}

const CapText& KeyGridWidget::Fitted(const QString& text, int picture, bool faint) {
    const QString key = QString::number(picture) + (faint ? u'f' : u'n') + text;
    auto it = fittedTexts_.find(key);
    if (it != fittedTexts_.end())
        return *it;
    if (fittedTexts_.size() > 2048)
        fittedTexts_.clear();
    QFont font = DialogFont();
    // The bevel takes about 3 px of each side of a 34 px cap.
    const QSizeF box(PictureWidth(picture) - 6, PictureHeight(picture) - 6);
    const bool big = picture == kPictureQuad;
    const CapText fitted = faint ? FitCapText(text, box, font, 9, 9, this)
                                 : FitCapText(text, box, font, big ? 14 : 11, 7, this);
    return *fittedTexts_.insert(key, fitted);
}

void KeyGridWidget::PaintCapTexts(QPainter& painter) {
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const CellPicture& cell : CellPictures(layout_)) {
        const int picture = cell.picture;
        if (picture == kPictureAbsent || picture == kPictureSelectedBlank ||
            picture == kPictureSelectedProgrammed)
            continue;
        const GridPoint origin = KeyOrigin(cell.key);
        const QRectF box(origin.x + 3, origin.y + 3, PictureWidth(picture) - 6,
                         PictureHeight(picture) - 6);
        if (picture == kPictureBlank) {
            QColor faint = TextColourOn(picture);
            faint.setAlpha(90);
            DrawCapText(painter, box, Fitted(QString::number(cell.key), picture, true), faint);
            continue;
        }
        const QString name = NameText(layout_.key(cell.key).name);
        DrawCapText(painter, box, Fitted(name, picture, false), TextColourOn(picture));
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
