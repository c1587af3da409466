// Key editing from the main window: the key popup's items, programming a key by double-clicking
// it and pressing keys in the capture dialog, naming keys and picking them from the list.
#include "core/model/GridGeometry.h"
#include "qt/grid/KeyGridWidget.h"
#include "qt/scancodes/CCaptureDlg.h"
#include "qt/scancodes/CCaptureEdit.h"
#include "support/DocumentTestAccess.h"
#include "support/MainWindowFixtureQt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using zr4700::CellState;

namespace {

// The centre of key k on the client surface.
QPoint centreOf(int key) {
    const zr4700::GridPoint origin = zr4700::KeyOrigin(key);
    return {origin.x + zr4700::kKeyUnit / 2, origin.y + zr4700::kKeyUnit / 2};
}

// A key press as the PC keyboard reports it under X11: native scan code = evdev code + 8.
void pressEvdevKey(QWidget* target, Qt::Key key, quint32 evdev, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, evdev + 8, 0, 0, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, evdev + 8, 0, 0, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

class KeyEditingUiTest : public MainWindowTest {
  protected:
    // Opens the key popup over key k and returns which commands it enables.
    std::map<int, bool> popupOver(int key) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, centreOf(key),
                                dialog->grid()->mapToGlobal(centreOf(key)));
        QApplication::sendEvent(dialog->grid(), &event);
        std::map<int, bool> enabled;
        for (int command : {40001, 32779, 32781, 32782, 32784, 32793, 32791, 32792})
            enabled[command] = dialog->KeyPopupAction(command)->isEnabled();
        dialog->KeyPopupMenu()->hide();
        return enabled;
    }

    // Double-clicks key k and, in the capture dialog, presses the given keys then OK.
    void programByCapture(int key, const std::function<void()>& strokes) {
        QTimer::singleShot(0, [strokes] {
            ASSERT_TRUE(theCaptureDlg->isVisible()) << "the capture dialog runs";
            strokes();
            theCaptureDlg->findChild<QPushButton*>("1020")->click();
        });
        QTest::mouseDClick(dialog->grid(), Qt::LeftButton, {}, centreOf(key));
    }

    static QWidget* captureTarget() { return theCaptureDlg->captureEdit; }
};

TEST_F(KeyEditingUiTest, PopupOverABlankKeyOffersOnlyInsertCopyAndClearAll) {
    auto enabled = popupOver(10);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 10);
    EXPECT_TRUE(enabled[40001]);
    for (int command : {32779, 32781, 32782, 32784, 32791})
        EXPECT_FALSE(enabled[command]) << command;
    EXPECT_FALSE(enabled[32793]) << "no list entry selected";
    EXPECT_FALSE(enabled[32792]) << "no key has codes";

    zr4700::testing::RawLayout(dialog->document).key(3).codes[0] = 28;
    zr4700::testing::RawLayout(dialog->document).state(3) = CellState::Single;
    enabled = popupOver(10);
    EXPECT_TRUE(enabled[32792]);
}

TEST_F(KeyEditingUiTest, PopupOverASingleKeyInTheLastColumnAndRow) {
    for (int key : {16, 52}) {
        zr4700::testing::RawLayout(dialog->document).key(key).codes[0] = 28;
        zr4700::testing::RawLayout(dialog->document).state(key) = CellState::Single;
    }
    auto enabled = popupOver(16);
    EXPECT_FALSE(enabled[32779]);
    EXPECT_FALSE(enabled[32781]) << "last column: no double to the right";
    EXPECT_FALSE(enabled[32784]);
    EXPECT_TRUE(enabled[32782]);
    EXPECT_TRUE(enabled[32791]);
    enabled = popupOver(52);
    EXPECT_FALSE(enabled[32782]) << "last row: no double downward";
    EXPECT_FALSE(enabled[32784]);
    EXPECT_TRUE(enabled[32781]);
}

TEST_F(KeyEditingUiTest, DoubleClickAndKeyStrokesProgramAKey) {
    programByCapture(12, [] {
        pressEvdevKey(captureTarget(), Qt::Key_A, 30, "a");
        pressEvdevKey(captureTarget(), Qt::Key_Control, 97, {}); // right Ctrl
        pressEvdevKey(captureTarget(), Qt::Key_Tab, 15, "\t");
    });
    const auto& key = zr4700::testing::RawLayout(dialog->document).key(12);
    EXPECT_EQ(key.codes[0], 28);
    EXPECT_EQ(key.codes[1], 224);
    EXPECT_EQ(key.codes[2], 20);
    EXPECT_EQ(key.codes[3], 13);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).state(12), CellState::Single);
    EXPECT_TRUE(dialog->document.modified());
    EXPECT_EQ(control<QLineEdit>(1000)->text(), "A");
    EXPECT_EQ(control<QLineEdit>(1001)->text(), "extended");
    EXPECT_EQ(control<QLineEdit>(1003)->text(), "Ctrl_right");
    EXPECT_EQ(control<QLineEdit>(1004)->text(), "Tab");
    auto* combo = control<QComboBox>(1016);
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentText(), "KEY12 *");
    EXPECT_TRUE(dialog->isEnabled());
}

