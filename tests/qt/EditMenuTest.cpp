// The Edit menu through the user's actions: each step undone and redone exactly, the step names,
// one step per visit to the name field, modified following the saved step, and the grid's
// clipboard (Ctrl+C, Ctrl+V, Delete).
#include "FileCommandsTestSupport.h"
#include "support/DocumentTestAccess.h"

#include "core/model/GridGeometry.h"
#include "qt/grid/GridDragDrop.h"
#include "qt/grid/KeyGridWidget.h"
#include "support/MainWindowFixtureQt.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

using namespace filetest;

namespace {

// What undo must give back: every key, the list, the current key, the values.
std::string StateOf(const zr4700::Layout& layout) {
    std::string state = zr4700::LayoutFileText(layout, zr4700::FileVariant::Scan16);
    for (int k = 1; k <= zr4700::kMaxKeys; ++k)
        state += std::to_string(static_cast<int>(layout.state(k)));
    for (const auto& item : ProgrammedKeyItems(layout))
        state += "|" + item;
    return state + "#" + std::to_string(layout.currentKey);
}

} // namespace

class EditMenuTest : public MainWindowTest {
  protected:
    void ClickKey(int key) {
        const zr4700::GridPoint origin = zr4700::KeyOrigin(key);
        QTest::mouseClick(dialog->grid(), Qt::LeftButton, {},
                          QPoint(origin.x + zr4700::kKeyUnit / 2, origin.y + zr4700::kKeyUnit / 2));
    }
    void Press(QKeySequence keys) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get();
        QTest::keySequence(target, keys);
    }
    QAction* EditAction(int index) const { return dialog->EditMenu()->actions().at(index); }
    void ProgramKey(int key, int code, const std::string& name) {
        zr4700::Layout& raw = zr4700::testing::RawLayout(dialog->document);
        raw.key(key).codes[0] = code;
        raw.key(key).setName(name);
        raw.state(key) = zr4700::CellState::Single;
    }
};

TEST_F(EditMenuTest, EachStepIsUndoneAndRedoneExactly) {
    ProgramKey(10, 0x1C, "Total");
    ProgramKey(11, 0x32, "Void");
    struct Step {
        const char* name;
        int key; // clicked first: selecting is no step
        std::function<void()> act;
        const char* undoText;
    };
    const Step steps[] = {
        {"rename", 10,
         [this] {
             auto* name = control<QLineEdit>(1009);
             name->setFocus();
             name->selectAll();
             QTest::keyClicks(name, "Cash");
         },
         "&Undo Rename key 10"},
        {"mode", 10, [this] { QTest::mouseClick(control<QRadioButton>(1024), Qt::LeftButton); },
         "&Undo Mode of key 10"},
        {"delete", 11, [this] { Press(QKeySequence(Qt::Key_Delete)); }, "&Undo Delete key 11"},
        {"paste", 20, [this] { Press(QKeySequence(Qt::CTRL | Qt::Key_V)); }, "&Undo Paste key 20"},
        {"mode for all", 10,
         [this] { QTest::mouseClick(control<QPushButton>(1025), Qt::LeftButton); },
         "&Undo Mode for all keys"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ClickKey(step.key);
        if (step.key == 20) {
            ClickKey(10);
            Press(QKeySequence(Qt::CTRL | Qt::Key_C));
            ClickKey(20);
        }
        const std::string before = StateOf(dialog->layout);
        step.act();
        dialog->grid()->setFocus(); // leaving the field ends the step
        const std::string after = StateOf(dialog->layout);
        ASSERT_FALSE(before == after);
        EXPECT_TRUE(dialog->document.modified());
        EXPECT_EQ(EditAction(0)->text().toStdString(), step.undoText);

        Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
        EXPECT_TRUE(StateOf(dialog->layout) == before) << "one step back, whole";
        Press(QKeySequence(Qt::CTRL | Qt::Key_Y));
        EXPECT_TRUE(StateOf(dialog->layout) == after);
    }
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "Cash: A");
    EXPECT_TRUE(TakeBoxes().empty()) << "Delete and paste ask nothing";
}

