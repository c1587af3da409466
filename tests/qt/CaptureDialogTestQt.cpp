// The capture dialog: key strokes with native key codes, as the PC keyboard delivers them, fill
// the 16 capture; Back, Clear All, Edit, OK and Cancel; the focus stays on the catcher.
#include "core/scancodes/CaptureSlots.h"
#include "qt/scancodes/CCaptureDlg.h"
#include "qt/scancodes/CCaptureEdit.h"
#include "qt/scancodes/CScanCodesDlg.h"
#include "support/MainWindowFixtureQt.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using zr4700::CaptureSlots;
using zr4700::KeyCodes;

// A physical key of the PC keyboard: its set-1 code, extended flag and Windows virtual key, and
// the evdev code that Linux reports for it (plus 8 as the native scan code).
struct PcKey {
    int qtKey;
    quint32 evdev;
    quint8 set1;
    bool extended;
    quint32 windowsVirtualKey;
    QString text;
};

const PcKey keyA{Qt::Key_A, 30, 0x1E, false, 0x41, "a"};
const PcKey keyB{Qt::Key_B, 48, 0x30, false, 0x42, "b"};
const PcKey keyC{Qt::Key_C, 46, 0x2E, false, 0x43, "c"};
const PcKey keyD{Qt::Key_D, 32, 0x20, false, 0x44, "d"};
const PcKey keyX{Qt::Key_X, 45, 0x2D, false, 0x58, "x"};
const PcKey keyTab{Qt::Key_Tab, 15, 0x0F, false, 0x09, "\t"};
const PcKey keyEnter{Qt::Key_Return, 28, 0x1C, false, 0x0D, "\r"};
const PcKey keyEscape{Qt::Key_Escape, 1, 0x01, false, 0x1B, "\x1b"};
const PcKey keyAltLeft{Qt::Key_Alt, 56, 0x38, false, 0x12, ""};
const PcKey keyF10{Qt::Key_F10, 68, 0x44, false, 0x79, ""};
const PcKey keyPause{Qt::Key_Pause, 119, 0x45, false, 19, ""};
const PcKey keyNumLock{Qt::Key_NumLock, 69, 0x45, true, 144, ""};
const PcKey keyCtrlRight{Qt::Key_Control, 97, 0x1D, true, 0x11, ""};
const PcKey keyKeypadEnter{Qt::Key_Enter, 96, 0x1C, true, 0x0D, "\r"};
const PcKey keyHome{Qt::Key_Home, 102, 0x47, true, 0x24, ""};
const PcKey keyMenu{Qt::Key_Menu, 127, 0x5D, true, 0x5D, ""};

Qt::KeyboardModifiers ModifiersOf(const PcKey& key) {
    if (key.qtKey == Qt::Key_Alt)
        return Qt::AltModifier;
    if (key.qtKey == Qt::Key_Control)
        return Qt::ControlModifier;
    if (key.qtKey == Qt::Key_Enter)
        return Qt::KeypadModifier;
    return Qt::NoModifier;
}

QKeyEvent NativeKeyEvent(QEvent::Type type, const PcKey& key, bool autoRepeat) {
#if defined(Q_OS_WIN)
    const quint32 nativeScanCode = key.set1 | (key.extended ? 0x100u : 0u);
    const quint32 nativeVirtualKey = key.windowsVirtualKey;
#else
    const quint32 nativeScanCode = key.evdev + 8;
    const quint32 nativeVirtualKey = 0;
#endif
    return QKeyEvent(type, key.qtKey, ModifiersOf(key), nativeScanCode, nativeVirtualKey, 0,
                     key.text, autoRepeat);
}

// Presses and releases a key at the widget that has the keyboard focus, as the window system
// would deliver it (a key press sent this way first goes through the shortcut check).
void PressKey(const PcKey& key, bool autoRepeat = false) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "no widget has the keyboard focus";
    QKeyEvent press = NativeKeyEvent(QEvent::KeyPress, key, autoRepeat);
    QApplication::sendEvent(target, &press);
    if (QWidget* releaseTarget = QApplication::focusWidget()) {
        QKeyEvent release = NativeKeyEvent(QEvent::KeyRelease, key, autoRepeat);
        QApplication::sendEvent(releaseTarget, &release);
    }
}

