#include "qt/grid/KeyGridAccessibleQt.h"

#include "core/document/Views.h"
#include "core/legend/LegendSheet.h"
#include "core/model/GridGeometry.h"
#include "core/model/Layout.h"
#include "qt/app/CommandActions.h"
#include "qt/grid/KeyGridWidget.h"
#include "qt/platform/Resources.h"

#include <QWidget>
#include <QWindow>

using namespace zr4700;

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("KeyGridWidget") && object && object->isWidgetType()) {
        if (auto* grid = qobject_cast<KeyGridWidget*>(object))
            return new KeyGridAccessibleInterface(grid);
    }
    return nullptr;
}

KeyGridAccessible::NotificationSpy notificationSpy = nullptr;

void Send(QAccessibleEvent& event) {
    if (notificationSpy)
        notificationSpy(&event);
    QAccessible::updateAccessibility(&event);
}

bool IsProgrammed(const Layout& layout, int key) {
    return layout.state(key) != CellState::Blank;
}

} // namespace

namespace KeyGridAccessible {

void Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

QString KeyName(const Layout& layout, int key) {
    return QString::fromStdString(KeyAccessibleName(layout, key, ResourceTexts()));
}

QString KeyDescription(const Layout& layout, int key) {
    if (key < 1 || key > kMaxKeys || !IsProgrammed(layout, key))
        return {};
    return QString::fromStdString(CodeNamesText(layout.key(key).codes));
}

void NotifyCurrentKey(KeyGridWidget* grid, int key) {
    // The interfaces are made once per grid and per key visited, so this stays cheap when no
    // tool listens.
    if (!grid)
        return;
    auto* surface =
        dynamic_cast<KeyGridAccessibleInterface*>(QAccessible::queryAccessibleInterface(grid));
    QAccessibleInterface* keyInterface = surface ? surface->Key(key) : nullptr;
    if (!keyInterface)
        return;
    if (grid->hasFocus()) {
        QAccessibleEvent focus(keyInterface, QAccessible::Focus);
        Send(focus);
    }
    QAccessibleEvent selection(keyInterface, QAccessible::Selection);
    Send(selection);
}

void SetNotificationSpy(NotificationSpy spy) {
    notificationSpy = spy;
}

} // namespace KeyGridAccessible

// ---- One key ---------------------------------------------------------------------------------

bool KeyAccessibleInterface::isValid() const {
    return grid_ && key_ >= 1 && key_ <= grid_->model().keyCount;
}

QWindow* KeyAccessibleInterface::window() const {
    return grid_ ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* KeyAccessibleInterface::parent() const {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

QString KeyAccessibleInterface::text(QAccessible::Text t) const {
    if (!grid_)
        return {};
    switch (t) {
    case QAccessible::Name:
        return KeyGridAccessible::KeyName(grid_->model(), key_);
    case QAccessible::Description:
        return KeyGridAccessible::KeyDescription(grid_->model(), key_);
    default:
        return {};
    }
}

QRect KeyAccessibleInterface::rect() const {
    if (!grid_)
        return {};
    const GridPoint origin = KeyOrigin(key_);
    return QRect(grid_->mapToGlobal(QPoint(origin.x, origin.y)), QSize(kKeyUnit, kKeyUnit));
}

QAccessible::State KeyAccessibleInterface::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.selectable = true;
    const bool current = grid_->model().shownKey == key_;
    state.selected = current;
    // Only one object has the focus: the current key while the grid holds it; while the focus is
    // on another control the key is merely the selected one.
    state.focused = current && grid_->hasFocus();
    state.invisible = !grid_->isVisible();
    return state;
}

// ---- The grid's surface -------------------------------------------------------------------------

KeyGridAccessibleInterface::KeyGridAccessibleInterface(KeyGridWidget* grid)
    : QAccessibleWidget(grid, QAccessible::Client), keys_(kMaxKeys, 0) {}

KeyGridAccessibleInterface::~KeyGridAccessibleInterface() {
    for (QAccessible::Id id : keys_) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
}

KeyGridWidget* KeyGridAccessibleInterface::grid() const {
    return static_cast<KeyGridWidget*>(widget());
}

int KeyGridAccessibleInterface::KeyCount() const {
    return std::min(grid()->model().keyCount, kMaxKeys);
}

QString KeyGridAccessibleInterface::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return Resources::String("a11y.grid");
    return QAccessibleWidget::text(t);
}

QAccessibleInterface* KeyGridAccessibleInterface::Key(int key) const {
    if (key < 1 || key > kMaxKeys)
        return nullptr;
    QAccessible::Id& id = keys_[static_cast<std::size_t>(key - 1)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new KeyAccessibleInterface(grid(), key));
    return QAccessible::accessibleInterface(id);
}

int KeyGridAccessibleInterface::childCount() const {
    return QAccessibleWidget::childCount() + KeyCount();
}

QAccessibleInterface* KeyGridAccessibleInterface::child(int index) const {
    const int widgets = QAccessibleWidget::childCount();
    if (index < widgets)
        return QAccessibleWidget::child(index);
    const int key = index - widgets + 1;
    return key <= KeyCount() ? Key(key) : nullptr;
}

int KeyGridAccessibleInterface::indexOfChild(const QAccessibleInterface* child) const {
    if (const auto* key = dynamic_cast<const KeyAccessibleInterface*>(child)) {
        if (key->grid() != grid() || key->key() > KeyCount())
            return -1;
        return QAccessibleWidget::childCount() + key->key() - 1;
    }
    return QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface* KeyGridAccessibleInterface::childAt(int x, int y) const {
    const QPoint local = grid()->mapFromGlobal(QPoint(x, y));
    if (IsOnGrid(local.x(), local.y(), grid()->model().keyCount)) {
        const int key = KeyFromPoint(local.x(), local.y());
        if (key >= 1)
            return Key(key);
    }
    return QAccessibleWidget::childAt(x, y);
}
