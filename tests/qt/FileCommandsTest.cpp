// New, Open, Save and Save As with scripted answers and file dialogs: the save question, the
// paths on which a wanted save does not happen (nothing may be lost there), the Save As file
// types, what is written and read back, and the window title.
#include "FileCommandsTestSupport.h"
#include "support/DocumentTestAccess.h"

#include "qt/widgets/StatusBar.h"
#include "support/MainWindowFixtureQt.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

using namespace filetest;
using zr4700::KeyCodes;

namespace {

const std::string kQuestion = "Warning: Do you want to save current file?";
const std::string kCannotOpen = "Error: Cannot open file!";
const std::string kNoProgrammedKey = "Error: The file contains no programmed key";

// The user's unsaved work: key 3 gets two codes and a name.
void Modify(CProgrammerDlg& dialog) {
    zr4700::KeyRecord& key = zr4700::testing::RawLayout(dialog.document).key(3);
    key.codes[0] = 0x1C;
    key.codes[1] = 0x32;
    key.setName("Changed");
    zr4700::testing::SetModified(dialog.document, true);
}

bool StillModified(const CProgrammerDlg& dialog) {
    const zr4700::KeyRecord& key = dialog.layout.key(3);
    return dialog.document.modified() && key.codes[0] == 0x1C && key.codes[1] == 0x32 &&
           key.name == "Changed";
}

void UseKeyCount(CProgrammerDlg& dialog, int keys) {
    zr4700::testing::RawLayout(dialog.document).keyCount = keys;
    zr4700::testing::RawLayout(dialog.document).AlignKeysWithKeyCount();
}

QString Pane(CProgrammerDlg& dialog, int index) {
    return dialog.statusBar->PaneText(index);
}

} // namespace

class FileCommandsTest : public MainWindowTest {
  protected:
    // Opens a file through File > Open, without unsaved changes.
    void Open(const QString& path) {
        AnswerOpen(path);
        Choose(*dialog, zr4700::kCmdFileOpen);
    }
    QString Copy(const char* data, const QString& name) {
        const QString path = TempPath(name);
        EXPECT_TRUE(CopyTestData(data, path)) << data;
        return path;
    }
    std::string WindowTitle() const { return dialog->windowTitle().toStdString(); }
};

// ---- The save question --------------------------------------------------------------------------

TEST_F(FileCommandsTest, NewWithoutChangesAsksNothingAndKeepsTheKeyboardModel) {
    UseKeyCount(*dialog, 112);
    zr4700::testing::RawLayout(dialog->document).settings.keyDelay = 3;
    zr4700::testing::RawLayout(dialog->document).settings.keyBeep = 1;
    zr4700::testing::RawLayout(dialog->document).rfid.digitsCount = 4;
    zr4700::testing::SetModified(dialog->document, false);

    EXPECT_TRUE(dialog->OnFileNew());

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(WindowTitle(), Title("untitled"));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 112);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).settings.keyDelay, 2);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).settings.keyBeep, 0);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).rfid.digitsCount, 9);
    EXPECT_EQ(Pane(*dialog, 0), "Keyboard type: ZR-4700 D");
    EXPECT_EQ(Pane(*dialog, 3), "Keys delay: 2");
}

TEST_F(FileCommandsTest, NoDiscardsTheChanges) {
    Modify(*dialog);
    Prompts::Instance().QueueAnswer(false);

    Choose(*dialog, zr4700::kCmdFileNew);

    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kQuestion});
    EXPECT_FALSE(dialog->document.modified());
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(3).codes, KeyCodes{});
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(3).name, "KEY3");
    EXPECT_TRUE(QDir(TempPath(".")).entryList({"*.txt"}).isEmpty()) << "nothing was written";
}

TEST_F(FileCommandsTest, YesSavesToTheCurrentFileThenResets) {
    const QString path = Copy("layout-57.txt", "current.txt");
    Open(path);
    Modify(*dialog);
    Prompts::Instance().QueueAnswer(true);

    Choose(*dialog, zr4700::kCmdFileNew);

    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kQuestion});
    EXPECT_TRUE(ReadBytes(path).contains("\r\n3; 28, 50, 0,")) << "key 3 was saved";
    EXPECT_TRUE(ReadBytes(path).contains(";Changed\r\n"));
    EXPECT_EQ(WindowTitle(), Title("untitled"));
    EXPECT_FALSE(dialog->document.modified());
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(3).name, "KEY3");
}

