// Opening a layout file the reader had to correct: one warning lists what was changed, the layout
// counts as modified and closing asks the save question; a clean file opens without a word.
#include "FileCommandsTestSupport.h"

#include "support/MainWindowFixtureQt.h"

#include <QTest>

using namespace filetest;

namespace {

const std::string kCorrected = "Warning: The file holds values the keyboard cannot take. They "
                               "were changed to the values below; save the layout to keep them.";
const std::string kQuestion = "Warning: Do you want to save current file?";

// The small layout with key 4's third code written as 256 (line 5, column 10).
QByteArray CorrectedLayout() {
    QByteArray text = SmallLayout("A");
    const QByteArray line = "4; 0, 0, 0,";
    text.replace(text.indexOf(line), line.size(), "4; 0, 0, 256,");
    return text;
}

} // namespace

class CorrectedFileTest : public MainWindowTest {
  protected:
    void Open(const QByteArray& bytes) {
        const QString path = TempPath("shop.txt");
        ASSERT_TRUE(WriteBytes(path, bytes));
        AnswerOpen(path);
        Choose(*dialog, zr4700::kCmdFileOpen);
    }
    bool Modified() const { return dialog->document.modified(); }
};

TEST_F(CorrectedFileTest, OneWarningListsTheCorrectionsAndClosingAsksToSave) {
    Open(CorrectedLayout());

    const std::vector<Prompts::Shown> shown = Prompts::Instance().TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ((shown[0].caption + ": " + shown[0].text).toStdString(), kCorrected);
    EXPECT_EQ(shown[0].kind, Prompts::Kind::Warning);
    EXPECT_EQ(shown[0].detail, "5:10: found \"256\", using 0");
    EXPECT_TRUE(Modified());
    EXPECT_EQ(dialog->document.layout().key(4).codes[2], 0);

    Prompts::Instance().QueueAnswer(false);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kQuestion});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ReadBytes(TempPath("shop.txt")), CorrectedLayout()) << "the file is left alone";
}

TEST_F(CorrectedFileTest, ACleanFileOpensWithoutABoxAndUnmodified) {
    Open(SmallLayout("A"));

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_FALSE(Modified());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_FALSE(dialog->isVisible());
}