KeyCodes Codes(std::initializer_list<int> first) {
    KeyCodes codes{};
    std::size_t i = 0;
    for (int code : first)
        codes[i++] = code;
    return codes;
}

zr4700::CodeNames NamesOf(const KeyCodes& codes) {
    zr4700::CodeNames names;
    for (std::size_t i = 0; i < codes.size(); ++i)
        names[i] = zr4700::NameOfCode(codes[i], i == 0 ? 0 : codes[i - 1]);
    return names;
}

// ---- The slots on their own ---------------------------------------------------------------------

struct StrokeRow {
    const char* what;
    std::uint32_t virtualKey;
    std::uint8_t scanCode;
    bool extended;
    std::vector<std::pair<int, std::string>> stored; // slot contents from slot 1
    int nextSlot;
};

const StrokeRow strokeRows[] = {
    {"A", 0, 0x1E, false, {{28, "A"}}, 2},
    {"right Ctrl", 0, 0x1D, true, {{224, "extended"}, {20, "Ctrl_right"}}, 3},
    {"keypad Enter", 0, 0x1C, true, {{224, "extended"}, {90, "Enter_num"}}, 3},
    {"Num Lock", 144, 0x45, true, {{119, "Num_lock"}}, 2},
    {"Tab", 0, 0x0F, false, {{13, "Tab"}}, 2},
    {"Pause", 19, 0x45, false, {}, 1},
    // Keys without a set-2 code would leave an empty slot in the middle of the sequence.
    {"Sys Req", 0, 0x54, false, {}, 1},
    {"102nd key", 0, 0x56, false, {}, 1},
    {"beyond the tables", 0, 0x70, false, {}, 1},
    {"extended beyond the names", 0, 0x57, true, {}, 1},
};

TEST(CaptureSlots, OneStrokeOnEmptySlots) {
    for (const StrokeRow& row : strokeRows) {
        SCOPED_TRACE(row.what);
        CaptureSlots capture;
        capture.Capture(row.virtualKey, row.scanCode, row.extended);
        EXPECT_EQ(capture.nextSlot, row.nextSlot);
        for (std::size_t i = 0; i < zr4700::kCodeSlots; ++i) {
            const auto expected =
                i < row.stored.size() ? row.stored[i] : std::pair<int, std::string>{0, ""};
            EXPECT_EQ(capture.codeSlots[i], expected.first) << "slot " << i + 1;
            EXPECT_EQ(capture.codeNames[i], expected.second) << "slot " << i + 1;
        }
    }
}

TEST(CaptureSlots, BackRemovesTheLastStrokeWithItsPrefix) {
    CaptureSlots capture;
    capture.Capture(0, 0x1E, false);
    capture.Capture(0, 0x1D, true);
    ASSERT_EQ(capture.nextSlot, 4);
    capture.Back();
    EXPECT_EQ(capture.nextSlot, 2);
    EXPECT_EQ(capture.codeSlots, Codes({28}));
    EXPECT_EQ(capture.codeNames[1], "");
    EXPECT_EQ(capture.codeNames[2], "");
    capture.Back();
    EXPECT_EQ(capture.nextSlot, 1);
    EXPECT_EQ(capture.codeSlots, Codes({}));
    capture.Back();
    EXPECT_EQ(capture.nextSlot, 1);
}

TEST(CaptureSlots, BackWhenFullEmptiesSlotSixteen) {
    CaptureSlots capture;
    for (int i = 0; i < 14; ++i)
        capture.Capture(0, 0x1E, false);
    capture.Capture(0, 0x47, true); // Home fills slots 15 and 16
    ASSERT_EQ(capture.nextSlot, zr4700::allSlotsFull);
    EXPECT_EQ(capture.codeSlots[14], 224);
    EXPECT_EQ(capture.codeNames[15], "Home");
    capture.Back();
    EXPECT_EQ(capture.nextSlot, 15);
    EXPECT_EQ(capture.codeSlots[14], 0);
    EXPECT_EQ(capture.codeSlots[15], 0);
    EXPECT_EQ(capture.codeSlots[13], 28);
}

