// The real message boxes behind the prompts wrapper (the other tests script them).
#include "qt/platform/Prompts.h"
#include "core/document/UserPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QMessageBox* OpenBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

class InteractivePrompts : public testing::Test {
  protected:
    void SetUp() override {
        before_ = Prompts::Instance().CurrentMode();
        Prompts::Instance().SetMode(Prompts::Mode::Interactive);
        Prompts::Instance().SetOwner(nullptr);
        // Whatever happens in a test, no box is left waiting for a person.
        safety_.setSingleShot(true);
        QObject::connect(&safety_, &QTimer::timeout, [] {
            if (QMessageBox* box = OpenBox())
                box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click()
                                             : box->accept();
        });
        safety_.start(5000);
    }
    void TearDown() override { Prompts::Instance().SetMode(before_); }

  private:
    Prompts::Mode before_ = Prompts::Mode::Scripted;
    QTimer safety_;
};

// "Do you want to save current file?" answered by Escape or the close box would be No, and No
// discards the changes: only the two buttons answer.
TEST_F(InteractivePrompts, EscapeAndTheCloseBoxDoNotAnswerAQuestion) {
    for (QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
        bool openAfterEscapeAndClose = false;
        QTimer::singleShot(0, [&] {
            QMessageBox* box = OpenBox();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            openAfterEscapeAndClose = box->isVisible();
            box->button(answer)->click();
        });
        const bool yes = Prompts::Instance().AskYesNo(zr4700::kStrSaveQuestion);
        EXPECT_TRUE(openAfterEscapeAndClose);
        EXPECT_EQ(yes, answer == QMessageBox::Yes);
    }
}

TEST_F(InteractivePrompts, EnterAnswersYesAndEscapeClosesAnError) {
    QTimer::singleShot(0, [] { QTest::keyClick(OpenBox(), Qt::Key_Return); });
    EXPECT_TRUE(Prompts::Instance().AskYesNo(zr4700::kStrClearAllQuestion));

    bool closed = false;
    QTimer::singleShot(0, [] { QTest::keyClick(OpenBox(), Qt::Key_Escape); });
    Prompts::Instance().ShowError(zr4700::kStrCannotOpenFile);
    closed = OpenBox() == nullptr;
    EXPECT_TRUE(closed);
}

} // namespace