TEST_F(FileCommandsTest, YesOnAnUntitledLayoutRunsSaveAsThenResets) {
    Modify(*dialog);
    const QString path = TempPath("saved.txt");
    Prompts::Instance().QueueAnswer(true);
    AnswerSave(path, 2);

    Choose(*dialog, zr4700::kCmdFileNew);

    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kQuestion});
    EXPECT_TRUE(ReadBytes(path).contains(";Changed\r\n"));
    EXPECT_EQ(WindowTitle(), Title("untitled"));
    EXPECT_EQ(Recent(*dialog, 0), path);
    EXPECT_FALSE(dialog->document.modified());
}

// When the user wanted the layout saved and it was not, every command that asked stops there.
TEST_F(FileCommandsTest, AWantedSaveThatDoesNotHappenLosesNothing) {
    enum class Command { New, Open, Recent, Close };
    enum class Failure { SaveAsCancelled, WriteFails };
    struct Case {
        const char* name;
        Command command;
        Failure failure;
    };
    const Case cases[] = {
        {"New, Save As cancelled", Command::New, Failure::SaveAsCancelled},
        {"New, write fails", Command::New, Failure::WriteFails},
        {"Open, Save As cancelled", Command::Open, Failure::SaveAsCancelled},
        {"Open, write fails", Command::Open, Failure::WriteFails},
        {"recent file, Save As cancelled", Command::Recent, Failure::SaveAsCancelled},
        {"recent file, write fails", Command::Recent, Failure::WriteFails},
        {"closing, Save As cancelled", Command::Close, Failure::SaveAsCancelled},
        {"closing, write fails", Command::Close, Failure::WriteFails},
    };
    const QString other = TempPath("other.txt");
    ASSERT_TRUE(WriteBytes(other, SmallLayout("Other")));
    StoreRecentFiles({other, "", "", ""});
    dialog->RebuildRecentFileMenu();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zr4700::testing::SetModified(dialog->document, false);
        dialog->OnFileNew();
        Modify(*dialog);
        const QString unwritable = TempPath("no-such-directory/layout.txt");
        if (c.failure == Failure::WriteFails)
            zr4700::testing::RawLayout(dialog->document).fileName = unwritable.toStdString();
        const std::string fileNameBefore = zr4700::testing::RawLayout(dialog->document).fileName;
        const std::string titleBefore = WindowTitle();

        if (c.command == Command::Open)
            AnswerOpen(other);
        Prompts::Instance().QueueAnswer(true);
        if (c.failure == Failure::SaveAsCancelled)
            CancelFileDialog();
        switch (c.command) {
        case Command::New:
            Choose(*dialog, zr4700::kCmdFileNew);
            break;
        case Command::Open:
            Choose(*dialog, zr4700::kCmdFileOpen);
            break;
        case Command::Recent:
            Choose(*dialog, zr4700::kCmdRecentFirst);
            break;
        case Command::Close:
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
            break;
        }

        std::vector<std::string> expected{kQuestion};
        if (c.failure == Failure::WriteFails)
            expected.push_back(kCannotOpen);
        EXPECT_EQ(TakeBoxes(), expected);
        EXPECT_TRUE(StillModified(*dialog));
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, fileNameBefore);
        EXPECT_EQ(WindowTitle(), titleBefore);
        EXPECT_NE(zr4700::testing::RawLayout(dialog->document).key(1).name, "Other")
            << "the other file was not loaded";
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(QFile::exists(unwritable));
        EXPECT_EQ(Recent(*dialog, 0), other) << "the recent list is untouched";
    }
}