TEST(CaptureSlots, EditedCodesAreNamedInContext) {
    CaptureSlots capture;
    capture.nextSlot = 5;
    zr4700::EditedCodes edited{};
    edited[0] = 224;
    edited[1] = 108;
    edited[2] = 108;
    edited[3] = 240;
    edited[4] = 132;
    capture.ApplyEditedCodes(edited);
    EXPECT_EQ(capture.codeSlots, Codes({224, 108, 108, 240, 132}));
    EXPECT_EQ(capture.codeNames[0], "extended");
    EXPECT_EQ(capture.codeNames[1], "Home");
    EXPECT_EQ(capture.codeNames[2], "7_num");
    EXPECT_EQ(capture.codeNames[3], "key_240");
    EXPECT_EQ(capture.codeNames[4], "key_132");
    EXPECT_EQ(capture.codeNames[5], "");
    EXPECT_EQ(capture.nextSlot, 5) << "editing does not move the next slot";
    EXPECT_EQ(capture.CodesForEditing(), edited);
}

TEST(CaptureSlots, EditedZeroFirstCodeMeansNoCodes) {
    CaptureSlots capture;
    capture.codeSlots = Codes({28, 50, 33});
    capture.codeNames = NamesOf(capture.codeSlots);
    capture.nextSlot = 3;
    zr4700::EditedCodes edited = capture.CodesForEditing();
    edited[0] = 0;
    capture.ApplyEditedCodes(edited);
    EXPECT_EQ(capture.codeSlots, Codes({}));
    EXPECT_EQ(capture.codeNames, zr4700::CodeNames{});
    EXPECT_EQ(capture.nextSlot, 1);
}

// ---- The dialog ---------------------------------------------------------------------------------

class CaptureDialogTest : public ScriptedUi {
  protected:
    void SetUp() override {
        ScriptedUi::SetUp();
        dialog = std::make_unique<CCaptureDlg>();
    }

    void TearDown() override {
        dialog.reset();
        EXPECT_TRUE(TakeBoxes().empty());
        ScriptedUi::TearDown();
    }

    // Fills the slots as the key editing command does and opens the dialog.
    void OpenWith(const KeyCodes& codes) {
        dialog->codeSlots = codes;
        dialog->codeNames = NamesOf(codes);
        dialog->open();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        ASSERT_EQ(QApplication::focusWidget(), dialog->captureEdit);
    }

    QPushButton* Button(int id) const {
        return dialog->findChild<QPushButton*>(QString::number(id));
    }

    // The shown slots, as "code name" per slot up to the last non-empty one.
    std::vector<std::string> Shown() const {
        std::vector<std::string> rows;
        for (int slot = 1; slot <= zr4700::kCodeSlots; ++slot)
            rows.push_back((dialog->CodeField(slot)->text() + " " + dialog->NameField(slot)->text())
                               .toStdString());
        while (!rows.empty() && rows.back() == "0 ")
            rows.pop_back();
        return rows;
    }

    // Runs drive on the Edit scan codes dialog once its modal run has started. A dialog that
    // drive leaves open is cancelled, so that a test never waits for a person.
    void WhenEditDialogOpens(std::function<void(CScanCodesDlg&)> drive) {
        QTimer::singleShot(0, [drive = std::move(drive)] {
            auto* editDialog = qobject_cast<CScanCodesDlg*>(QApplication::activeModalWidget());
            if (!editDialog) {
                ADD_FAILURE() << "the Edit scan codes dialog is not open";
                return;
            }
            drive(*editDialog);
            if (editDialog->isVisible()) {
                ADD_FAILURE() << "the Edit scan codes dialog stayed open";
                editDialog->reject();
            }
        });
    }

    std::unique_ptr<CCaptureDlg> dialog;
};

TEST_F(CaptureDialogTest, OpensWithTheCallersCodesAndTheCatcherFocused) {
    OpenWith(Codes({28, 50, 33}));
    EXPECT_EQ(dialog->windowTitle(), "Insert scan-codes by pressing key");
    EXPECT_EQ(dialog->nextSlot, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "50 B", "33 C"}));
    EXPECT_EQ(dialog->CodeField(16)->text(), "0");
    EXPECT_EQ(dialog->captureEdit->objectName(), "1056");
    EXPECT_TRUE(dialog->captureEdit->hasFocus());
}

