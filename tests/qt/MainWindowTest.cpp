// The main window: start state, grid clicks and hover, arrow keys and Enter taken before the
// controls, the RFID validation, and the settings command.
#include "core/model/GridGeometry.h"
#include "qt/app/CSettingsDlg.h"
#include "qt/grid/KeyGridWidget.h"
#include "qt/scancodes/CCaptureDlg.h"
#include "qt/widgets/SpinButtons.h"
#include "qt/widgets/StatusBar.h"
#include "support/DocumentTestAccess.h"
#include "support/MainWindowFixtureQt.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

using zr4700::CellState;

namespace {

QString pane(CProgrammerDlg& dialog, int index) {
    return dialog.statusBar->PaneText(index);
}

void useKeyCount(CProgrammerDlg& dialog, int keys) {
    zr4700::testing::RawLayout(dialog.document).keyCount = keys;
    zr4700::testing::RawLayout(dialog.document).AlignKeysWithKeyCount();
}

// Closes the capture dialog with its Cancel button as soon as it runs modally.
void cancelCaptureDialogWhenShown(bool* sawEditing, CProgrammerDlg* dialog) {
    QTimer::singleShot(0, [sawEditing, dialog] {
        *sawEditing = dialog->editingKeyCodes && theCaptureDlg->isVisible();
        if (auto* cancel = theCaptureDlg->findChild<QPushButton*>("1066"))
            cancel->click();
        else
            theCaptureDlg->done(QDialog::Rejected);
    });
}

} // namespace

TEST_F(MainWindowTest, StartsWithAnUntitledFiftySixKeyLayout) {
    EXPECT_EQ(dialog->windowTitle(), "ZR-4700 - keyboard programmer  -  [untitled]");
    const std::vector<QString> panes = {"Keyboard type: ZR-4700 S (SN)",
                                        "Keys type: Make-Break SCAN",
                                        "Keys beep: Off",
                                        "Keys delay: 2",
                                        "Keys rate: 11",
                                        "Number: ----",
                                        "Name: ----"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(pane(*dialog, i), panes[static_cast<size_t>(i)]) << "pane " << i;

    EXPECT_EQ(control<QLineEdit>(1037)->text(), "0");
    EXPECT_EQ(control<QLineEdit>(1038)->text(), "0");
    EXPECT_EQ(control<QLineEdit>(1035)->text(), "9");
    EXPECT_FALSE(control<QCheckBox>(1039)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(1041)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(1042)->isChecked());

    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 1);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).shownKey, 1);
    const auto pictures = zr4700::CellPictures(dialog->layout);
    ASSERT_FALSE(pictures.empty());
    EXPECT_EQ(pictures.back(), (zr4700::CellPicture{1, zr4700::kPictureSelectedBlank}));

    EXPECT_EQ(control<QLineEdit>(1012)->text(), "1");
    EXPECT_EQ(control<QLineEdit>(1009)->text(), "KEY1");
    for (int id : {1000, 1001, 1003, 1008, 1002, 1011, 1022})
        EXPECT_TRUE(control<QLineEdit>(id)->text().isEmpty()) << id;
    EXPECT_TRUE(control<QCheckBox>(1018)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(1017)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(1017)->isEnabled());
    EXPECT_TRUE(control<QRadioButton>(1023)->isChecked());
    EXPECT_FALSE(dialog->document.modified());
    EXPECT_TRUE(control<QLineEdit>(1037)->hasFocus()) << "the focus starts on the first control";
}

TEST_F(MainWindowTest, MenuBarHoldsTheEmptyItemThenFileEditAndHelp) {
    const auto top = dialog->mainMenu->actions();
    ASSERT_GE(top.size(), 4);
    EXPECT_TRUE(top[0]->text().isEmpty());
    EXPECT_EQ(top[1]->text(), "&File");
    EXPECT_EQ(top[2]->text(), "&Edit");
    EXPECT_EQ(top.last()->text(), "&Help");
    QStringList editItems;
    for (QAction* action : top[2]->menu()->actions())
        editItems << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(editItems,
              (QStringList{"&Undo", "&Redo", "-", "&Copy key", "&Paste key", "&Delete key"}));
    QStringList fileItems;
    for (QAction* action : top[1]->menu()->actions())
        fileItems << (action->isSeparator() ? "-" : action->text());
    ASSERT_GE(fileItems.size(), 12);
    EXPECT_EQ(fileItems.mid(0, 12),
              (QStringList{"&New...", "&Open...", "&Save", "Save &As...", "Print &legends...",
                           "&Export legends...", "-", "&Programming...", "&Detect keyboard", "-",
                           "Se&ttings...", "-"}));
    EXPECT_EQ(fileItems.last(), "E&xit");
}