TEST_F(FileCommandsTest, ABadRfidValueStopsTheWriteAndTheQuestion) {
    const QString path = TempPath("rfid.txt");
    zr4700::testing::RawLayout(dialog->document).fileName = path.toStdString();
    Modify(*dialog);
    control<QLineEdit>(1037)->setText("300");
    Prompts::Instance().QueueAnswer(true);

    EXPECT_FALSE(dialog->OnFileNew());

    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{
                               kQuestion, ": Please enter an integer between 0 and 255."}));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(StillModified(*dialog));
}

// ---- Save and Save As ---------------------------------------------------------------------------

TEST_F(FileCommandsTest, SaveAsOffersTwoFileTypesOnlyForFiftySixKeysIn16Scan) {
    const QStringList all = {"ZR-4700 7/3scan (*.txt)", "ZR-4700 16scan (*.txt)",
                             "ZR-4700 Single 16scan - left side (*.txt)",
                             "ZR-4700 Single 16scan - right side (*.txt)"};
    struct Case {
        bool scan16;
        int keys;
        int types;
        int initialIndex;
    };
    for (const Case c : {Case{true, 56, 2, 2}, Case{true, 112, 4, 2}, Case{false, 56, 4, 1},
                         Case{false, 112, 4, 1}}) {
        SCOPED_TRACE(testing::Message() << "scan16 " << c.scan16 << ", keys " << c.keys);
        UseKeyCount(*dialog, c.keys);
        zr4700::testing::RawLayout(dialog->document).scan16Mode = c.scan16;
        Modify(*dialog);
        CancelFileDialog();

        EXPECT_FALSE(dialog->OnFileSaveAs());

        const FileDialogs::SaveRequest& request = FileDialogs::LastSaveRequest();
        EXPECT_EQ(request.filters, all.mid(0, c.types));
        EXPECT_EQ(request.initialFilterIndex, c.initialIndex);
        EXPECT_EQ(request.defaultExtension, "txt");
        EXPECT_EQ(request.initialName, "*.txt");
        // Cancelling changes nothing.
        EXPECT_TRUE(StillModified(*dialog));
        EXPECT_EQ(WindowTitle(), Title("untitled"));
        EXPECT_TRUE(zr4700::testing::RawLayout(dialog->document).fileName.empty());
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

// The real save dialog, set up as the program sets it up: whichever type the user picks is the
// variant written (the dialog shows the types by name and may report them so).
TEST(SaveDialogTest, TheTypePickedIsTheVariantWritten) {
    const QStringList labels = {"ZR-4700 7/3scan", "ZR-4700 16scan",
                                "ZR-4700 Single 16scan - left side",
                                "ZR-4700 Single 16scan - right side"};
    FileDialogs::SaveRequest request;
    for (const QString& label : labels)
        request.filters << label + " (*.txt)";
    for (int initial : {1, 2}) {
        request.initialFilterIndex = initial;
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        FileDialogs::ConfigureSaveDialog(dialog, request);
        EXPECT_EQ(FileDialogs::ChosenFilterIndex(dialog, request), initial);
        for (int index = 1; index <= labels.size(); ++index) {
            auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
            ASSERT_NE(types, nullptr);
            EXPECT_EQ(types->itemText(index - 1), labels.at(index - 1)) << "shown by name alone";
            dialog.selectNameFilter(request.filters.at(index - 1));
            EXPECT_EQ(FileDialogs::ChosenFilterIndex(dialog, request), index);
            types->setCurrentIndex(index - 1); // as the user picks it
            EXPECT_EQ(FileDialogs::ChosenFilterIndex(dialog, request), index);
        }
    }
}

TEST_F(FileCommandsTest, SaveOfAnUntitledLayoutIsSaveAs) {
    Modify(*dialog);
    const QString path = TempPath("first.txt");
    AnswerSave(path, 2);

    Choose(*dialog, zr4700::kCmdFileSave);

    EXPECT_EQ(FileDialogs::LastSaveRequest().filters.size(), 2);
    EXPECT_EQ(FirstLine(ReadBytes(path)), "57; 0; 0; 2; 11; 144; 0; 0; 3");
    EXPECT_EQ(WindowTitle(), Title(path));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, path.toStdString());
    EXPECT_FALSE(dialog->document.modified());
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(3).name, "Changed")
        << "read back from the file";
    EXPECT_EQ(Recent(*dialog, 0), path);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(FileCommandsTest, SaveAfterOpeningA7ScanFileWrites16Scan) {
    struct Case {
        const char* data;
        const char* header;
    };
    for (const Case c : {Case{"layout-56.txt", "57; 0; 0; 2; 11; 144; 0; 0; 3"},
                         Case{"layout-112.txt", "113; 0; 0; 2; 11; 144; 0; 0; 3"}}) {
        SCOPED_TRACE(c.data);
        const QString path = Copy(c.data, QStringLiteral("seven-%1").arg(c.data));
        Open(path);
        EXPECT_FALSE(zr4700::testing::RawLayout(dialog->document).scan16Mode);
        Modify(*dialog);

        Choose(*dialog, zr4700::kCmdFileSave);

        const QByteArray bytes = ReadBytes(path);
        EXPECT_EQ(FirstLine(bytes), c.header);
        EXPECT_TRUE(bytes.contains("\r\n3; 28, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; "))
            << "16 codes per key line";
        EXPECT_TRUE(zr4700::testing::RawLayout(dialog->document).scan16Mode);
        EXPECT_FALSE(dialog->document.modified());
        EXPECT_EQ(WindowTitle(), Title(path)) << "Save reloads nothing";
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

TEST_F(FileCommandsTest, RightSideSaveReadsBackTheRightBlockAsFiftySixKeys) {
    const QString source = Copy("layout-113.txt", "full.txt");
    Open(source);
    ASSERT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 112);
    std::vector<zr4700::KeyRecord> rightBlock;
    for (int k = 57; k <= 112; ++k)
        rightBlock.push_back(zr4700::testing::RawLayout(dialog->document).key(k));
    const QString path = TempPath("right.txt");
    AnswerSave(path, 4);
    Prompts::Instance().QueueAnswer(true);

    EXPECT_TRUE(dialog->OnFileSaveAs());
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Warning: This file type keeps one side only: ", 0), 0u)
        << "the left block's keys would be left out, and the user is asked first";

    EXPECT_EQ(FileDialogs::LastSaveRequest().filters.size(), 4);
    EXPECT_EQ(FirstLine(ReadBytes(path)).left(4), "57; ");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 56);
    for (int k = 1; k <= 56; ++k) {
        const zr4700::KeyRecord& former = rightBlock[static_cast<size_t>(k - 1)];
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(k).codes, former.codes)
            << "key " << k;
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(k).name, former.name)
            << "key " << k;
        EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(k).flags & 0x0F,
                  former.flags & 0x0F)
            << "key " << k;
    }
    EXPECT_EQ(WindowTitle(), Title(path));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, path.toStdString());
    EXPECT_EQ(Pane(*dialog, 0), "Keyboard type: ZR-4700 S (SN)");
    EXPECT_EQ(Recent(*dialog, 0), path);
    EXPECT_EQ(Recent(*dialog, 1), source);
    EXPECT_EQ(ReadBytes(source), ReadBytes(QStringLiteral(ZR4700_TEST_DATA "/layout-113.txt")))
        << "the opened file is left alone";
}

