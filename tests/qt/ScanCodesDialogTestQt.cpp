// The Edit scan codes dialog: typing into its 16 number fields, the two validation messages and
// the previous value coming back, the order in which the fields are read, OK, Cancel and Enter.
#include "qt/scancodes/CScanCodesDlg.h"
#include "support/MainWindowFixtureQt.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kRangeMessage = "Please enter an integer between 0 and 255.";
const char* const kPositiveMessage = "Please enter a positive integer.";

class ScanCodesDialogTest : public ScriptedUi {
  protected:
    void SetUp() override {
        ScriptedUi::SetUp();
        dialog = std::make_unique<CScanCodesDlg>();
    }

    void TearDown() override {
        dialog.reset();
        EXPECT_TRUE(Messages().empty()) << "a message was not checked";
        ScriptedUi::TearDown();
    }

    void Open() {
        dialog->open();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    QLineEdit* Field(int slot) const { return dialog->CodeField(slot); }

    // Selects a field's text, as a user about to type over it does.
    QLineEdit* Select(int slot) const {
        QLineEdit* field = Field(slot);
        field->setFocus();
        field->selectAll();
        return field;
    }

    // Types one key into a field and returns what the field shows afterwards.
    std::string Type(int slot, char key) {
        QTest::keyClick(Field(slot), key);
        return Field(slot)->text().toStdString();
    }

    // The validation messages shown since the last call.
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const Prompts::Shown& shown : Prompts::Instance().TakeShown()) {
            EXPECT_EQ(shown.kind, Prompts::Kind::Validation);
            texts.push_back(shown.text.toStdString());
        }
        return texts;
    }

    // Sets a field's text without the change being noticed, to set up a bad field.
    void SetQuietly(int slot, const QString& text) {
        const QSignalBlocker blocker(Field(slot));
        Field(slot)->setText(text);
    }

    QPushButton* Button(int id) const {
        return dialog->findChild<QPushButton*>(QString::number(id));
    }

    std::unique_ptr<CScanCodesDlg> dialog;
};

TEST_F(ScanCodesDialogTest, OpensWithTheCodesAndTheFocusInSlotOne) {
    for (std::uint32_t i = 0; i < 16; ++i)
        dialog->editCodes[i] = i * 16;
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Edit scan codes");
    for (int slot = 1; slot <= 16; ++slot)
        EXPECT_EQ(Field(slot)->text(), QString::number((slot - 1) * 16)) << slot;
    EXPECT_EQ(QApplication::focusWidget(), Field(1));
    EXPECT_EQ(Field(1)->selectedText(), "0");
}

TEST_F(ScanCodesDialogTest, ANumberTooLargeIsRefusedAndThePreviousValueReturns) {
    Open();
    Select(5);
    EXPECT_EQ(Type(5, '3'), "3");
    EXPECT_EQ(Type(5, '0'), "30");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(dialog->editCodes[4], 30u);
    EXPECT_EQ(Type(5, '0'), "30");
    EXPECT_EQ(Messages(), (std::vector<std::string>{kRangeMessage}));
    EXPECT_EQ(dialog->editCodes[4], 30u);
    EXPECT_EQ(QApplication::focusWidget(), Field(5));
}

TEST_F(ScanCodesDialogTest, TypingUpToTheLargestCode) {
    dialog->editCodes[14] = 17;
    Open();
    Select(15);
    EXPECT_EQ(Type(15, '2'), "2");
    EXPECT_EQ(Type(15, '5'), "25");
    EXPECT_EQ(Type(15, '5'), "255");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Type(15, '5'), "255");
    EXPECT_EQ(Messages(), (std::vector<std::string>{kRangeMessage}));
    EXPECT_EQ(dialog->editCodes[14], 255u);
}

TEST_F(ScanCodesDialogTest, AnEmptiedFieldShowsItsOldValueAgain) {
    dialog->editCodes[3] = 7;
    Open();
    Select(4);
    QTest::keyClick(Field(4), Qt::Key_Delete);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kPositiveMessage}));
    EXPECT_EQ(Field(4)->text(), "7");
    EXPECT_EQ(dialog->editCodes[3], 7u);
}

