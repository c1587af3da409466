#pragma once
// The key grid as assistive tools see it: the grid's surface keeps its controls as accessible
// children and adds one button per key ("Key 10, Cash drawer", described by its code names), so
// a screen reader can walk the keys and announce each one as the arrow keys move the selection.
// The grid paints its keys itself, so they have no widgets of their own; these interfaces stand
// in for them.

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

class KeyGridWidget;

namespace zr4700 {
class Layout;
}

namespace KeyGridAccessible {

// Registers the factory that gives every KeyGridWidget its accessible interface; once.
void Install();
// Sends focus and selection notifications for a key to the platform's assistive tools.
void NotifyCurrentKey(KeyGridWidget* grid, int key);
// Tests: sees every notification first (Qt passes them on only while a tool listens).
using NotificationSpy = void (*)(QAccessibleEvent* event);
void SetNotificationSpy(NotificationSpy spy);
// "Key 10, Cash drawer", or "Key 10, not programmed".
QString KeyName(const zr4700::Layout& layout, int key);
// The key's code names, "A, B, Tab".
QString KeyDescription(const zr4700::Layout& layout, int key);

} // namespace KeyGridAccessible

// One key of the grid.
class KeyAccessibleInterface : public QAccessibleInterface {
  public:
    KeyAccessibleInterface(KeyGridWidget* grid, int key) : grid_(grid), key_(key) {}
    int key() const { return key_; }
    KeyGridWidget* grid() const { return grid_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override;

  private:
    QPointer<KeyGridWidget> grid_;
    int key_;
};

// The grid's surface: its child widgets first, then keys 1..keyCount.
class KeyGridAccessibleInterface : public QAccessibleWidget {
  public:
    explicit KeyGridAccessibleInterface(KeyGridWidget* grid);
    ~KeyGridAccessibleInterface() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The interface of key 1..112 (made when first asked for), null for any other number.
    QAccessibleInterface* Key(int key) const;

  private:
    KeyGridWidget* grid() const;
    int KeyCount() const;
    mutable std::vector<QAccessible::Id> keys_; // index key - 1; 0 until made
};
