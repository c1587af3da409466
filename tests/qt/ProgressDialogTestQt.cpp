// File > Programming... from the main window: the temporary layout file, the progress dialog,
// the worker thread and the in-process simulated keyboard, end to end.

#include "core/files/LayoutFileEditor.h"
#include "engine/BytePacer.h"
#include "engine/ImageDigest.h"
#include "engine/KeyboardRecord.h"
#include "engine/LayoutParser.h"
#include "engine/SimulatedKeyboard.h"
#include "engine/SimulatorProcess.h"
#include "qt/programming/CProgressDlg.h"
#include "qt/widgets/DialogUnits.h"
#include "support/DocumentTestAccess.h"
#include "support/MainWindowFixtureQt.h"

#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using namespace zr4700;

namespace {

constexpr int kWaitMs = 30000;

// Sets an environment variable for the lifetime of the object and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            previous_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnvironment() {
        if (previous_)
            setenv(name_.c_str(), previous_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

// What was true at the moment the progress dialog was hidden.
class HideWatcher : public QObject {
  public:
    HideWatcher(QWidget* watched, QWidget* mainWindow) : mainWindow_(mainWindow) {
        watched->installEventFilter(this);
    }
    int hides = 0;
    size_t boxesBeforeHide = 0;
    bool mainEnabledAtHide = true;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && hides++ == 0) {
            boxesBeforeHide = Prompts::Instance().ShownSoFar().size();
            mainEnabledAtHide = mainWindow_->isEnabled();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget* mainWindow_;
};

int ThreadCount() {
    std::error_code error;
    int count = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/self/task", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return count;
}

// The bytes the keyboard must receive for a layout file: the parser's image, with the halves of
// a 112-key image exchanged.
std::vector<uint8_t> KeyboardImageOf(const std::string& fileText) {
    TransferImage image;
    int size = 0;
    uint8_t layoutCode = 0;
    EXPECT_EQ(ParseLayoutFile(std::string_view(fileText), image, size, layoutCode), 0);
    const size_t half = layoutCode == 112 ? 224 : layoutCode == 113 ? 1008 : 0;
    std::swap_ranges(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(half),
                     image.begin() + static_cast<std::ptrdiff_t>(half));
    return image;
}

const std::string kIncomplete =
    "Error: The keyboard was not fully programmed. Program it again before using it.";

class ProgrammingTest : public MainWindowTest {
  protected:
    void SetUp() override {
        InProcessKeyboard().reset();
        MainWindowTest::SetUp();
    }

    void TearDown() override {
        if (dialog && dialog->progressDialog)
            dialog->progressDialog->CancelAndWait();
        MainWindowTest::TearDown();
        InProcessKeyboard().reset();
    }

    CProgressDlg* progress() const { return dialog->progressDialog; }
    int bar() const { return progress()->ProgressBar()->value(); }

    void GiveProgrammedKey(int key, int code) {
        zr4700::testing::RawLayout(dialog->document).key(key).codes[0] = code;
        zr4700::testing::RawLayout(dialog->document).state(key) = CellState::Single;
    }

    void Program() { dialog->OnCommand(zr4700::kCmdProgramming); }

    bool WaitForEnd() {
        return QTest::qWaitFor([this] { return !progress()->IsProgramming(); }, kWaitMs);
    }

    // The run's layout file, in a private directory under the test's own temporary directory.
    bool TempFileExists() const {
        const QDir base(TempPath("tmp"));
        for (const QString& folder : base.entryList({"zr4700-*"}, QDir::Dirs)) {
            if (QFile::exists(base.filePath(folder + "/zr4700.tmp")))
                return true;
        }
        return false;
    }
    bool TempFolderLeft() const {
        return !QDir(TempPath("tmp")).entryList({"zr4700-*"}, QDir::Dirs).isEmpty();
    }

    ScopedEnvironment device_{"ZR4700_DEVICE", "sim"};
    bool madeTmp_ = QDir().mkpath(TempPath("tmp"));
    ScopedEnvironment tmp_{"TMPDIR", TempPath("tmp").toStdString().c_str()};
};

} // namespace

// ---- The dialog itself ---------------------------------------------------------------------

TEST(ProgressDialogTemplate, MatchesDialog110) {
    QWidget owner;
    CProgressDlg dlg(&owner);
    EXPECT_EQ(dlg.objectName(), "110");
    EXPECT_EQ(dlg.windowTitle(), "Programming...");
    EXPECT_EQ(dlg.size(), Dlu(0, 0, 163, 67).size());
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.parentWidget(), nullptr) << "a disabled parent would disable the dialog";