TEST_F(FileCommandsTest, SaveAs7ScanKeepsTheFirstSevenCodes) {
    Open(Copy("layout-113.txt", "full.txt"));
    const QString path = TempPath("seven.txt");
    AnswerSave(path, 1);
    Prompts::Instance().QueueAnswer(true);

    EXPECT_TRUE(dialog->OnFileSaveAs());
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Warning: This file type keeps 3 codes per key: ", 0), 0u);

    EXPECT_EQ(FirstLine(ReadBytes(path)), "112; 0; 0; 2; 11");
    EXPECT_FALSE(zr4700::testing::RawLayout(dialog->document).scan16Mode);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileIsScan16, 0);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 112);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(56).codes,
              (KeyCodes{21, 22, 23, 24, 25, 26, 27, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(112).name, "Last");
}

TEST_F(FileCommandsTest, SaveAsWhoseWriteFailsChangesNothingAndReloadsNothing) {
    const QString source = Copy("layout-113.txt", "full.txt");
    Open(source);
    Modify(*dialog);
    const KeyCodes full = zr4700::testing::RawLayout(dialog->document).key(56).codes;
    const QStringList storedBefore = StoredRecentFiles();
    AnswerSave(TempPath("no-such-directory/out.txt"), 1);
    Prompts::Instance().QueueAnswer(true);

    EXPECT_FALSE(dialog->OnFileSaveAs());

    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], kCannotOpen);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, source.toStdString());
    EXPECT_EQ(WindowTitle(), Title(source));
    EXPECT_EQ(StoredRecentFiles(), storedBefore);
    EXPECT_EQ(Recent(*dialog, 0), source);
    EXPECT_TRUE(StillModified(*dialog));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(56).codes, full)
        << "no 7/3scan read-back";
    EXPECT_TRUE(zr4700::testing::RawLayout(dialog->document).scan16Mode);
}

