// Legends: a sheet really comes out as PDF and PNG, the command line writes one and refuses bad
// arguments, the View toggle and the export command of the main window, and the grid's keys as
// assistive tools see them.

#include "core/model/GridGeometry.h"
#include "qt/app/MenuBuilder.h"
#include "qt/grid/KeyGridAccessibleQt.h"
#include "qt/grid/KeyGridWidget.h"
#include "qt/legend/LegendCommands.h"
#include "qt/legend/LegendPainter.h"
#include "support/DocumentTestAccess.h"
#include "support/MainWindowFixtureQt.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

using namespace zr4700;

namespace {

void Program(Layout& layout, int k, const KeyCodes& codes, const std::string& name) {
    layout.key(k).codes = codes;
    layout.key(k).setName(name);
    layout.state(k) = CellState::Single;
}

// Runs work on the options dialog of the next legend command once it is up.
void WhenOptionsShown(std::function<void(QDialog*)> work) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, work] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (dialog->objectName() == QLatin1String("legendOptions")) {
                timer->deleteLater();
                timer->stop();
                work(dialog);
            }
        }
    });
    timer->start();
}

// Answers the options dialog of the next legend command with OK, once it is up.
void AcceptOptionsWhenShown() {
    WhenOptionsShown([](QDialog* dialog) { dialog->accept(); });
}

TEST(LegendExportTest, PdfAndPngComeOutWithTheCaps) {
    QTemporaryDir dir;
    Layout layout;
    layout.keyCount = 112;
    for (int k = 1; k <= 112; ++k)
        Program(layout, k, {0x1C, 0x32}, "Cash drawer " + std::to_string(k));
    LegendOptions options;
    options.footer = "full.txt";
    options.showCodeNames = true;
    const LegendSheet sheet = ComputeLegendSheet(layout, options);

    const QString pdf = dir.filePath("sheet.pdf");
    EXPECT_EQ(LegendPainter::Export(sheet, pdf), QString());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 5000);

    const QString png = dir.filePath("sheet.png");
    EXPECT_EQ(LegendPainter::Export(sheet, png), QString());
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 2480); // A4 at 300 dpi
    EXPECT_EQ(image.height(), 3508);
    // The first insert carries dark letters in its middle.
    const LegendCap& first = sheet.pages[0].caps[0];
    const double dotsPerMm = 300 / 25.4;
    int dark = 0;
    for (int y = int(first.nameBox.y * dotsPerMm); y < int(first.nameBox.bottom() * dotsPerMm); ++y)
        for (int x = int(first.nameBox.x * dotsPerMm); x < int(first.nameBox.right() * dotsPerMm);
             ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 50);

    EXPECT_FALSE(LegendPainter::Export(sheet, dir.filePath("sheet.doc")).isEmpty());
    EXPECT_FALSE(LegendPainter::Export(sheet, dir.filePath("missing/sheet.pdf")).isEmpty());
}

