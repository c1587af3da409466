// The recent-file list: its order, what is stored (in the test's own settings directory), the
// File menu block that shows it, and opening an entry.
#include "FileCommandsTestSupport.h"
#include "support/DocumentTestAccess.h"

#include "support/MainWindowFixtureQt.h"

using namespace filetest;

class RecentFilesTest : public MainWindowTest {
  protected:
    // A distinct small layout file whose key 1 is named after it.
    QString MakeFile(const QString& name) {
        const QString path = TempPath(name);
        EXPECT_TRUE(WriteBytes(path, SmallLayout(name.toUtf8())));
        return path;
    }
    void Open(const QString& path) {
        AnswerOpen(path);
        Choose(*dialog, zr4700::kCmdFileOpen);
    }
    // The block as the menu should show it: the settings item and its separator, the entries
    // and their separator when there are any, then "E&xit".
    static QStringList Block(const QStringList& entries) {
        QStringList block = {"Se&ttings...", "-"};
        if (!entries.isEmpty())
            block << entries << "-";
        block << "E&xit";
        return block;
    }
};

TEST_F(RecentFilesTest, AnEmptyListShowsNoBlockAndNoExtraSeparator) {
    EXPECT_EQ(RecentBlock(*dialog), Block({}));
    for (int command = 40002; command <= 40005; ++command)
        EXPECT_EQ(FindCommand(dialog->FileMenu(), command), nullptr) << "placeholder " << command;
    for (const std::string& entry : dialog->recentFiles.entries())
        EXPECT_TRUE(entry.empty());
}

TEST_F(RecentFilesTest, EachOpenMovesItsPathToTheFront) {
    const QString a = MakeFile("a.txt");
    const QString b = MakeFile("b.txt");

    Open(a);
    EXPECT_EQ(RecentBlock(*dialog), Block({a}));
    EXPECT_EQ(StoredRecentFiles(), (QStringList{a, "", "", ""}));
    EXPECT_EQ(CommandOf(*dialog, a), 40002);

    Open(b);
    EXPECT_EQ(RecentBlock(*dialog), Block({b, a}));
    EXPECT_EQ(StoredRecentFiles(), (QStringList{b, a, "", ""}));
    EXPECT_EQ(CommandOf(*dialog, b), 40002);
    EXPECT_EQ(CommandOf(*dialog, a), 40003);

    Open(a);
    EXPECT_EQ(RecentBlock(*dialog), Block({a, b}));
    EXPECT_EQ(StoredRecentFiles(), (QStringList{a, b, "", ""}));

    Open(a);
    EXPECT_EQ(RecentBlock(*dialog), Block({a, b})) << "the front entry stays where it is";
    EXPECT_TRUE(TakeBoxes().empty()) << "opens without changes ask nothing";
}

// The list's rules themselves (a fifth file, letter case) are tested on the list alone.

TEST_F(RecentFilesTest, TheStoredListIsShownWhenTheWindowOpens) {
    const QString a = MakeFile("a.txt");
    const QString c = MakeFile("c.txt");
    StoreRecentFiles({a, "", c, ""});
    dialog.reset();
    dialog = std::make_unique<CProgrammerDlg>();

    EXPECT_EQ(RecentBlock(*dialog), Block({a, c}));
    EXPECT_EQ(CommandOf(*dialog, a), 40002);
    EXPECT_EQ(CommandOf(*dialog, c), 40004) << "an entry keeps its command";
}

TEST_F(RecentFilesTest, AnEmptyFirstEntryHidesTheBlock) {
    StoreRecentFiles({"", MakeFile("b.txt"), "", ""});
    dialog->RebuildRecentFileMenu();
    EXPECT_EQ(RecentBlock(*dialog), Block({}));
}

TEST_F(RecentFilesTest, RebuildingKeepsExitAndTheSettingsSeparator) {
    const QString a = MakeFile("a.txt");
    for (int round = 0; round < 3; ++round) {
        StoreRecentFiles({a, a, a, a});
        dialog->RebuildRecentFileMenu();
        EXPECT_EQ(RecentBlock(*dialog), Block({a, a, a, a}));
        StoreRecentFiles({"", "", "", ""});
        dialog->RebuildRecentFileMenu();
        EXPECT_EQ(RecentBlock(*dialog), Block({}));
    }
    EXPECT_NE(FindCommand(dialog->FileMenu(), zr4700::kCmdExit), nullptr);
}

TEST_F(RecentFilesTest, AnAmpersandInAPathIsShownAsItIs) {
    const QString path = MakeFile("R&D.txt");
    Open(path);
    QAction* entry = FindCommand(dialog->FileMenu(), 40002);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), TempPath("R&&D.txt")) << "no accelerator";
    EXPECT_EQ(Recent(*dialog, 0), path);
}

TEST_F(RecentFilesTest, ChoosingAnEntryOpensThatFile) {
    const QString a = MakeFile("a.txt");
    const QString b = MakeFile("b.txt");
    Open(a);
    Open(b);

    Choose(*dialog, 40003);

    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(1).name, "a.txt");
    EXPECT_EQ(dialog->windowTitle().toStdString(), Title(a));
    EXPECT_EQ(RecentBlock(*dialog), Block({a, b}));
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(RecentFilesTest, ChoosingAnEntryWhileModifiedAsksFirst) {
    const QString a = MakeFile("a.txt");
    const QString b = MakeFile("b.txt");
    const QString c = MakeFile("c.txt");
    StoreRecentFiles({c, b, a, ""});
    dialog->RebuildRecentFileMenu();
    zr4700::testing::RawLayout(dialog->document).key(5).codes[0] = 0x1C;
    zr4700::testing::SetModified(dialog->document, true);
    Prompts::Instance().QueueAnswer(false);

    Choose(*dialog, 40004);

    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Warning: Do you want to save current file?"});
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(1).name, "a.txt");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(5).codes[0], 0);
    EXPECT_EQ(StoredRecentFiles(), (QStringList{a, c, b, ""}));
}

// Saving the untitled layout from the question puts the saved file at the front of the list;
// the entry the user chose is still the one opened.
TEST_F(RecentFilesTest, ASaveFromTheQuestionStillOpensTheChosenEntry) {
    const QString a = MakeFile("a.txt");
    const QString b = MakeFile("b.txt");
    const QString c = MakeFile("c.txt");
    StoreRecentFiles({a, b, c, ""});
    dialog->RebuildRecentFileMenu();
    zr4700::testing::RawLayout(dialog->document).key(5).codes[0] = 0x1C;
    zr4700::testing::SetModified(dialog->document, true);
    const QString saved = TempPath("saved.txt");
    Prompts::Instance().QueueAnswer(true);
    AnswerSave(saved, 2);

    Choose(*dialog, 40004);

    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(1).name, "c.txt");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, c.toStdString());
    EXPECT_EQ(StoredRecentFiles(), (QStringList{c, saved, a, b}));
    EXPECT_TRUE(QFile::exists(saved));
}
