#pragma once
// A fixture for tests of the main window: message boxes and file dialogs are scripted (an
// unexpected box fails the test), settings go to a temporary directory, and the current directory
// is a fresh temporary one so that files the program writes there stay out of the way.

#include "qt/app/CProgrammerDlg.h"
#include "qt/platform/FileDialogs.h"
#include "qt/platform/Prompts.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class ScriptedUi : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tempDir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(tempDir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tempDir_.filePath("config"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           tempDir_.filePath("config"));
        Prompts& prompts = Prompts::Instance();
        prompts.ResetScript();
        prompts.SetMode(Prompts::Mode::Scripted);
        prompts.SetUnexpectedHandler([](const Prompts::Shown& shown) {
            ADD_FAILURE() << "unexpected question: " << shown.text.toStdString();
        });
        FileDialogs::ResetScript();
        FileDialogs::SetScripted(true);
    }

    void TearDown() override {
        EXPECT_EQ(Prompts::Instance().PendingAnswers(), 0u) << "answers queued but not asked";
        EXPECT_EQ(FileDialogs::UnansweredCount(), 0) << "a file dialog was not expected";
        Prompts::Instance().SetUnexpectedHandler({});
        QDir::setCurrent(previousDir_);
    }

    // Every box shown since the last call, as "caption: text".
    std::vector<std::string> TakeBoxes() {
        std::vector<std::string> texts;
        for (const Prompts::Shown& shown : Prompts::Instance().TakeShown())
            texts.push_back((shown.caption + ": " + shown.text).toStdString());
        return texts;
    }

    QString TempPath(const QString& name) const { return tempDir_.filePath(name); }

    QTemporaryDir tempDir_;
    QString previousDir_;
};

// The scripted environment plus a main window, shown (offscreen) and active.
class MainWindowTest : public ScriptedUi {
  protected:
    void SetUp() override {
        ScriptedUi::SetUp();
        dialog = std::make_unique<CProgrammerDlg>();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    void TearDown() override {
        dialog.reset();
        ScriptedUi::TearDown();
    }

    template <typename W> W* control(int id) const {
        return dialog->findChild<W*>(QString::number(id));
    }

    std::unique_ptr<CProgrammerDlg> dialog;
};