TEST(LegendExportTest, CommandLineWritesASheetAndRefusesBadArguments) {
    QTemporaryDir dir;
    const QString layout =
        QStringLiteral(ZR4700_SOURCE_DIR "/resources/examples/example-16scan-56.txt");
    auto run = [](const QStringList& arguments, QByteArray* errors = nullptr) {
        QProcess program;
        program.start(ZR4700_BINARY_PATH, arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        if (errors)
            *errors = program.readAllStandardError();
        return program.exitCode();
    };
    const QString svg = dir.filePath("sheet.svg");
    EXPECT_EQ(run({"--legend", svg, "--pitch", "18", layout}), 0);
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<svg"));

    QByteArray errors;
    EXPECT_EQ(run({"--legend", dir.filePath("x.pdf"), "--pitch", "big", layout}, &errors), 2);
    EXPECT_TRUE(errors.contains("--pitch")) << errors.toStdString();
    EXPECT_EQ(run({"--legend", dir.filePath("x.pdf"), "--arrange", "sideways", layout}, &errors),
              2);
    EXPECT_TRUE(errors.contains("--arrange needs keyboard or packed")) << errors.toStdString();
    // Inserts where the caps stand by default, or packed in key order when asked for.
    const QString packed = dir.filePath("packed.svg");
    const QString keyboard = dir.filePath("keyboard.svg");
    EXPECT_EQ(run({"--legend", packed, "--arrange", "packed", "--pitch", "18", layout}), 0);
    EXPECT_EQ(run({"--legend", keyboard, "--arrange", "keyboard", "--pitch", "18", layout}), 0);
    QFile packedFile(packed), keyboardFile(keyboard);
    ASSERT_TRUE(packedFile.open(QIODevice::ReadOnly));
    ASSERT_TRUE(keyboardFile.open(QIODevice::ReadOnly));
    const QByteArray keyboardSheet = keyboardFile.readAll();
    file.seek(0);
    EXPECT_EQ(file.readAll(), keyboardSheet) << "as on the keyboard is the default";
    EXPECT_NE(packedFile.readAll(), keyboardSheet);
    EXPECT_EQ(run({"--legend", dir.filePath("x.txt"), layout}, &errors), 2);
    EXPECT_EQ(run({"--legend", dir.filePath("x.pdf")}, &errors), 2);
    EXPECT_EQ(run({"--legend", dir.filePath("x.pdf"), dir.filePath("none.txt")}, &errors), 1);
    EXPECT_TRUE(errors.contains("none.txt")) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.pdf")));
}

// The command line under faults, as a user meets them in a shell. Each script runs in a fresh
// folder holding a layout as in.txt, with the program as $Z; "keeps" names a file the script
// filled with "old sheet" first, which must still hold it afterwards.
struct CommandLineFault {
    const char* name;
    const char* script;
    int status;
    const char* error; // a part of stderr; an empty one means no error at all
    const char* keeps = "";
};

const CommandLineFault kCommandLineFaults[] = {
    {"link to /dev/full", "ln -s /dev/full out.pdf; \"$Z\" --legend out.pdf in.txt", 1,
     "Cannot write out.pdf: not a regular file."},
    {"file size limit, PDF",
     "echo 'old sheet' > out.pdf; ulimit -f 4; trap '' XFSZ; \"$Z\" --legend out.pdf --all-keys "
     "in.txt",
     1, "Cannot write out.pdf: File too large.", "out.pdf"},
    {"file size limit, SVG",
     "echo 'old sheet' > out.svg; ulimit -f 4; trap '' XFSZ; \"$Z\" --legend out.svg --all-keys "
     "in.txt",
     1, "Cannot write out.svg: File too large.", "out.svg"},
    {"killed while writing",
     "echo 'old sheet' > out.png; ulimit -f 4; \"$Z\" --legend out.png --all-keys in.txt", 128 + 25,
     "", "out.png"},
    {"FIFO", "mkfifo out.svg; timeout 20 \"$Z\" --legend out.svg in.txt", 1,
     "Cannot write out.svg: not a regular file."},
    {"layout beyond 1 MiB",
     "cp in.txt big.txt; truncate -s 2M big.txt; \"$Z\" --legend o.pdf big.txt", 1,
     "the layout file big.txt cannot be read: the file is larger than 1048576 bytes"},
    {"empty layout", ": > e.txt; \"$Z\" --legend o.pdf --all-keys e.txt", 1,
     "the layout file e.txt cannot be read: 1:1: the file is empty"},
    {"layout without a key line",
     "printf '57; 0; 0; 2; 11; 144; 0; 0; 3\\r\\n' > k.txt; \"$Z\" --legend o.pdf --all-keys k.txt",
     1, "cannot be read: 2:1: the file ends before its first key line"},
    {"binary layout",
     "printf '\\177ELF\\2\\1\\n\\0\\1\\n' > b.bin; \"$Z\" --legend o.pdf --all-keys b.bin", 1,
     "the layout file b.bin cannot be read: "},
    {"output given twice",
     "\"$Z\" --legend '' --legend o.pdf in.txt; s=$?; test ! -e o.pdf && exit $s", 2,
     "--legend needs one output file"},
    {"names that are no UTF-8",
     "cp in.txt \"$(printf 'caf\\351.txt')\" && \"$Z\" --legend \"$(printf 'o\\351.pdf')\" "
     "\"$(printf 'caf\\351.txt')\" && test -s \"$(printf 'o\\351.pdf')\"; s=$?; rm -f caf* o*; "
     "exit $s",
     0, ""},
    {"window opens a name that is no UTF-8",
     "cp in.txt \"$(printf 'caf\\351.txt')\" && \"$Z\" --screenshot s.png \"$(printf "
     "'caf\\351.txt')\"; "
     "s=$?; rm -f caf*; exit $s",
     0, ""},
};

TEST(LegendExportTest, CommandLineFaultsFailWithTheReasonAndKeepTheOldFile) {
    for (const CommandLineFault& c : kCommandLineFaults) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(QFile::copy(ZR4700_SOURCE_DIR "/resources/examples/example-16scan-56.txt",
                                dir.filePath("in.txt")));
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("Z", ZR4700_BINARY_PATH);
        shell.setProcessEnvironment(environment);
        shell.start("/bin/sh", {"-c", c.script});
        ASSERT_TRUE(shell.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(shell.readAllStandardError());
        EXPECT_EQ(shell.exitCode(), c.status) << errors.toStdString();
        if (*c.error)
            EXPECT_TRUE(errors.contains(c.error)) << errors.toStdString();
        else
            EXPECT_FALSE(errors.contains("annot")) << errors.toStdString();
        if (*c.keeps) {
            QFile kept(dir.filePath(c.keeps));
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), "old sheet\n");
        }
    }
}