TEST_F(FileCommandsTest, SaveAsOfALayoutWithoutProgrammedKeysStillSavesAndReloads) {
    const QString path = TempPath("empty.txt");
    AnswerSave(path, 2);

    EXPECT_TRUE(dialog->OnFileSaveAs());

    const auto& shown = Prompts::Instance().ShownSoFar();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().ownerTitle.toStdString(), Title("empty.txt"))
        << "the new name, while the box is up";
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kNoProgrammedKey});
    EXPECT_EQ(ReadBytes(path).count("\r\n"), 113);
    EXPECT_EQ(WindowTitle(), Title(path));
    EXPECT_EQ(Recent(*dialog, 0), path);
}

TEST_F(FileCommandsTest, WriteLayoutFileTellsWhetherTheFileHoldsAProgrammedKey) {
    const QString path = TempPath("programming.txt");
    zr4700::testing::RawLayout(dialog->document).fileName = path.toStdString();
    zr4700::testing::SetModified(dialog->document, true);

    EXPECT_EQ(dialog->fileCommands.WriteLayoutFile(zr4700::FileVariant::Scan16),
              zr4700::WriteResult::StoredWithoutProgrammedKey);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kNoProgrammedKey});
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(dialog->document.modified());

    Modify(*dialog);
    zr4700::testing::RawLayout(dialog->document).scan16Mode = true;
    EXPECT_EQ(dialog->fileCommands.WriteLayoutFile(zr4700::FileVariant::Scan7),
              zr4700::WriteResult::Stored);
    EXPECT_FALSE(zr4700::testing::RawLayout(dialog->document).scan16Mode);
    EXPECT_EQ(FirstLine(ReadBytes(path)), "56; 0; 0; 2; 11");
    EXPECT_TRUE(TakeBoxes().empty());
}

// ---- Open and the title -------------------------------------------------------------------------

TEST_F(FileCommandsTest, OpenShowsTheFullPathAndNewShowsUntitled) {
    EXPECT_EQ(WindowTitle(), Title("untitled"));
    const QString path = Copy("layout-113.txt", "d-model.txt");

    Open(path);

    EXPECT_EQ(WindowTitle(), Title(path));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, path.toStdString());
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(1).name, "AB");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).currentKey, 1);
    EXPECT_EQ(Pane(*dialog, 0), "Keyboard type: ZR-4700 D");
    EXPECT_EQ(control<QLineEdit>(1009)->text(), "AB");

    Choose(*dialog, zr4700::kCmdFileNew);

    EXPECT_EQ(WindowTitle(), Title("untitled"));
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).keyCount, 112)
        << "a D model stays a D model";
    EXPECT_EQ(Pane(*dialog, 0), "Keyboard type: ZR-4700 D");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(1).name, "KEY1");
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(FileCommandsTest, CancelledOpenChangesNothing) {
    Modify(*dialog);
    CancelFileDialog();

    Choose(*dialog, zr4700::kCmdFileOpen);

    EXPECT_TRUE(TakeBoxes().empty()) << "no save question before the file is chosen";
    EXPECT_TRUE(StillModified(*dialog));
}