TEST_F(MainWindowTest, ClicksSelectTheKeyUnderThePointer) {
    struct Case {
        int keys, x, y, expected;
    };
    const Case cases[] = {
        {112, 9, 90, 1},    {112, 280, 90, 8},  {112, 281, 90, 57}, {112, 552, 327, 112},
        {112, 553, 100, 0}, {112, 100, 328, 0}, {112, 8, 100, 0},   {112, 100, 89, 0},
        {56, 281, 100, 0},  {56, 280, 327, 56}, {56, 43, 124, 10},  {112, 315, 124, 66},
    };
    for (const Case& c : cases) {
        useKeyCount(*dialog, c.keys);
        zr4700::testing::RawLayout(dialog->document).currentKey = 5;
        dialog->document.SelectKey(5);
        QTest::mouseClick(dialog->grid(), Qt::LeftButton, {}, QPoint(c.x, c.y));
        const int expected = c.expected == 0 ? 5 : c.expected;
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, expected)
            << c.keys << " keys at " << c.x << "," << c.y;
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).shownKey, expected);
        EXPECT_EQ(control<QLineEdit>(1012)->text(), QString::number(expected));
    }
}

TEST_F(MainWindowTest, HoverShowsNumberAndNameOnlyOnTheGrid) {
    zr4700::testing::RawLayout(dialog->document).key(10).name = "Enter";
    QTest::mouseMove(dialog->grid(), QPoint(43, 124));
    EXPECT_EQ(pane(*dialog, 5), "Number: 10");
    EXPECT_EQ(pane(*dialog, 6), "Name: Enter");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 1)
        << "hovering selects nothing";
    QTest::mouseMove(dialog->grid(), QPoint(300, 100));
    EXPECT_EQ(pane(*dialog, 5), "Number: ----");
    EXPECT_EQ(pane(*dialog, 6), "Name: ----");
    useKeyCount(*dialog, 112);
    QTest::mouseMove(dialog->grid(), QPoint(301, 101));
    EXPECT_EQ(pane(*dialog, 5), "Number: 57");
    EXPECT_EQ(pane(*dialog, 6), "Name: KEY57");
    QTest::mouseMove(dialog->grid(), QPoint(560, 200));
    EXPECT_EQ(pane(*dialog, 5), "Number: ----");
}

TEST_F(MainWindowTest, ArrowKeysMoveTheSelectionEvenFromTheNameField) {
    struct Case {
        int keys, from;
        Qt::Key key;
        int to;
    };
    const Case cases[] = {
        {56, 56, Qt::Key_Right, 1},    {56, 1, Qt::Key_Left, 56},     {112, 8, Qt::Key_Right, 57},
        {112, 64, Qt::Key_Right, 9},   {112, 56, Qt::Key_Right, 105}, {112, 112, Qt::Key_Right, 1},
        {112, 57, Qt::Key_Left, 8},    {112, 9, Qt::Key_Left, 64},    {112, 1, Qt::Key_Left, 112},
        {56, 8, Qt::Key_Up, 8},        {56, 9, Qt::Key_Up, 1},        {112, 60, Qt::Key_Up, 60},
        {112, 65, Qt::Key_Up, 57},     {56, 48, Qt::Key_Down, 56},    {56, 49, Qt::Key_Down, 49},
        {112, 104, Qt::Key_Down, 112}, {112, 105, Qt::Key_Down, 105}, {56, 0, Qt::Key_Right, 1},
    };
    auto* nameEdit = control<QLineEdit>(1009);
    for (const Case& c : cases) {
        useKeyCount(*dialog, c.keys);
        zr4700::testing::RawLayout(dialog->document).currentKey = c.from;
        if (c.from != 0)
            dialog->document.SelectKey(c.from);
        nameEdit->setFocus();
        nameEdit->setCursorPosition(2);
        QTest::keyClick(nameEdit, c.key);
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, c.to)
            << c.keys << " keys, from " << c.from << " key " << c.key;
        EXPECT_EQ(nameEdit->cursorPosition() == 2 || c.from != c.to, true)
            << "the caret stays: the arrow is the grid's";
    }
}