class LegendWindowTest : public MainWindowTest {
  protected:
    LegendCommands* Attach() { return dialog->legendCommands(); }
};

TEST_F(LegendWindowTest, NamesOnCapsToggleIsRemembered) {
    Program(zr4700::testing::RawLayout(dialog->document), 2, {0x1C}, "Total");
    LegendCommands* commands = Attach();
    ASSERT_NE(commands->viewMenu(), nullptr);
    // View stands just before Help, the last menu.
    const QList<QAction*> top = dialog->mainMenu->actions();
    const qsizetype view = top.indexOf(commands->viewMenu()->menuAction());
    EXPECT_EQ(view, top.size() - 2);
    EXPECT_GT(view, top.indexOf(dialog->FileMenu()->menuAction()));
    EXPECT_EQ(commands->viewMenu()->title(), "&View");
    ASSERT_TRUE(commands->namesAction()->isChecked()) << "on by default";
    EXPECT_TRUE(dialog->grid()->showNames());

    const GridPoint origin = KeyOrigin(2);
    const QRect cap(origin.x, origin.y, kKeyUnit, kKeyUnit);
    const QImage named = dialog->grid()->grab(cap).toImage();
    commands->namesAction()->trigger();
    EXPECT_FALSE(dialog->grid()->showNames());
    const QImage plain = dialog->grid()->grab(cap).toImage();
    EXPECT_NE(named, plain) << "the name is drawn on the cap";

    // A new window starts the way the user left it.
    dialog.reset(new CProgrammerDlg);
    LegendCommands* again = Attach();
    EXPECT_FALSE(again->namesAction()->isChecked());
    EXPECT_FALSE(dialog->grid()->showNames());
}

TEST_F(LegendWindowTest, ExportLegendsWritesTheChosenFile) {
    Program(zr4700::testing::RawLayout(dialog->document), 2, {0x1C}, "Total");
    LegendCommands* commands = Attach();
    // After "Save As...".
    const QList<QAction*> items = dialog->FileMenu()->actions();
    const qsizetype saveAs = items.indexOf(FindCommand(dialog->FileMenu(), 32778));
    ASSERT_GE(saveAs, 0);
    EXPECT_EQ(items.at(saveAs + 1), commands->printAction());
    EXPECT_EQ(items.at(saveAs + 2), commands->exportAction());

    const QString path = TempPath("legends"); // no extension: the chosen type gives it
    FileDialogs::QueueAnswer(FileDialogs::Choice{path, 3});
    AcceptOptionsWhenShown();
    commands->exportAction()->trigger();
    EXPECT_EQ(FileDialogs::LastSaveRequest().filters.size(), 3);
    EXPECT_FALSE(QImage(path + ".png").isNull());
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(LegendCommands::LoadSettings().exportType, 3) << "the type is remembered";
}

