#include "qt/grid/GridDragDrop.h"

#include "core/model/GridGeometry.h"
#include "core/model/Layout.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFrame>
#include <QMimeData>
#include <QMouseEvent>

namespace {

int DraggedKey(const QMimeData* data) {
    if (!data || !data->hasFormat(GridDragDrop::kMimeType))
        return 0;
    return data->data(GridDragDrop::kMimeType).toInt();
}

} // namespace

GridDragDrop::GridDragDrop(QWidget* grid, const zr4700::Layout& layout,
                           std::function<void(int, int)> onDrop)
    : QObject(grid), grid_(grid), layout_(layout), onDrop_(std::move(onDrop)) {
    grid_->setAcceptDrops(true);
    grid_->installEventFilter(this);
    frame_ = new QFrame(grid_);
    frame_->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame_->setLineWidth(3);
    frame_->setStyleSheet(QStringLiteral("color: palette(highlight);"));
    frame_->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame_->hide();
}

int GridDragDrop::TargetAt(const QPoint& point, int source) const {
    const int key = layout_.KeyAt(point.x(), point.y());
    return key == source ? 0 : key;
}

void GridDragDrop::Highlight(int key) {
    highlighted_ = key;
    if (key == 0) {
        frame_->hide();
        return;
    }
    // The whole cell the key belongs to.
    QRect cell;
    const auto add = [&cell](int k) {
        const zr4700::GridPoint origin = zr4700::KeyOrigin(k);
        cell |= QRect(origin.x, origin.y, zr4700::kKeyUnit, zr4700::kKeyUnit);
    };
    add(key);
    const zr4700::CellState state = layout_.state(key);
    const int partners = state == zr4700::CellState::Double ? 1
                         : state == zr4700::CellState::Quad ? 3
                                                            : 0;
    for (int i = 0; i < partners; ++i) {
        const int partner =
            layout_.partners[static_cast<std::size_t>(key)][static_cast<std::size_t>(i)];
        if (partner >= 1 && partner <= zr4700::kMaxKeys)
            add(partner);
    }
    frame_->setGeometry(cell);
    frame_->raise();
    frame_->show();
}

bool GridDragDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != grid_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        pressedAt_ = mouse->position().toPoint();
        const int key = layout_.KeyAt(pressedAt_.x(), pressedAt_.y());
        pressedKey_ = mouse->button() == Qt::LeftButton && key != 0 && layout_.key(key).programmed()
                          ? key
                          : 0;
        break;
    }
    case QEvent::MouseButtonRelease:
        pressedKey_ = 0;
        break;
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (pressedKey_ == 0 || !(mouse->buttons() & Qt::LeftButton) ||
            (mouse->position().toPoint() - pressedAt_).manhattanLength() <
                QApplication::startDragDistance())
            break;
        auto* data = new QMimeData;
        data->setData(kMimeType, QByteArray::number(pressedKey_));
        pressedKey_ = 0;
        auto* drag = new QDrag(grid_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
        Highlight(0);
        return true;
    }
    case QEvent::DragEnter: {
        // A drag that starts on the grid enters it over its own source key, where nothing may be
        // dropped. The enter is taken all the same, since a refused enter would keep every
        // later move and the drop away from the grid; each move then answers for its place.
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (DraggedKey(enter->mimeData()) == 0) {
            enter->ignore();
            return true;
        }
        enter->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        const int source = DraggedKey(move->mimeData());
        const QPoint at = move->position().toPoint();
        const int target = source ? TargetAt(at, source) : 0;
        Highlight(target);
        // The answer holds for the whole key under the pointer; off the keys it is asked again
        // on every move.
        const int key = layout_.KeyAt(at.x(), at.y());
        QRect answer;
        if (key != 0) {
            const zr4700::GridPoint origin = zr4700::KeyOrigin(key);
            answer = QRect(origin.x, origin.y, zr4700::kKeyUnit, zr4700::kKeyUnit);
        }
        if (target != 0) {
            move->setDropAction(Qt::CopyAction);
            move->accept(answer);
        } else {
            move->ignore(answer);
        }
        return true;
    }
    case QEvent::DragLeave:
        Highlight(0);
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const int source = DraggedKey(drop->mimeData());
        const int target = source ? TargetAt(drop->position().toPoint(), source) : 0;
        Highlight(0);
        if (target == 0)
            return true;
        drop->acceptProposedAction();
        onDrop_(source, target);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