    auto* bar = dlg.findChild<QProgressBar*>("1044");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->geometry(), Dlu(13, 13, 135, 14));

    auto* ok = dlg.findChild<QPushButton*>("1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(ok->isVisibleTo(&dlg));

    auto* cancel = dlg.findChild<QPushButton*>("2");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_TRUE(cancel->isVisibleTo(&dlg));
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_FALSE(dlg.IsProgramming());
}

TEST(ProgressDialogSteps, BarMovesOnePerStepAndStopsAt100) {
    struct Case {
        int steps;
        int expected;
    };
    // 101 steps for the 16scan images, 112 for the 450-byte image.
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{99, 99}, Case{101, 100}, Case{112, 100}}) {
        QWidget owner;
        CProgressDlg dlg(&owner);
        for (int i = 0; i < c.steps; ++i)
            dlg.OnProgressStep();
        EXPECT_EQ(dlg.ProgressBar()->value(), c.expected) << c.steps << " steps";
    }
}

TEST(ProgressDialogSteps, EscapeWithoutAWorkerHidesAndEnablesTheOwner) {
    QWidget owner;
    owner.show();
    CProgressDlg dlg(&owner);
    owner.setEnabled(false);
    dlg.ShowOverOwner();
    EXPECT_TRUE(dlg.isEnabled());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(owner.isEnabled());
    dlg.CancelAndWait(); // nothing to wait for
}

// ---- File > Programming... -----------------------------------------------------------------

TEST_F(ProgrammingTest, NoProgrammedKeyShowsTheWritersMessageAndStartsNothing) {
    Program();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Error: The file contains no programmed key"});
    EXPECT_FALSE(progress()->IsProgramming());
    EXPECT_FALSE(progress()->isVisible());
    EXPECT_TRUE(dialog->isEnabled());
    // Nothing is to be programmed: the keyboard is not even asked.
    EXPECT_FALSE(TempFolderLeft());
    EXPECT_EQ(InProcessKeyboard().stats().opens, 0);
    // The document's own name is untouched by the temporary file.
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, "");
}

// The keyboard is asked first: a new layout (16scan, 56 keys) goes to a 7/3scan keyboard as
// 7/3scan, exactly as zrwin sends that layout saved as 7/3scan.
TEST_F(ProgrammingTest, ANewLayoutProgramsATypeZeroKeyboardIn7Scan) {
    InProcessKeyboard().setType(0);
    ScopedBytePause fast(std::chrono::microseconds(50));
    GiveProgrammedKey(1, 28);
    Program();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(InProcessKeyboard().lastHandleBytes(),
              KeyboardImageOf(LayoutFileText(dialog->layout, zr4700::FileVariant::Scan7)));
    EXPECT_TRUE(dialog->layout.scan16Mode) << "the document keeps its own variant";
}

TEST_F(ProgrammingTest, AKeyCountTheKeyboardDoesNotTakeStopsBeforeAnythingIsSent) {
    struct Case {
        int type;
        int keys;
        const char* detail;
    };
    for (const Case& c : {Case{2, 56,
                               "The layout has 56 keys, while the keyboard found is the "
                               "112-key ZR-4700 D."},
                          Case{1, 112,
                               "The layout has 112 keys, while the keyboard found is the "
                               "56-key ZR-4700 S (SN)."}}) {
        SCOPED_TRACE(c.type);
        InProcessKeyboard().reset();
        InProcessKeyboard().setType(c.type);
        zr4700::testing::RawLayout(dialog->document).keyCount = c.keys;
        GiveProgrammedKey(1, 28);
        Program();
        const auto shown = Prompts::Instance().TakeShown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "File format mismatch.");
        EXPECT_TRUE(shown[0].detail.startsWith(c.detail)) << shown[0].detail.toStdString();
        EXPECT_TRUE(shown[0].detail.contains("File > Settings"));
        EXPECT_FALSE(progress()->IsProgramming());
        EXPECT_EQ(InProcessKeyboard().stats().bytes, 0);
        EXPECT_FALSE(TempFolderLeft());
    }
}

TEST_F(ProgrammingTest, NoDeviceShowsDriverErrorNamingTheDevice) {
    const std::string missing = TempPath("no-such-device").toStdString();
    ScopedEnvironment device("ZR4700_DEVICE", missing.c_str());
    GiveProgrammedKey(1, 28);
    Program();

    const auto shown = Prompts::Instance().TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Zr4700 driver error.");
    EXPECT_EQ(shown[0].detail.toStdString(), missing + ": No such file or directory");
    EXPECT_FALSE(progress()->IsProgramming());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_FALSE(TempFolderLeft());
}