TEST_F(ScanCodesDialogTest, LeadingZerosAreDropped) {
    dialog->editCodes[5] = 30;
    Open();
    Field(6)->setFocus();
    Field(6)->setCursorPosition(0);
    EXPECT_EQ(Type(6, '0'), "30");
    EXPECT_EQ(dialog->editCodes[5], 30u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ScanCodesDialogTest, OnlyDigitsCanBeTyped) {
    dialog->editCodes[0] = 12;
    Open();
    QTest::keyClicks(Field(1), "a- +.");
    EXPECT_EQ(Field(1)->text(), "12");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ScanCodesDialogTest, EnterReturnsTheTypedCodes) {
    Open();
    QTest::keyClicks(Select(1), "224");
    QTest::keyClicks(Select(2), "108");
    QTest::keyClicks(Select(3), "240");
    QTest::keyClick(Field(3), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->editCodes[0], 224u);
    EXPECT_EQ(dialog->editCodes[1], 108u);
    EXPECT_EQ(dialog->editCodes[2], 240u);
    EXPECT_EQ(dialog->editCodes[3], 0u);
}

TEST_F(ScanCodesDialogTest, CancelEscapeAndTheCloseBoxReject) {
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        Open();
        QTest::keyClicks(Select(1), "9");
        if (way == 0)
            Button(2)->click();
        else if (way == 1)
            QTest::keyClick(Field(1), Qt::Key_Escape);
        else
            dialog->close();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
}

TEST_F(ScanCodesDialogTest, FieldsAreReadInExchangeOrder) {
    Open();
    // Slot 10 is read before slot 2, and slot 1 before both.
    SetQuietly(1, "5");
    SetQuietly(2, "7");
    SetQuietly(10, "");
    EXPECT_FALSE(dialog->ReadControls());
    EXPECT_EQ(Messages(), (std::vector<std::string>{kPositiveMessage}));
    EXPECT_EQ(QApplication::focusWidget(), Field(10));
    EXPECT_EQ(dialog->editCodes[0], 5u);
    EXPECT_EQ(dialog->editCodes[1], 0u) << "fields after the bad one are not read";

    // Slot 16 comes before slot 2; a number too large is stored before its message.
    SetQuietly(10, "3");
    SetQuietly(16, "256");
    EXPECT_FALSE(dialog->ReadControls());
    EXPECT_EQ(Messages(), (std::vector<std::string>{kRangeMessage}));
    EXPECT_EQ(QApplication::focusWidget(), Field(16));
    EXPECT_EQ(Field(16)->selectedText(), "256");
    EXPECT_EQ(dialog->editCodes[9], 3u);
    EXPECT_EQ(dialog->editCodes[15], 256u);
    EXPECT_EQ(dialog->editCodes[1], 0u);
}

TEST_F(ScanCodesDialogTest, OkWithABadFieldStaysOpen) {
    Open();
    SetQuietly(12, "");
    Button(1)->click();
    EXPECT_EQ(Messages(), (std::vector<std::string>{kPositiveMessage}));
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClicks(Field(12), "4");
    Button(1)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->editCodes[11], 4u);
}

TEST_F(ScanCodesDialogTest, AChangeElsewhereReportsTheFirstBadField) {
    dialog->editCodes[8] = 9;
    Open();
    SetQuietly(9, "");
    QTest::keyClicks(Select(3), "6");
    // Slot 3 is read before slot 9; the message is about slot 9, and both show their values.
    EXPECT_EQ(Messages(), (std::vector<std::string>{kPositiveMessage}));
    EXPECT_EQ(Field(3)->text(), "6");
    EXPECT_EQ(Field(9)->text(), "9");
}

TEST_F(ScanCodesDialogTest, WritingTheFieldsRaisesNoMessage) {
    Open();
    dialog->editCodes[0] = 999;
    dialog->editCodes[7] = 42;
    dialog->TransferToControls();
    EXPECT_EQ(Field(1)->text(), "999");
    EXPECT_EQ(Field(8)->text(), "42");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ScanCodesDialogTest, TabGoesThroughTheSlotsThenOkThenCancel) {
    Open();
    std::vector<QString> order;
    for (int i = 0; i < 19; ++i) {
        order.push_back(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<QString> expected = {"1057", "1058", "1059", "1060", "1061", "1062", "1063",
                                           "1064", "1065", "1067", "1069", "1070", "1071", "1072",
                                           "1073", "1074", "1",    "2",    "1057"};
    EXPECT_EQ(order, expected);
}

TEST_F(ScanCodesDialogTest, Layout) {
    EXPECT_EQ(dialog->size(), QSize(224, 151));
    EXPECT_EQ(Field(1)->geometry().topLeft().x(), 27);
    EXPECT_EQ(Field(5)->geometry().x(), 78);
    EXPECT_EQ(Field(9)->geometry().x(), 129);
    EXPECT_EQ(Field(13)->geometry().x(), 180);
    EXPECT_EQ(Field(13)->width(), 24);
    EXPECT_EQ(Field(4)->geometry().y(), Field(16)->geometry().y());
    EXPECT_EQ(Button(1)->geometry(), QRect(11, 117, 60, 23));
    EXPECT_TRUE(Button(1)->isDefault());
    EXPECT_EQ(Button(1)->text(), "OK");
    EXPECT_EQ(Button(2)->text(), "Cancel");
    for (QLabel* label : dialog->findChildren<QLabel*>())
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 6, button->width());
    for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
        EXPECT_EQ(box->title(), "Scan-codes");
    // "255" fits in a field without scrolling.
    EXPECT_LE(Field(1)->fontMetrics().horizontalAdvance("255"), Field(1)->width() - 8);
}

} // namespace