// A file that cannot be read never becomes the document: a later Save asks for a name.
TEST_F(FileCommandsTest, OpenOfAMissingFileLeavesAnUntitledLayoutOffTheRecentList) {
    Modify(*dialog);
    const QString path = TempPath("gone.txt");
    AnswerOpen(path);
    Prompts::Instance().QueueAnswer(false);

    Choose(*dialog, zr4700::kCmdFileOpen);

    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{kQuestion, kCannotOpen}));
    EXPECT_EQ(WindowTitle(), Title("untitled"));
    EXPECT_TRUE(dialog->layout.fileName.empty());
    EXPECT_EQ(Recent(*dialog, 0), "");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(3).name, "KEY3")
        << "the freshly reset layout stays";
    EXPECT_FALSE(dialog->document.modified());
}

// ---- Start-up with a file
// -------------------------------------------------------------------------

TEST_F(FileCommandsTest, TheProgramOpensTheFileNamedOnItsCommandLine) {
    const QString path = Copy("layout-113.txt", "start.txt");
    struct Case {
        QString file;
        bool loads;
    };
    for (const Case& c : {Case{path, true}, Case{TempPath("missing.txt"), false}}) {
        SCOPED_TRACE(c.file.toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", TempPath("program-config"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        const QString picture = TempPath("start.png");
        QFile::remove(picture);
        program.start(ZR4700_BINARY_PATH, {"--screenshot", picture, c.file});
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_FALSE(QImage(picture).isNull());
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(errors.contains("Error: Cannot open file!"), !c.loads) << errors.toStdString();
        QSettings stored(TempPath("program-config/Valmora/zr4700.conf"), QSettings::IniFormat);
        EXPECT_EQ(stored.value("Recent File List/File1").toString(), path)
            << "a file that did not open is not put on the list";
    }
}

// --help describes each option on a line of its own, in the GNU manner; --version says which
// version this is. Both print to stdout and exit at once.
TEST_F(FileCommandsTest, HelpDescribesEachOptionOnItsOwnLineAndVersionSaysTheVersion) {
    auto run = [](const QString& option) {
        QProcess program;
        program.start(ZR4700_BINARY_PATH, {option});
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 0) << option.toStdString();
        return QString::fromLocal8Bit(program.readAllStandardOutput());
    };
    const QStringList lines = run("--help").split('\n');
    const QStringList options = {"--screenshot", "--legend",   "--arrange",
                                 "--pitch",      "--margin",   "--all-keys",
                                 "--code-names", "-h, --help", "--version"};
    for (const QString& option : options) {
        // "  --pitch MM            with --legend: key pitch, ...": the option, its argument, and
        // after a gap of two blanks or more its description.
        const QRegularExpression line("^ {2,6}" + QRegularExpression::escape(option) +
                                      "( [A-Z.a-z]+)? {2,}\\S");
        EXPECT_EQ(lines.filter(line).size(), 1) << option.toStdString();
    }
    for (const QString& line : lines)
        EXPECT_LT(line.size(), 80) << line.toStdString();
    EXPECT_TRUE(lines.first().startsWith("Usage: zr4700 [OPTION]... [LAYOUT.txt]"));
    EXPECT_TRUE(QRegularExpression("^zr4700 \\d+\\.\\d+\n$").match(run("--version")).hasMatch());
}

// An option is never taken for a file to open (nor put on the recent list).
TEST_F(FileCommandsTest, HelpPrintsTheUsageAndAnUnknownOptionIsAnError) {
    struct Case {
        const char* argument;
        int exitCode;
        bool usageOnStdout;
    };
    for (const Case& c : {Case{"--help", 0, true}, Case{"--bogus", 2, false}}) {
        SCOPED_TRACE(c.argument);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", TempPath("option-config"));
        program.setProcessEnvironment(environment);
        program.start(ZR4700_BINARY_PATH, {c.argument});
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(out.startsWith("Usage: zr4700"), c.usageOnStdout);
        EXPECT_EQ(err.contains("unknown option --bogus"), !c.usageOnStdout);
        EXPECT_FALSE(QFile::exists(TempPath("option-config/Valmora/zr4700.conf")));
    }
}