TEST_F(MainWindowTest, EnterInTheNameFieldOpensTheCaptureDialog) {
    auto* nameEdit = control<QLineEdit>(1009);
    nameEdit->setFocus();
    bool sawEditing = false;
    cancelCaptureDialogWhenShown(&sawEditing, dialog.get());
    QTest::keyClick(nameEdit, Qt::Key_Return);
    EXPECT_TRUE(sawEditing);
    EXPECT_FALSE(dialog->editingKeyCodes);
    EXPECT_TRUE(dialog->isVisible()) << "Enter never ends the main dialog";
}

TEST_F(MainWindowTest, EscapeClosesWithoutAQuestionWhenUnmodified) {
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(MainWindowTest, BadPrefixIsReportedOnceAndTheMemberKeepsItsValue) {
    auto* prefix = control<QLineEdit>(1037);
    prefix->setFocus();
    prefix->selectAll();
    QTest::keyClicks(prefix, "7");
    control<QLineEdit>(1038)->setFocus();
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).rfid.prefix, 7);
    EXPECT_TRUE(TakeBoxes().empty());

    prefix->setFocus();
    prefix->selectAll();
    QTest::keyClicks(prefix, "300");
    control<QLineEdit>(1038)->setFocus();
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], ": Please enter an integer between 0 and 255.");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).rfid.prefix, 30)
        << "the last valid value typed: 3, 30, then 300";
    EXPECT_TRUE(prefix->hasFocus());
    // Painting and clicking on the grid never report it again.
    dialog->grid()->repaint();
    QTest::mouseClick(dialog->grid(), Qt::LeftButton, {}, QPoint(50, 100));
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(MainWindowTest, DigitsSpinStopsAtOneAndThirteen) {
    auto* spin = dialog->findChild<SpinButtons*>("1036");
    ASSERT_NE(spin, nullptr);
    for (int i = 0; i < 20; ++i)
        spin->StepUp();
    EXPECT_EQ(control<QLineEdit>(1035)->text(), "13");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).rfid.digitsCount, 13);
    for (int i = 0; i < 20; ++i)
        spin->StepDown();
    EXPECT_EQ(control<QLineEdit>(1035)->text(), "1");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).rfid.digitsCount, 1);
}

// ---- Settings ----------------------------------------------------------------------------------

class SettingsTest : public MainWindowTest {
  protected:
    // Runs the settings command; `act` works on the open dialog, then OK or Cancel is clicked.
    void runSettings(const std::function<void(CSettingsDlg&)>& act, bool ok) {
        QTimer::singleShot(0, [act, ok] {
            act(*theSettingsDlg);
            theSettingsDlg->findChild<QPushButton*>(ok ? "1" : "2")->click();
        });
        dialog->OnSettings();
    }
    static void click(CSettingsDlg& settings, int id) {
        settings.findChild<QAbstractButton*>(QString::number(id))->click();
    }
};

TEST_F(SettingsTest, SlidersFollowTheKeysType) {
    bool disabledAtStart = false, enabledAfterTypematic = false, disabledAfterMakeBreak = false;
    bool focusOnKeyboardType = false;
    QString rateShown, rateShownAfterStep;
    runSettings(
        [&](CSettingsDlg& s) {
            focusOnKeyboardType = s.focusWidget() == s.findChild<QWidget*>("1030");
            disabledAtStart = !s.rateSlider->isEnabled() && !s.delaySlider->isEnabled();
            click(s, 1022);
            enabledAfterTypematic = s.rateSlider->isEnabled() && s.delaySlider->isEnabled();
            rateShown = s.rateSlider->toolTip();
            s.rateSlider->setFocus();
            QTest::keyClick(s.rateSlider, Qt::Key_Right);
            rateShownAfterStep = s.rateSlider->toolTip();
            click(s, 1021);
            disabledAfterMakeBreak = !s.rateSlider->isEnabled() && !s.delaySlider->isEnabled();
        },
        false);
    EXPECT_TRUE(focusOnKeyboardType);
    EXPECT_TRUE(disabledAtStart);
    EXPECT_TRUE(enabledAfterTypematic);
    EXPECT_TRUE(disabledAfterMakeBreak);
    EXPECT_EQ(rateShown, "11") << "each slider shows its value";
    EXPECT_EQ(rateShownAfterStep, "12");
}

