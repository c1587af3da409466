// A replacement bundle (local.rcc) changes the texts, menus and pictures it holds and leaves the
// rest to the built-in resource set.
#include "qt/platform/Resources.h"
#include "qt/app/CProgrammerDlg.h"
#include "support/MainWindowFixtureQt.h"

#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QProcess>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ResourcesTest : public ScriptedUi {
  protected:
    void TearDown() override {
        Resources::UseReplacementBundle({});
        ScriptedUi::TearDown();
    }

    // Builds local.rcc from a few replacement files with Qt's resource compiler.
    QString buildBundle() {
        const QString root = TempPath("bundle");
        QDir().mkpath(root + "/resources/bitmaps");
        writeFile(root + "/resources/strings.json", R"({"32800": "Replaced title [%s]"})");
        writeFile(root + "/resources/menus.json", R"({"129": [
            {"text": "", "id": 65535},
            {"text": "&Datei", "items": [{"text": "&Beenden", "id": 32796}]}
        ]})");
        QImage red(39, 39, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        red.save(root + "/resources/bitmaps/152.png");
        writeFile(root + "/local.qrc", R"(<RCC><qresource prefix="/">
            <file>resources/strings.json</file>
            <file>resources/menus.json</file>
            <file>resources/bitmaps/152.png</file>
            </qresource></RCC>)");
        const QString rcc = TempPath("local.rcc");
        QProcess process;
        process.setWorkingDirectory(root);
        process.start(RCC_PATH, {"--binary", "-o", rcc, "local.qrc"});
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return rcc;
    }
};

TEST_F(ResourcesTest, BuiltInSetHoldsTheStringTable) {
    EXPECT_EQ(Resources::String(32779), "Do you want to save current file?");
    EXPECT_EQ(Resources::String(32801), "Insert scan-codes by pressing key");
    EXPECT_EQ(Resources::String(33006), "Zr4700 driver error.");
    EXPECT_EQ(Resources::String(33010), "Data buffer error.");
    EXPECT_FALSE(Resources::Bitmap(152).isNull());
    EXPECT_EQ(Resources::Bitmap(157).size(), QSize(78, 78));
    EXPECT_FALSE(Resources::Icon(102).isNull());
}

TEST_F(ResourcesTest, ReplacementBundleOverridesStringMenuAndPicture) {
    const QString rcc = buildBundle();
    ASSERT_TRUE(Resources::UseReplacementBundle(rcc));
    EXPECT_EQ(Resources::String(32800), "Replaced title [%s]");
    EXPECT_EQ(Resources::String(32779), "Do you want to save current file?")
        << "what the bundle lacks comes from the built-in set";
    const QImage picture = Resources::Bitmap(152, 4).toImage();
    EXPECT_EQ(picture.pixelColor(20, 20), QColor(255, 0, 0))
        << "a replaced picture wins over the built-in high-resolution one";
    EXPECT_NE(Resources::Bitmap(153).toImage().pixelColor(20, 20), QColor(255, 0, 0));

    CProgrammerDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Replaced title [untitled]");
    ASSERT_GE(dialog.mainMenu->actions().size(), 2);
    EXPECT_EQ(dialog.mainMenu->actions().at(1)->text(), "&Datei");
}

TEST_F(ResourcesTest, BundleIsFoundBesideTheProgramOrInTheCurrentDirectory) {
    const QString rcc = buildBundle();
    QFile::copy(rcc, QDir::current().filePath("local.rcc"));
    EXPECT_EQ(Resources::LoadReplacementBundle(TempPath("nowhere")),
              QDir::current().filePath("local.rcc"));
    EXPECT_EQ(Resources::String(32800), "Replaced title [%s]");
    Resources::UseReplacementBundle({});
    EXPECT_EQ(Resources::String(32800), "ZR-4700 - keyboard programmer  -  [%s]");
}
