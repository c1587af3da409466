// The help command (which file it opens, and when it does nothing) and the About box.
#include "FileCommandsTestSupport.h"
#include "support/DocumentTestAccess.h"

#include "qt/app/CAboutDlg.h"
#include "support/MainWindowFixtureQt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace filetest;

namespace {

// Stands in for the desktop's viewer: the program asks it to open file URLs, and it only
// records them.
class ViewerStandIn : public QObject {
    Q_OBJECT

  public:
    ViewerStandIn() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~ViewerStandIn() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

using HelpTest = MainWindowTest;

TEST_F(HelpTest, OpensTheHelpFileUnderTheStartUpDirectory) {
    ViewerStandIn viewer;
    const QString startUp = QDir::currentPath();
    // A file dialog may leave another current directory behind.
    ASSERT_TRUE(QDir().mkpath(TempPath("elsewhere")));
    QDir::setCurrent(TempPath("elsewhere"));

    Choose(*dialog, zr4700::kCmdHelpContent);

    ASSERT_EQ(viewer.opened.size(), 1);
    EXPECT_EQ(viewer.opened.front(), QUrl::fromLocalFile(startUp + "/help/ZR4700.chm"));
    EXPECT_TRUE(TakeBoxes().empty()) << "the program reports nothing of its own";
}

TEST_F(HelpTest, F1AnywhereInTheWindowOpensIt) {
    ViewerStandIn viewer;
    QTest::keyClick(control<QLineEdit>(1009), Qt::Key_F1);
    EXPECT_EQ(viewer.opened.size(), 1);
    QTest::keyClick(control<QLineEdit>(1009), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(viewer.opened.size(), 1) << "Shift+F1 is not the help key";
}

TEST_F(HelpTest, NoViewerForTheFileIsNotReportedByTheProgram) {
    // Offscreen there is no desktop to hand the file to.
    dialog->OnHelpContent();
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(HelpTest, DoesNothingWhileTheCaptureDialogIsOpen) {
    ViewerStandIn viewer;
    dialog->editingKeyCodes = true;
    dialog->OnHelpContent();
    EXPECT_TRUE(viewer.opened.isEmpty());

    dialog->editingKeyCodes = false;
    dialog->OnHelpContent();
    EXPECT_EQ(viewer.opened.size(), 1);
}

using AboutTest = ScriptedUi;

TEST_F(AboutTest, ShowsThePictureTheVersionAndOk) {
    CAboutDlg about;
    about.show();

    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.objectName(), "100");
    EXPECT_EQ(about.size(), QSize(255, 132)) << "170 by 81 dialog units";
    auto* picture = about.findChild<QLabel*>("108");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(240, 60));
    auto* version = about.findChild<QLabel*>("version");
    auto* second = about.findChild<QLabel*>("second");
    ASSERT_NE(version, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(version->text(), "ZR-4700 16scan keyboard programmer ver. 2.42");
    EXPECT_FALSE(second->text().isEmpty());
    auto* ok = about.findChild<QPushButton*>("1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());

    // Top to bottom, inside the dialog, each text wide enough for itself.
    EXPECT_LT(picture->geometry().bottom(), version->geometry().top());
    EXPECT_LE(version->geometry().bottom(), second->geometry().top());
    EXPECT_LT(second->geometry().bottom(), ok->geometry().top());
    for (QWidget* child : {static_cast<QWidget*>(picture), static_cast<QWidget*>(version),
                           static_cast<QWidget*>(second), static_cast<QWidget*>(ok)}) {
        EXPECT_TRUE(about.rect().contains(child->geometry())) << child->objectName().toStdString();
    }
    for (QLabel* label : {picture, version, second}) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
        EXPECT_LE(label->sizeHint().height(), label->height()) << label->objectName().toStdString();
    }
    EXPECT_LT(ok->fontMetrics().horizontalAdvance(ok->text()), ok->width() - 8);

    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(MainWindowTest, AboutRunsModallyAndOkClosesIt) {
    QString seen;
    QTimer::singleShot(0, [&seen, this] {
        auto* about = dialog->findChild<CAboutDlg*>();
        if (!about || !about->isModal()) {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        seen = about->windowTitle();
        about->findChild<QPushButton*>("1")->click();
    });

    Choose(*dialog, zr4700::kCmdAbout);

    EXPECT_EQ(seen, "About");
    EXPECT_TRUE(dialog->isVisible());
}

#include "HelpAboutTest.moc"