TEST_F(ProgrammingTest, DetectKeyboardTellsTheTypeAndTheDevice) {
    InProcessKeyboard().setType(2);
    dialog->OnCommand(zr4700::kCmdDetectKeyboard);
    const auto shown = Prompts::Instance().TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Keyboard found: type 2, the 112-key ZR-4700 D.");
    EXPECT_EQ(shown[0].detail, "It takes layouts in 16scan, 112 keys. Device: sim");
    EXPECT_EQ(InProcessKeyboard().stats().bytes, 0);
}

TEST_F(ProgrammingTest, RefusedByteShowsProgrammingErrorAndStopsThere) {
    InProcessKeyboard().setType(1);
    InProcessKeyboard().setRefuseByte(200);
    ScopedBytePause fast(std::chrono::microseconds(50));
    GiveProgrammedKey(1, 28);
    Program();
    ASSERT_TRUE(WaitForEnd());

    const auto shown = Prompts::Instance().ShownSoFar();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].detail, "199 of 1014 bytes were sent.") << "how far the transfer got";
    EXPECT_EQ(TakeBoxes(),
              (std::vector<std::string>{"Error: Keyboard programming error.", kIncomplete}))
        << "after the engine's message, the keyboard is said to be half programmed";
    EXPECT_EQ(InProcessKeyboard().stats().bytes, 199);
    EXPECT_GT(bar(), 0);
    EXPECT_LT(bar(), 100);
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_FALSE(TempFileExists());
}

TEST_F(ProgrammingTest, SuccessfulTransferReaches100AndHidesWithoutMessage) {
    InProcessKeyboard().setType(1);
    ScopedBytePause fast(std::chrono::microseconds(50));
    GiveProgrammedKey(1, 28);
    const int threadsBefore = ThreadCount();
    auto* keyName = dialog->findChild<QLineEdit*>("1009");
    keyName->setFocus();
    Program();
    // Nothing has run on this thread yet: the worker waits on its first step.
    EXPECT_TRUE(progress()->isVisible());
    EXPECT_FALSE(dialog->isEnabled());
    EXPECT_EQ(bar(), 0);
    ASSERT_TRUE(progress()->IsProgramming());
    EXPECT_EQ(progress()->Worker()->priority(), QThread::LowestPriority);
    ASSERT_TRUE(WaitForEnd());

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(bar(), 100);
    EXPECT_FALSE(progress()->isVisible());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_FALSE(TempFileExists());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() <= threadsBefore; }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return keyName->hasFocus(); }, kWaitMs))
        << "the focus is back where the user left it";

    const std::vector<uint8_t> received = InProcessKeyboard().lastHandleBytes();
    ASSERT_EQ(received.size(), 1014u);
    EXPECT_EQ(received, KeyboardImageOf(LayoutFileText(dialog->layout, zr4700::FileVariant::Save)));
    EXPECT_EQ(received[2], 28) << "key 1's first code follows its flags and group number";
    EXPECT_EQ(InProcessKeyboard().stats().openHandles, 0);
}

// After a complete transfer the programmer notes what the keyboard holds, as zrwin does, so
// that zrwin --if-changed knows it too.
TEST_F(ProgrammingTest, ACompleteTransferIsRecordedForTheDevice) {
    test::TempDir dir;
    test::Simulator sim(dir, {"--type", "1"});
    ASSERT_TRUE(sim.ready());
    ScopedEnvironment device("ZR4700_DEVICE", sim.address().c_str());
    ScopedEnvironment state("XDG_STATE_HOME", sim.stateHome().c_str());
    ScopedBytePause fast(std::chrono::microseconds(50));
    const std::string path = ZR4700_SOURCE_DIR "/resources/examples/example-16scan-56.txt";
    zr4700::testing::RawLayout(dialog->document).fileName = path;
    dialog->LoadCurrentFile();
    Program();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(TakeBoxes().empty());

    const std::optional<KeyboardRecord> record = ReadKeyboardRecord(
        KeyboardRecordPath(sim.stateHome() + "/zr4700", sim.address()), sim.address());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->imageSha256, Sha256Hex(test::ReadFileBytes(sim.recordPath())));
    EXPECT_EQ(record->keyboardType, 1);
    EXPECT_EQ(record->layoutFile, path) << "the document's file, not the run's own";
}