TEST_F(CaptureDialogTest, AStrokeReplacesSlotOneOnly) {
    OpenWith(Codes({28, 50, 33}));
    PressKey(keyX);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"34 X", "50 B", "33 C"}));
    Button(1020)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->codeSlots, Codes({34, 50, 33}));
    EXPECT_EQ(dialog->codeNames[0], "X");
    EXPECT_EQ(dialog->codeNames[1], "B");
}

TEST_F(CaptureDialogTest, StrokesFillTheSlotsInTurn) {
    OpenWith(Codes({28, 50, 33}));
    PressKey(keyA);
    PressKey(keyB);
    PressKey(keyC);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "50 B", "33 C"}));
    EXPECT_EQ(dialog->nextSlot, 4);
    PressKey(keyD);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "50 B", "33 C", "35 D"}));
}

TEST_F(CaptureDialogTest, BackRemovesAnExtendedKeyWithItsPrefix) {
    OpenWith(Codes({}));
    PressKey(keyA);
    PressKey(keyCtrlRight);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "224 extended", "20 Ctrl_right"}));
    EXPECT_EQ(dialog->nextSlot, 4);
    Button(1068)->click();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A"}));
    EXPECT_EQ(dialog->nextSlot, 2);
    EXPECT_TRUE(dialog->captureEdit->hasFocus());
}

TEST_F(CaptureDialogTest, FullSlotsDropFurtherStrokes) {
    OpenWith(Codes({}));
    for (int i = 0; i < 15; ++i)
        PressKey(keyA);
    PressKey(keyCtrlRight);
    EXPECT_EQ(dialog->nextSlot, 16);
    EXPECT_EQ(dialog->CodeField(16)->text(), "0");
    PressKey(keyB);
    EXPECT_EQ(dialog->nextSlot, 17);
    EXPECT_EQ(dialog->CodeField(16)->text(), "50");
    EXPECT_EQ(dialog->NameField(16)->text(), "B");
    PressKey(keyC);
    PressKey(keyHome);
    EXPECT_EQ(dialog->CodeField(16)->text(), "50");
    EXPECT_EQ(dialog->CodeField(15)->text(), "28");
    Button(1068)->click();
    EXPECT_EQ(dialog->nextSlot, 16);
    EXPECT_EQ(dialog->CodeField(16)->text(), "0");
}

TEST_F(CaptureDialogTest, EveryAutoRepeatFillsASlot) {
    OpenWith(Codes({}));
    PressKey(keyA);
    for (int i = 0; i < 4; ++i)
        PressKey(keyA, true);
    EXPECT_EQ(Shown(), (std::vector<std::string>(5, "28 A")));
}

TEST_F(CaptureDialogTest, DialogKeysAreCapturedAndTheDialogStaysOpen) {
    int shortcutsFired = 0;
    for (const QKeySequence& sequence :
         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Tab)}) {
        auto* shortcut = new QShortcut(sequence, dialog.get());
        QObject::connect(shortcut, &QShortcut::activated, [&shortcutsFired] { ++shortcutsFired; });
    }
    OpenWith(Codes({}));
    for (const PcKey& key : {keyTab, keyEnter, keyEscape, keyAltLeft, keyF10}) {
        PressKey(key);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dialog->captureEdit);
    }
    EXPECT_EQ(Shown(),
              (std::vector<std::string>{"13 Tab", "90 Enter", "118 Esc", "17 Alt_left", "9 F10"}));
    EXPECT_EQ(shortcutsFired, 0);
}

TEST_F(CaptureDialogTest, KeypadEnterAndNumLock) {
    OpenWith(Codes({}));
    PressKey(keyKeypadEnter);
    PressKey(keyNumLock);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"224 extended", "90 Enter_num", "119 Num_lock"}));
}

TEST_F(CaptureDialogTest, TheMenuKeyOpensNoPopup) {
    OpenWith(Codes({}));
    // The window system announces the menu key as a context-menu request before its key press.
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(QApplication::focusWidget(), &request);
    PressKey(keyMenu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    PressKey(keyA);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"224 extended", "47 Win_Pop_up", "28 A"}));
}

TEST_F(CaptureDialogTest, PauseAndKeysWithoutNativeCodesAreIgnored) {
    OpenWith(Codes({28, 50}));
    PressKey(keyPause);
    // A key event that carries no native key code, as QTest sends it.
    QTest::keyClick(dialog->captureEdit, Qt::Key_A);
    EXPECT_EQ(dialog->nextSlot, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "50 B"}));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(CaptureDialogTest, BackRightAfterOpeningChangesNothing) {
    OpenWith(Codes({28, 50, 33}));
    Button(1068)->click();
    EXPECT_EQ(dialog->nextSlot, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "50 B", "33 C"}));
}