TEST_F(SettingsTest, PauseOfZeroIsRefusedWithTheRangeMessage) {
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        auto* pause = theSettingsDlg->findChild<QLineEdit*>("1043");
        pause->setText("0");
        theSettingsDlg->findChild<QPushButton*>("1")->click();
        stillOpen = theSettingsDlg->isVisible();
        pause->setText("255");
        theSettingsDlg->findChild<QPushButton*>("1")->click();
    });
    dialog->OnSettings();
    EXPECT_TRUE(stillOpen);
    const auto boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], ": Please enter an integer between 1 and 255.");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).settings.keysPause, 255);
}

TEST_F(SettingsTest, CancelLeavesEverythingAndOkMovesToKeyOne) {
    zr4700::testing::RawLayout(dialog->document).currentKey = 20;
    dialog->document.SelectKey(20);
    runSettings(
        [&](CSettingsDlg& s) {
            click(s, 1031);
            click(s, 1022);
            click(s, 1024);
        },
        false);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 56);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).settings.keysType, 0);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).settings.keyBeep, 0);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 20);

    runSettings([](CSettingsDlg&) {}, true);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 1);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).shownKey, 1);
    EXPECT_FALSE(dialog->document.modified());
}

TEST_F(SettingsTest, OkTakesTheValuesAndTheStatusBarFollows) {
    runSettings(
        [](CSettingsDlg& s) {
            click(s, 1031);
            click(s, 1022);
            click(s, 1024);
            s.delaySlider->setValue(3);
            s.rateSlider->setValue(31);
            s.findChild<QLineEdit*>("1043")->setText("17");
        },
        true);
    const zr4700::KeyboardSettings& settings =
        zr4700::testing::RawLayout(dialog->document).settings;
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 112);
    EXPECT_EQ(settings.keysType, 1);
    EXPECT_EQ(settings.keyBeep, 1);
    EXPECT_EQ(settings.keyDelay, 3);
    EXPECT_EQ(settings.typematicRate, 31);
    EXPECT_EQ(settings.keysPause, 17);
    EXPECT_EQ(pane(*dialog, 0), "Keyboard type: ZR-4700 D");
    EXPECT_EQ(pane(*dialog, 1), "Keys type: Typematic SCAN");
    EXPECT_EQ(pane(*dialog, 2), "Keys beep: On");
    EXPECT_EQ(pane(*dialog, 3), "Keys delay: 3");
    EXPECT_EQ(pane(*dialog, 4), "Keys rate: 31");
}

TEST_F(SettingsTest, SwitchingToFiftySixKeysClearsTheRightBlock) {
    useKeyCount(*dialog, 112);
    auto& key70 = zr4700::testing::RawLayout(dialog->document).key(70);
    key70.codes[0] = 28;
    key70.name = "Alpha";
    zr4700::testing::RawLayout(dialog->document).state(70) = CellState::Single;

    // The right block holds a programmed key: No keeps everything as it was.
    Prompts::Instance().QueueAnswer(false);
    runSettings([](CSettingsDlg& s) { click(s, 1030); }, true);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{
                               "Warning: Switching to 56 keys clears keys 57 to 112. Continue?"});
    EXPECT_EQ(dialog->layout.keyCount, 112);
    EXPECT_EQ(dialog->layout.key(70).name, "Alpha");

    Prompts::Instance().QueueAnswer(true);
    runSettings([](CSettingsDlg& s) { click(s, 1030); }, true);
    TakeBoxes();
    EXPECT_TRUE(dialog->document.modified()) << "the switch is an edit";
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 56);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(70).codes[0], 0);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(70).name, "KEY70");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).state(70), CellState::Blank);

    runSettings([](CSettingsDlg& s) { click(s, 1031); }, true);
    const auto pictures = zr4700::CellPictures(dialog->layout);
    const bool blankAt70 =
        std::find(pictures.begin(), pictures.end(),
                  zr4700::CellPicture{70, zr4700::kPictureBlank}) != pictures.end();
    EXPECT_TRUE(blankAt70) << "switching back shows blank keys";
}