TEST_F(EditMenuTest, ModifiedFollowsTheSavedStep) {
    const QString path = TempPath("saved.txt");
    ProgramKey(10, 0x1C, "Total");
    zr4700::testing::RawLayout(dialog->document).fileName = path.toStdString();
    Choose(*dialog, zr4700::kCmdFileSave);
    ASSERT_FALSE(dialog->document.modified());
    EXPECT_FALSE(EditAction(0)->isEnabled()) << "nothing to undo";

    ClickKey(10);
    Press(QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(dialog->document.modified());
    Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_FALSE(dialog->document.modified()) << "back at the file's state";
    EXPECT_TRUE(EditAction(1)->isEnabled());
    Press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_TRUE(dialog->document.modified());

    // A new layout starts an empty history.
    Prompts::Instance().QueueAnswer(false);
    Choose(*dialog, zr4700::kCmdFileNew);
    TakeBoxes();
    EXPECT_FALSE(EditAction(0)->isEnabled());
    EXPECT_EQ(dialog->document.history().count(), 0u);
}

// A drag from key 10 as the window system delivers it: the enter over key 10 itself, moves to
// key 20, the drop there. Key 20 takes key 10's codes and name, one step that undo takes back.
TEST_F(EditMenuTest, DraggingAKeyOntoAnotherCopiesItThereInOneStep) {
    ProgramKey(10, 0x1C, "Total");
    auto centre = [](int key) {
        const zr4700::GridPoint origin = zr4700::KeyOrigin(key);
        return QPoint(origin.x + zr4700::kKeyUnit / 2, origin.y + zr4700::kKeyUnit / 2);
    };
    auto unit = [](int key) {
        const zr4700::GridPoint origin = zr4700::KeyOrigin(key);
        return QRect(origin.x, origin.y, zr4700::kKeyUnit, zr4700::kKeyUnit);
    };
    QMimeData data;
    data.setData(GridDragDrop::kMimeType, "10");
    QDragEnterEvent enter(centre(10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(dialog->grid(), &enter);
    EXPECT_TRUE(enter.isAccepted()) << "else the grid hears nothing more of the drag";

    QDragMoveEvent overSource(centre(10) + QPoint(3, 0), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(dialog->grid(), &overSource);
    EXPECT_FALSE(overSource.isAccepted()) << "nothing is dropped on the key itself";
    EXPECT_EQ(overSource.answerRect(), unit(10));
    for (int key : {11, 19, 20}) {
        QDragMoveEvent move(centre(key), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(dialog->grid(), &move);
        EXPECT_TRUE(move.isAccepted()) << key;
        EXPECT_EQ(move.answerRect(), unit(key)) << key;
    }
    QDropEvent drop(centre(20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(dialog->grid(), &drop);

    EXPECT_EQ(dialog->layout.key(20).name, "Total");
    EXPECT_EQ(dialog->layout.key(20).codes[0], 0x1C);
    EXPECT_EQ(dialog->layout.currentKey, 20);
    EXPECT_EQ(EditAction(0)->text().toStdString(), "&Undo Copy key to key 20");
    EditAction(0)->trigger();
    EXPECT_FALSE(dialog->layout.key(20).programmed());
}

// The key popup's items have shortcuts that work with the menu closed, under the popup's rules.
TEST_F(EditMenuTest, PopupShortcutsWorkUnderThePopupsRules) {
    ProgramKey(1, 0x1C, "Total");
    ClickKey(9); // a blank key: no shape can start there
    Press(QKeySequence(Qt::CTRL | Qt::Key_4));
    EXPECT_EQ(dialog->layout.state(9), zr4700::CellState::Blank);
    ClickKey(1);
    Press(QKeySequence(Qt::CTRL | Qt::Key_4));
    EXPECT_EQ(dialog->layout.state(1), zr4700::CellState::Quad);
    EXPECT_EQ(dialog->layout.key(10).name, "Total");
    for (QAction* action : dialog->KeyPopupMenu()->actions()) {
        if (!action->isSeparator() && !action->menu()) {
            EXPECT_FALSE(action->shortcut().isEmpty()) << action->text().toStdString();
        }
    }
}

// The popup shows the window's own actions: opening it over a blank key and closing it leaves
// the shortcuts to follow the next key's rules.
TEST_F(EditMenuTest, AClosedPopupLeavesTheShortcutsToTheNextKey) {
    ProgramKey(1, 0x1C, "Total");
    const zr4700::GridPoint blank = zr4700::KeyOrigin(20);
    dialog->OnGridContextMenu(dialog->grid()->mapToGlobal(
        QPoint(blank.x + zr4700::kKeyUnit / 2, blank.y + zr4700::kKeyUnit / 2)));
    ASSERT_TRUE(dialog->KeyPopupMenu()->isVisible());
    QTest::keyClick(dialog->KeyPopupMenu(), Qt::Key_Escape);
    ClickKey(1);
    Press(QKeySequence(Qt::CTRL | Qt::Key_4));
    EXPECT_EQ(dialog->layout.state(1), zr4700::CellState::Quad);
}

// Delete, Ctrl+C and Ctrl+V are the grid's: with the focus on a button of the key panel, Delete
// leaves the key alone.
TEST_F(EditMenuTest, DeleteActsOnTheKeyOnlyWhileTheGridHasTheFocus) {
    ProgramKey(5, 0x1C, "Total");
    ClickKey(5);
    auto* single = dialog->findChild<QWidget*>(QStringLiteral("1018"));
    ASSERT_NE(single, nullptr);
    single->setFocus();
    Press(QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(dialog->layout.key(5).programmed());
    ClickKey(5);
    Press(QKeySequence(Qt::Key_Delete));
    EXPECT_FALSE(dialog->layout.key(5).programmed());
}

// Undo and Redo in a text field: the field's own while it has something to take back or do
// again, then the document's history, for Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z alike.
class FieldUndoTest : public EditMenuTest {
  protected:
    // Key 10 named "Total" gets mode 2 (one step), then "X" is typed at the end of its name.
    QLineEdit* TypeAfterAModeStep(int key) {
        ProgramKey(key, 0x1C, "Total");
        zr4700::testing::RawLayout(dialog->document).RebuildProgrammedKeyList();
        ClickKey(key);
        QTest::mouseClick(control<QRadioButton>(1024), Qt::LeftButton);
        auto* name = control<QLineEdit>(1009);
        QTest::mouseClick(name, Qt::LeftButton);
        QTest::keyClick(name, Qt::Key_End);
        QTest::keyClicks(name, "X");
        EXPECT_EQ(dialog->layout.key(key).name, "TotalX");
        return name;
    }
};

TEST_F(FieldUndoTest, CtrlZTakesBackTheTypingThenTheDocumentsStepBefore) {
    QLineEdit* name = TypeAfterAModeStep(10);
    Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(name->text(), "Total");
    EXPECT_EQ(dialog->layout.key(10).name, "Total");
    EXPECT_EQ(EditAction(0)->text(), "&Undo Mode of key 10") << "the taken-back typing is no step";
    Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(dialog->layout.key(10).mode(), 0) << "the field had nothing left: the document's";
    EXPECT_EQ(QApplication::focusWidget(), name);
}

TEST_F(FieldUndoTest, CtrlYAndCtrlShiftZRedoTheFieldFirstThenTheDocument) {
    const QKeySequence redoKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    int key = 10;
    for (const QKeySequence& redo : redoKeys) {
        SCOPED_TRACE(redo.toString().toStdString());
        QLineEdit* name = TypeAfterAModeStep(++key);
        Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
        Press(redo);
        EXPECT_EQ(name->text(), "TotalX") << "the field's own redo";
        EXPECT_EQ(dialog->layout.key(key).name, "TotalX");
        Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
        Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
        ASSERT_EQ(dialog->layout.key(key).mode(), 0);
        Press(redo);
        EXPECT_EQ(dialog->layout.key(key).mode(), 2) << "past the field's typing: the document's";
        EXPECT_EQ(dialog->layout.key(key).name, "Total");
    }
}

TEST_F(FieldUndoTest, CtrlZInAnRfidFieldWithNothingTypedUndoesTheDocument) {
    ProgramKey(10, 0x1C, "Total");
    ClickKey(10);
    QTest::mouseClick(control<QRadioButton>(1024), Qt::LeftButton);
    auto* prefix = control<QLineEdit>(1037);
    QTest::mouseClick(prefix, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), prefix);
    Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(dialog->layout.key(10).mode(), 0);
}

TEST_F(FieldUndoTest, BackInAFieldCtrlZUndoesTheLastVisitAsOneStep) {
    auto* prefix = control<QLineEdit>(1037);
    const std::string before = prefix->text().toStdString();
    QTest::mouseClick(prefix, Qt::LeftButton);
    prefix->selectAll();
    QTest::keyClicks(prefix, "42");
    ASSERT_EQ(dialog->layout.rfid.prefix, 42);
    ClickKey(10);
    QTest::mouseClick(prefix, Qt::LeftButton);
    Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(prefix->text().toStdString(), before) << "the whole visit, the document's step";
    EXPECT_FALSE(dialog->document.history().CanUndo());
}