TEST_F(ProgrammingTest, HundredTwelveKeyLayoutGoesRightBlockFirst) {
    InProcessKeyboard().setType(2);
    ScopedBytePause fast(std::chrono::microseconds(50));
    zr4700::testing::RawLayout(dialog->document).keyCount = 112;
    GiveProgrammedKey(1, 28);
    GiveProgrammedKey(57, 0x1C + 1);
    Program();
    ASSERT_TRUE(WaitForEnd());

    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(bar(), 100);
    const std::vector<uint8_t> received = InProcessKeyboard().lastHandleBytes();
    ASSERT_EQ(received.size(), 2022u);
    EXPECT_EQ(received, KeyboardImageOf(LayoutFileText(dialog->layout, zr4700::FileVariant::Save)));
    EXPECT_EQ(received[2], 0x1D) << "key 57 goes first";
    EXPECT_EQ(received[1008 + 2], 28) << "key 1 follows the right block";
}

TEST_F(ProgrammingTest, ProgrammingKeepsTheDocumentAsItWas) {
    InProcessKeyboard().setType(1);
    ScopedBytePause fast(std::chrono::microseconds(50));
    GiveProgrammedKey(1, 28);
    zr4700::testing::SetModified(dialog->document, true);
    const QString title = dialog->windowTitle();
    Program();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(dialog->document.modified()) << "the layout is still not saved";
    EXPECT_EQ(dialog->windowTitle(), title);
    EXPECT_TRUE(dialog->layout.fileName.empty());
    EXPECT_TRUE(dialog->layout.scan16Mode);
    EXPECT_FALSE(TempFolderLeft()) << "the run's folder went with its file";
    EXPECT_FALSE(QFile::exists("zr4700.tmp")) << "nothing is written in the current directory";

    Prompts::Instance().QueueAnswer(false);
    dialog->OnCommand(zr4700::kCmdFileNew);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Warning: Do you want to save current file?"});
}

TEST_F(ProgrammingTest, SecondRunWhileOneIsUnderWayStartsNothing) {
    InProcessKeyboard().setType(1);
    GiveProgrammedKey(1, 28);
    Program();
    ASSERT_TRUE(progress()->IsProgramming());
    QThread* worker = progress()->Worker();
    ASSERT_TRUE(QTest::qWaitFor([this] { return bar() >= 2; }, kWaitMs));

    dialog->OnProgramming();
    const char* const arguments[] = {"zrwin.exe", "zr4700.tmp"};
    EXPECT_EQ(progress()->StartProgramming(2, arguments), -1);
    EXPECT_EQ(progress()->Worker(), worker);
    EXPECT_TRUE(TempFileExists()) << "the running transfer's file was left alone";

    progress()->CancelAndWait();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kIncomplete});
}

// A layout file opened in the editor and programmed reaches the keyboard as the engine would
// send the file itself: reader, writer, worker and engine agree end to end. (The 113 test file
// is left out: it gives a key without the group flag a group number, which the editor's
// regrouping rightly clears.)
struct OpenedFileCase {
    const char* path; // below the source tree
    int keyboardType;
    size_t imageSize;
    // The editor reads all seven codes of a 112-key 7/3scan line, of which the keyboard keeps
    // three: programming asks before dropping them.
    bool asksFirst = false;
    friend void PrintTo(const OpenedFileCase& c, std::ostream* out) { *out << c.path; }
};

class ProgramOpenedFileTest : public ProgrammingTest,
                              public ::testing::WithParamInterface<OpenedFileCase> {};

TEST_P(ProgramOpenedFileTest, KeyboardReceivesTheFilesImage) {
    const OpenedFileCase& c = GetParam();
    const QString path = QStringLiteral(ZR4700_SOURCE_DIR "/") + c.path;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.path;
    const std::string original = file.readAll().toStdString();

    InProcessKeyboard().setType(c.keyboardType);
    ScopedBytePause fast(std::chrono::microseconds(50));
    zr4700::testing::RawLayout(dialog->document).fileName = path.toStdString();
    dialog->LoadCurrentFile();
    ASSERT_TRUE(TakeBoxes().empty());
    if (c.asksFirst)
        Prompts::Instance().QueueAnswer(true);
    Program();
    ASSERT_TRUE(WaitForEnd());

    EXPECT_EQ(TakeBoxes().size(), c.asksFirst ? 1u : 0u);
    EXPECT_EQ(bar(), 100);
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).fileName, path.toStdString());
    const std::vector<uint8_t> received = InProcessKeyboard().lastHandleBytes();
    EXPECT_EQ(received.size(), c.imageSize);
    EXPECT_EQ(received, KeyboardImageOf(original));
}