TEST_F(MainWindowTest, TypedPrefixSurvivesShowingAnotherKey) {
    auto* prefix = control<QLineEdit>(1037);
    prefix->setFocus();
    prefix->selectAll();
    QTest::keyClicks(prefix, "12");
    QTest::mouseClick(dialog->grid(), Qt::LeftButton, {}, QPoint(50, 100));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 2);
    EXPECT_EQ(prefix->text(), "12");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).rfid.prefix, 12);
    QTest::keyClick(prefix, Qt::Key_Right);
    EXPECT_EQ(prefix->text(), "12");
}

TEST_F(MainWindowTest, DigitsCountStepsFromTheKeyboard) {
    auto* digits = control<QLineEdit>(1035);
    digits->setFocus();
    QTest::keyClick(digits, Qt::Key_PageUp);
    EXPECT_EQ(digits->text(), "10");
    QTest::keyClick(digits, Qt::Key_Minus);
    QTest::keyClick(digits, Qt::Key_PageDown);
    EXPECT_EQ(digits->text(), "8");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).rfid.digitsCount, 8);
}

TEST_F(MainWindowTest, ArrowsInAnOpenMenuStayWithTheMenu) {
    QMenu* file = dialog->FileMenu();
    ASSERT_NE(file, nullptr);
    file->popup(dialog->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::keyClick(file, Qt::Key_Right);
    QTest::keyClick(file, Qt::Key_Down);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 1);
    file->hide();
}

TEST_F(MainWindowTest, NamesAreRefusedPastTheFieldLengthNotSplit) {
    auto* name = control<QLineEdit>(1009);
    name->setFocus();
    name->selectAll();
    for (int i = 0; i < 60; ++i) { // "é": two bytes each in the layout
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0x00E9)));
        QApplication::sendEvent(name, &press);
    }
    const std::string stored = zr4700::testing::RawLayout(dialog->document).key(1).name;
    EXPECT_LE(stored.size(), zr4700::kMaxKeyNameLength);
    EXPECT_EQ(QString::fromStdString(stored).toStdString(), stored) << "no character split";
    EXPECT_EQ(name->text().toStdString(), stored);

    // A refused keystroke in the middle leaves text and caret where they were.
    name->setCursorPosition(10);
    QTest::keyClicks(name, "z");
    EXPECT_EQ(name->text().toStdString(), stored);
    EXPECT_EQ(name->cursorPosition(), 10);
}

// The arrow keys belong to the grid, so the modes are reached with Tab and chosen with Space.
TEST_F(MainWindowTest, ModesAreChosenFromTheKeyboardAndStayOneChoice) {
    const int ids[] = {1023, 1026, 1024};
    dialog->document.SelectKey(5);
    zr4700::testing::RawLayout(dialog->document).currentKey = 5;
    control<QRadioButton>(1023)->setFocus();
    for (int mode : {1, 2}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* button = control<QRadioButton>(ids[mode]);
        ASSERT_TRUE(button->hasFocus()) << "mode " << mode + 1;
        QTest::keyClick(button, Qt::Key_Space);
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(5).mode(), mode);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(control<QRadioButton>(ids[other])->isChecked(), other == mode);
    }
    // Choosing the chosen mode again leaves it chosen.
    control<QRadioButton>(1024)->click();
    EXPECT_TRUE(control<QRadioButton>(1024)->isChecked());
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(5).mode(), 2);
    // Showing another key shows its mode.
    dialog->document.SelectKey(6);
    EXPECT_TRUE(control<QRadioButton>(1023)->isChecked());
    EXPECT_FALSE(control<QRadioButton>(1024)->isChecked());
}
