#pragma once
// Drag and drop on the key grid: dragging a programmed key onto another key copies it there.
// The usual drag distance keeps clicks and double-clicks as they were; while a drag hovers over
// a key, that key's whole cell is framed.

#include <QObject>
#include <QPoint>

#include <functional>

class QFrame;
class QWidget;
namespace zr4700 {
class Layout;
}

class GridDragDrop : public QObject {
    Q_OBJECT

  public:
    // The format of a dragged key: its number as text.
    static constexpr const char* kMimeType = "application/x-zr4700-key";

    // onDrop(source, target) is called when a key is dropped on another key.
    GridDragDrop(QWidget* grid, const zr4700::Layout& layout,
                 std::function<void(int source, int target)> onDrop);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Highlight(int key);
    int TargetAt(const QPoint& point, int source) const;

    QWidget* grid_;
    const zr4700::Layout& layout_;
    std::function<void(int, int)> onDrop_;
    QFrame* frame_ = nullptr;
    QPoint pressedAt_;
    int pressedKey_ = 0;
    int highlighted_ = 0;
};