// The same edits in the Windows programmer must write the same bytes: its test under Wine
// compares its file with this committed one. ZR4700_WRITE_EXAMPLES rewrites the file.
TEST_F(KeyEditingUiTest, CaptureNameAndSaveAsWriteTheCommittedEditorFile) {
    programByCapture(12, [] {
        pressEvdevKey(captureTarget(), Qt::Key_A, 30, "a");
        pressEvdevKey(captureTarget(), Qt::Key_Control, 97, {}); // right Ctrl
        pressEvdevKey(captureTarget(), Qt::Key_Tab, 15, "\t");
    });
    // Offscreen, the closed capture dialog stays the active window: nothing hands the activation
    // back, as a window manager does.
    QApplication::setActiveWindow(dialog.get());
    auto* name = control<QLineEdit>(1009);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Total");
    const QString path = TempPath("captured.txt");
    FileDialogs::QueueAnswer(FileDialogs::Choice{path, 2}); // "ZR-4700 16scan"
    QTest::keySequence(name, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ASSERT_FALSE(dialog->document.modified());

    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QFile committed(QStringLiteral(ZR4700_TEST_DATA "/editor/captured-key-12.txt"));
    if (qEnvironmentVariableIsSet("ZR4700_WRITE_EXAMPLES")) {
        ASSERT_TRUE(committed.open(QIODevice::WriteOnly | QIODevice::Truncate));
        committed.write(bytes);
        return;
    }
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    EXPECT_EQ(bytes, committed.readAll());
}

TEST_F(KeyEditingUiTest, TypingANameRenamesTheListEntryAndStopsAtTheFieldLength) {
    programByCapture(5, [] { pressEvdevKey(captureTarget(), Qt::Key_B, 48, "b"); });
    auto* name = control<QLineEdit>(1009);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Bravo");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(5).name, "Bravo");
    EXPECT_EQ(control<QComboBox>(1016)->currentText(), "Bravo *");

    QTest::keyClicks(name, QString(200, 'x'));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(5).name.size(),
              zr4700::kMaxKeyNameLength);
    EXPECT_EQ(name->text().size(), static_cast<int>(zr4700::kMaxKeyNameLength));
}

TEST_F(KeyEditingUiTest, ChoosingAListEntryShowsTheKeyThatCarriesIt) {
    programByCapture(7, [] { pressEvdevKey(captureTarget(), Qt::Key_C, 46, "c"); });
    zr4700::testing::RawLayout(dialog->document).currentKey = 1;
    dialog->document.SelectKey(1);
    auto* combo = control<QComboBox>(1016);
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 7);
    EXPECT_EQ(control<QLineEdit>(1012)->text(), "7");
    EXPECT_EQ(control<QLineEdit>(1000)->text(), "C");
}

TEST_F(KeyEditingUiTest, ClearKeyFromThePopupAsksAndClears) {
    programByCapture(20, [] { pressEvdevKey(captureTarget(), Qt::Key_D, 32, "d"); });
    popupOver(20);
    Prompts::Instance().QueueAnswer(true);
    dialog->KeyPopupAction(32791)->trigger();
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"Warning: Clear key KEY20 ?"}));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).state(20), CellState::Blank);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(20).codes[0], 0);
    EXPECT_EQ(control<QComboBox>(1016)->itemText(0), "KEY20") << "the entry stays, unmarked";
}

TEST_F(KeyEditingUiTest, ShapeCommandsFromThePopupMergeAndSplit) {
    programByCapture(3, [] { pressEvdevKey(captureTarget(), Qt::Key_E, 18, "e"); });
    popupOver(3);
    dialog->KeyPopupAction(32781)->trigger();
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).state(3), CellState::Double);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).state(4), CellState::Double);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(4).codes[0], 36); // E
    popupOver(4);
    dialog->KeyPopupAction(32779)->trigger();
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).state(3), CellState::Single);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).state(4), CellState::Single);
}

TEST_F(KeyEditingUiTest, MenuKeyOpensThePopupAtTheCurrentKey) {
    zr4700::testing::RawLayout(dialog->document).currentKey = 9;
    dialog->document.SelectKey(9);
    auto* name = control<QLineEdit>(1009);
    name->setFocus();
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(name, key, modifiers);
        EXPECT_TRUE(dialog->KeyPopupMenu()->isVisible());
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 9);
        EXPECT_FALSE(dialog->KeyPopupAction(32781)->isEnabled()) << "key 9 is blank";
        dialog->KeyPopupMenu()->hide();
    }
}

TEST_F(KeyEditingUiTest, KeyboardContextMenuRequestShowsTheKeyPopup) {
    zr4700::testing::RawLayout(dialog->document).currentKey = 30;
    dialog->document.SelectKey(30);
    auto* name = control<QLineEdit>(1009);
    name->setFocus();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(2, 2),
                              name->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(name, &request);
    EXPECT_TRUE(dialog->KeyPopupMenu()->isVisible());
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 30);
    dialog->KeyPopupMenu()->hide();
}

// The capture dialog is kept between keys; it opens centred over the window every time, even
// after the user moved it.
TEST_F(KeyEditingUiTest, CaptureDialogOpensAtTheSamePlaceEveryTime) {
    std::vector<QPoint> places;
    for (int run = 0; run < 3; ++run) {
        QTimer::singleShot(0, [&places] {
            places.push_back(theCaptureDlg->pos());
            theCaptureDlg->move(theCaptureDlg->pos() + QPoint(40, 25));
            theCaptureDlg->findChild<QPushButton*>("1066")->click();
        });
        dialog->EditKeyCodes();
    }
    ASSERT_EQ(places.size(), 3u);
    const QPoint centred = dialog->frameGeometry().center() -
                           QPoint(theCaptureDlg->width() / 2, theCaptureDlg->height() / 2);
    for (const QPoint& place : places)
        EXPECT_EQ(place, centred);
}