INSTANTIATE_TEST_SUITE_P(
    LayoutFiles, ProgramOpenedFileTest,
    ::testing::Values(OpenedFileCase{"resources/examples/example-16scan-56.txt", 1, 1014},
                      OpenedFileCase{"tests/data/layout-56.txt", 0, 450},
                      OpenedFileCase{"tests/data/layout-57.txt", 1, 1014},
                      OpenedFileCase{"tests/data/layout-112.txt", 0, 450, true}));

// ---- Stopping a transfer ---------------------------------------------------------------------

class CancelTest : public ProgrammingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CancelTest, StopsAfterTheByteInFlightAndCleansUp) {
    InProcessKeyboard().setType(1);
    GiveProgrammedKey(1, 28);
    const int threadsBefore = ThreadCount();
    Program();
    ASSERT_TRUE(QTest::qWaitFor([this] { return bar() >= 5; }, kWaitMs));

    if (std::string(GetParam()) == "escape")
        QTest::keyClick(progress(), Qt::Key_Escape);
    else
        progress()->close();
    // Cancelling does not wait for the worker.
    EXPECT_FALSE(progress()->isVisible());
    ASSERT_TRUE(WaitForEnd());

    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kIncomplete});
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_FALSE(TempFileExists());
    const SimulatedKeyboard::Stats stats = InProcessKeyboard().stats();
    EXPECT_GT(stats.bytes, 0);
    EXPECT_LT(stats.bytes, 1014);
    EXPECT_EQ(stats.openHandles, 0) << "the device was closed";
    EXPECT_LT(bar(), 100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() <= threadsBefore; }, kWaitMs));

    // The next run starts afresh and goes through.
    ScopedBytePause fast(std::chrono::microseconds(50));
    Program();
    EXPECT_EQ(bar(), 0);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(bar(), 100);
    EXPECT_EQ(InProcessKeyboard().lastHandleBytes().size(), 1014u);
}

INSTANTIATE_TEST_SUITE_P(EscapeAndCloseBox, CancelTest, ::testing::Values("escape", "close"));

// The program runs its main window modally; the progress dialog must still take Escape from the
// window system while that window is disabled.
TEST_F(ProgrammingTest, EscapeReachesTheDialogWhileTheMainWindowRunsModally) {
    dialog->hide();
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    InProcessKeyboard().setType(1);
    GiveProgrammedKey(1, 28);
    Program();
    ASSERT_TRUE(QTest::qWaitFor([this] { return bar() >= 3; }, kWaitMs));
    ASSERT_NE(progress()->windowHandle(), nullptr);
    EXPECT_TRUE(progress()->isEnabled());

    QTest::keyClick(progress()->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(progress()->isVisible());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kIncomplete});
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_LT(InProcessKeyboard().stats().bytes, 1014);
}

TEST_F(ProgrammingTest, CancelAndWaitReturnsOnlyWhenTheWorkerHasEnded) {
    InProcessKeyboard().setType(1);
    GiveProgrammedKey(1, 28);
    Program();
    ASSERT_TRUE(QTest::qWaitFor([this] { return bar() >= 3; }, kWaitMs));

    progress()->CancelAndWait();
    EXPECT_FALSE(progress()->IsProgramming());
    EXPECT_FALSE(progress()->isVisible());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_FALSE(TempFileExists());
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kIncomplete});
    EXPECT_LT(InProcessKeyboard().stats().bytes, 1014);
    EXPECT_EQ(InProcessKeyboard().stats().openHandles, 0);
}

TEST_F(ProgrammingTest, DestroyingTheMainWindowMidTransferJoinsTheWorker) {
    InProcessKeyboard().setType(1);
    GiveProgrammedKey(1, 28);
    const int threadsBefore = ThreadCount();
    Program();
    ASSERT_TRUE(QTest::qWaitFor([this] { return bar() >= 3; }, kWaitMs));

    dialog.reset();
    EXPECT_FALSE(TempFileExists());
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kIncomplete});
    EXPECT_EQ(InProcessKeyboard().stats().openHandles, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() <= threadsBefore; }, kWaitMs));
}

// Closing the program while a transfer runs would leave the keyboard half programmed: the close
// box of the main window (and Alt+F4, the window manager) does nothing then.
TEST_F(ProgrammingTest, TheMainWindowDoesNotCloseDuringATransfer) {
    InProcessKeyboard().setType(1);
    GiveProgrammedKey(1, 28);
    Program();
    ASSERT_TRUE(QTest::qWaitFor([this] { return bar() >= 2; }, kWaitMs));

    EXPECT_FALSE(dialog->close());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(progress()->IsProgramming()) << "the transfer goes on";

    progress()->CancelAndWait();
    TakeBoxes();
}