TEST_F(CaptureDialogTest, ClearAllEmptiesEverySlot) {
    OpenWith(Codes({28, 50, 33}));
    PressKey(keyX);
    Button(1033)->click();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(dialog->nextSlot, 1);
    EXPECT_TRUE(dialog->captureEdit->hasFocus());
    PressKey(keyD);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"35 D"}));
}

TEST_F(CaptureDialogTest, EditReturnsCodesThatAreNamedInContext) {
    OpenWith(Codes({28}));
    PressKey(keyA);
    WhenEditDialogOpens([](CScanCodesDlg& editDialog) {
        EXPECT_EQ(editDialog.CodeField(1)->text(), "28");
        editDialog.CodeField(1)->selectAll();
        QTest::keyClicks(editDialog.CodeField(1), "224");
        editDialog.CodeField(2)->selectAll();
        QTest::keyClicks(editDialog.CodeField(2), "108");
        QTest::keyClick(editDialog.CodeField(2), Qt::Key_Return);
    });
    Button(1034)->click();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"224 extended", "108 Home"}));
    EXPECT_EQ(dialog->nextSlot, 2) << "editing leaves the next slot where it was";
    EXPECT_TRUE(dialog->isVisible());
    // The focus is back on the catcher as soon as the window is active again.
    EXPECT_EQ(dialog->focusWidget(), dialog->captureEdit);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), dialog->captureEdit);
    PressKey(keyB);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"224 extended", "50 B"}));
}

TEST_F(CaptureDialogTest, EditAcceptsAnyByte) {
    OpenWith(Codes({28}));
    WhenEditDialogOpens([](CScanCodesDlg& editDialog) {
        editDialog.CodeField(2)->selectAll();
        QTest::keyClicks(editDialog.CodeField(2), "240");
        editDialog.findChild<QPushButton*>("1")->click();
    });
    Button(1034)->click();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "240 key_240"}));
}

TEST_F(CaptureDialogTest, EditCancelledKeepsTheSlots) {
    OpenWith(Codes({28, 50, 33}));
    WhenEditDialogOpens([](CScanCodesDlg& editDialog) {
        editDialog.CodeField(1)->selectAll();
        QTest::keyClicks(editDialog.CodeField(1), "99");
        QTest::keyClick(editDialog.CodeField(1), Qt::Key_Escape);
    });
    Button(1034)->click();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "50 B", "33 C"}));
    EXPECT_EQ(dialog->codeSlots, Codes({28, 50, 33}));
}

TEST_F(CaptureDialogTest, EditReturningNoFirstCodeClearsEverySlot) {
    OpenWith(Codes({28, 50, 33}));
    WhenEditDialogOpens([](CScanCodesDlg& editDialog) {
        editDialog.CodeField(1)->selectAll();
        QTest::keyClicks(editDialog.CodeField(1), "0");
        editDialog.findChild<QPushButton*>("1")->click();
    });
    Button(1034)->click();
    EXPECT_TRUE(Shown().empty());
    Button(1020)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->codeSlots, Codes({}));
}

TEST_F(CaptureDialogTest, CancelLeaves) {
    OpenWith(Codes({28, 50, 33}));
    PressKey(keyX);
    PressKey(keyCtrlRight);
    Button(1066)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(CaptureDialogTest, AcceptAndCancelOfTheDialogItselfDoNothing) {
    OpenWith(Codes({28, 50}));
    dialog->accept();
    dialog->reject();
    dialog->findChild<QPushButton*>("1")->click();
    dialog->findChild<QPushButton*>("2")->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->nextSlot, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"28 A", "50 B"}));
}

TEST_F(CaptureDialogTest, ACloseRequestIsACancel) {
    OpenWith(Codes({28}));
    PressKey(keyB);
    EXPECT_TRUE(dialog->close());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(CaptureDialogTest, TheFieldsPassTheFocusOn) {
    OpenWith(Codes({28}));
    for (int slot : {1, 9, 16}) {
        dialog->CodeField(slot)->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), dialog->captureEdit) << "code field " << slot;
        dialog->NameField(slot)->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), dialog->captureEdit) << "name field " << slot;
    }
    QTest::mouseClick(dialog->NameField(3), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), dialog->captureEdit);
    QTest::mouseClick(Button(1068), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), dialog->captureEdit);
    PressKey(keyB);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"50 B"}));
}