// The options refuse a size outside its range, as the command line does, and keep the dialog
// open on that field with the text as typed; the file dialog says what it is for.
TEST_F(LegendWindowTest, ExportOptionsRefuseSizesOutOfRange) {
    Program(zr4700::testing::RawLayout(dialog->document), 2, {0x1C}, "Total");
    LegendCommands* commands = Attach();
    struct Attempt {
        const char* pitch;
        const char* margin;
        const char* box; // empty: accepted
        const char* focus;
    };
    const Attempt attempts[] = {
        {"100", "1", ": The key pitch must be a number of millimetres from 5 to 60.", "pitch"},
        {"4.9", "1", ": The key pitch must be a number of millimetres from 5 to 60.", "pitch"},
        {"wide", "1", ": The key pitch must be a number of millimetres from 5 to 60.", "pitch"},
        {"5", "5",
         ": The insert margin must be a number of millimetres from 0 to 1.25 (at most a quarter "
         "of the key pitch).",
         "margin"},
        {"5", "1.25", "", ""},
    };
    std::vector<std::string> failures;
    WhenOptionsShown([&](QDialog* options) {
        auto* pitch = options->findChild<QLineEdit*>("pitch");
        auto* margin = options->findChild<QLineEdit*>("margin");
        auto* buttons = options->findChild<QDialogButtonBox*>();
        if (!pitch || !margin || !buttons) {
            failures.push_back("controls missing");
            options->reject();
            return;
        }
        for (const Attempt& attempt : attempts) {
            pitch->setText(attempt.pitch);
            margin->setText(attempt.margin);
            QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
            const std::vector<std::string> boxes = TakeBoxes();
            const std::string what = std::string(attempt.pitch) + "/" + attempt.margin + ": ";
            const bool refused = *attempt.box != '\0';
            if (options->isVisible() != refused)
                failures.push_back(what + (refused ? "accepted" : "refused"));
            if (refused && boxes != std::vector<std::string>{attempt.box})
                failures.push_back(what + (boxes.empty() ? "no box" : boxes.front()));
            if (refused && (QApplication::focusWidget() == nullptr ||
                            QApplication::focusWidget()->objectName() != attempt.focus))
                failures.push_back(what + "focus elsewhere");
            if (refused && (pitch->text() != attempt.pitch || margin->text() != attempt.margin))
                failures.push_back(what + "the text changed");
        }
        if (options->isVisible())
            options->reject();
    });
    FileDialogs::QueueAnswer(FileDialogs::Choice{TempPath("refused.pdf"), 1});
    commands->exportAction()->trigger();
    EXPECT_TRUE(failures.empty()) << ::testing::PrintToString(failures);
    EXPECT_EQ(LegendCommands::LoadSettings().pitchMm, 5.0);
    EXPECT_EQ(LegendCommands::LoadSettings().marginMm, 1.25);
    EXPECT_TRUE(QFile::exists(TempPath("refused.pdf")));

    QFileDialog files;
    FileDialogs::ConfigureSaveDialog(files, FileDialogs::LastSaveRequest());
    EXPECT_EQ(files.windowTitle(), "Export legends");
}

std::vector<std::pair<QAccessible::Event, QString>> accessibleEvents;

void RecordAccessibleEvent(QAccessibleEvent* event) {
    if (QAccessibleInterface* target = event->accessibleInterface())
        accessibleEvents.emplace_back(event->type(), target->text(QAccessible::Name));
}

TEST_F(LegendWindowTest, KeysAreAccessibleButtonsAndTheCurrentOneIsAnnounced) {
    Program(zr4700::testing::RawLayout(dialog->document), 10, {0x1C, 0x32, 0x0D}, "Cash drawer");
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(dialog->grid());
    ASSERT_NE(grid, nullptr);
    QAccessibleInterface* key10 = nullptr;
    int keys = 0;
    for (int i = 0; i < grid->childCount(); ++i) {
        QAccessibleInterface* child = grid->child(i);
        if (!child || child->role() != QAccessible::Button || child->object())
            continue;
        ++keys;
        if (child->text(QAccessible::Name) == "Key 10, Cash drawer")
            key10 = child;
        EXPECT_EQ(grid->indexOfChild(child), i);
    }
    EXPECT_EQ(keys, 56);
    ASSERT_NE(key10, nullptr);
    EXPECT_EQ(key10->text(QAccessible::Description), "A, B, Tab");
    EXPECT_EQ(key10->parent(), grid);
    const QRect place = key10->rect();
    EXPECT_EQ(grid->childAt(place.center().x(), place.center().y()), key10);
    EXPECT_FALSE(key10->state().selected);

    dialog->grid()->setFocus(); // a key takes the focus only while the grid has it
    KeyGridAccessible::SetNotificationSpy(RecordAccessibleEvent);
    accessibleEvents.clear();
    dialog->document.SelectKey(10);
    QTest::qWait(20);
    KeyGridAccessible::SetNotificationSpy(nullptr);
    EXPECT_TRUE(key10->state().selected);
    const std::pair<QAccessible::Event, QString> focus{QAccessible::Focus, "Key 10, Cash drawer"};
    const std::pair<QAccessible::Event, QString> selection{QAccessible::Selection,
                                                           "Key 10, Cash drawer"};
    EXPECT_NE(std::find(accessibleEvents.begin(), accessibleEvents.end(), focus),
              accessibleEvents.end());
    EXPECT_NE(std::find(accessibleEvents.begin(), accessibleEvents.end(), selection),
              accessibleEvents.end());
}

} // namespace