TEST_F(CaptureDialogTest, EveryRunStartsAtSlotOne) {
    dialog->codeSlots = Codes({28, 50, 33});
    dialog->codeNames = NamesOf(dialog->codeSlots);
    dialog->nextSlot = 9;
    int runs = 0;
    const auto strokeThenOk = [this, &runs](const PcKey& key) {
        QTimer::singleShot(0, [this, &runs, key] {
            ++runs;
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
            EXPECT_EQ(QApplication::focusWidget(), dialog->captureEdit);
            EXPECT_EQ(dialog->nextSlot, 1);
            PressKey(key);
            Button(1020)->click();
            if (dialog->isVisible()) {
                ADD_FAILURE() << "OK did not close the dialog";
                Button(1066)->click();
            }
        });
    };
    strokeThenOk(keyX);
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_EQ(dialog->codeSlots, Codes({34, 50, 33}));
    // The members stay for the next run, which starts at slot 1 again.
    strokeThenOk(keyD);
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_EQ(dialog->codeSlots, Codes({35, 50, 33}));
    EXPECT_EQ(runs, 2);
}

TEST_F(CaptureDialogTest, ControlsStandWhereTheTemplatePutsThem) {
    EXPECT_EQ(dialog->size(), QSize(266, 229));
    for (int slot = 1; slot <= zr4700::kCodeSlots; ++slot) {
        SCOPED_TRACE(slot);
        QLineEdit* code = dialog->CodeField(slot);
        QLineEdit* name = dialog->NameField(slot);
        ASSERT_NE(code, nullptr);
        ASSERT_NE(name, nullptr);
        EXPECT_TRUE(code->isReadOnly());
        EXPECT_TRUE(name->isReadOnly());
        EXPECT_EQ(name->objectName(), QString::number(1002 + slot));
        EXPECT_EQ(code->geometry().x(), slot <= 8 ? 27 : 159);
        EXPECT_EQ(name->geometry().x(), slot <= 8 ? 56 : 189);
        EXPECT_EQ(code->geometry().y(), name->geometry().y());
    }
    EXPECT_EQ(dialog->CodeField(1)->geometry().y(), 21);   // 13 units down
    EXPECT_EQ(dialog->CodeField(16)->geometry().y(), 166); // 102 units down
    EXPECT_EQ(dialog->CodeField(10)->objectName(), "1067");
    const std::vector<std::pair<int, QString>> buttons = {
        {1020, "OK"}, {1068, "Back"}, {1033, "Clear All"}, {1034, "Edit"}, {1066, "Cancel"}};
    for (const auto& [id, caption] : buttons) {
        QPushButton* button = Button(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << "no control is a tab stop";
    }
    EXPECT_FALSE(Button(1)->isVisibleTo(dialog.get()));
    EXPECT_FALSE(Button(2)->isVisibleTo(dialog.get()));
}

// Every caption, label and key name has room in its control at the dialog font.
TEST_F(CaptureDialogTest, NothingIsClipped) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 6;
        EXPECT_LE(needed, button->width()) << button->text().toStdString();
    }
    for (QLabel* label : dialog->findChildren<QLabel*>())
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
    for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->title()) + 20, box->width());
    // The room for text inside a read-only field: its frame and the edit's own margins.
    const auto textRoom = [](QLineEdit* field) { return field->width() - 8; };
    for (std::string_view name : zr4700::keyNames) {
        QLineEdit* field = dialog->NameField(1);
        EXPECT_LE(field->fontMetrics().horizontalAdvance(
                      QString::fromUtf8(name.data(), int(name.size()))),
                  textRoom(field))
            << name;
    }
    for (const char* code : {"255", "key_255"}) {
        QLineEdit* field = std::string(code) == "255" ? dialog->CodeField(1) : dialog->NameField(1);
        EXPECT_LE(field->fontMetrics().horizontalAdvance(code), textRoom(field)) << code;
    }
}

} // namespace
