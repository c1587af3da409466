// Key names from older layouts (single-byte Latin-1) next to names typed here (UTF-8).
#include "FileCommandsTestSupport.h"
#include "support/DocumentTestAccess.h"

#include "qt/platform/NameText.h"
#include "qt/scancodes/CCaptureDlg.h"
#include "support/MainWindowFixtureQt.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace filetest;

TEST(NameTextTest, ShowsUtf8AsItIsAndAnythingElseAsLatin1) {
    struct Case {
        std::string bytes;
        QString shown;
    };
    const Case cases[] = {
        {"", ""},
        {"Enter", "Enter"},
        {"Gr\xC3\xBC\xC3\x9F", QString::fromUtf8("Grüß")}, // UTF-8
        {"Gr\xFC\xDF", QString::fromUtf8("Grüß")},         // Latin-1
        {"\xC3", QString::fromUtf8("Ã")},                  // a UTF-8 start cut short
        {"\xE9t\xC3\xA9", QString::fromUtf8("étÃ©")},      // mixed: all Latin-1
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameText(c.bytes), c.shown) << c.bytes;
}

using NameTextWindowTest = MainWindowTest;

TEST_F(NameTextWindowTest, ALatin1NameIsReadableAndKeepsItsBytesUntilEdited) {
    const QString path = TempPath("latin1.txt");
    ASSERT_TRUE(WriteBytes(path, SmallLayout("Gr\xFC\xDF")));
    zr4700::testing::RawLayout(dialog->document).fileName = path.toStdString();
    dialog->LoadCurrentFile();

    auto* name = control<QLineEdit>(1009);
    EXPECT_EQ(name->text(), QString::fromUtf8("Grüß"));
    EXPECT_EQ(control<QComboBox>(1016)->itemText(0), QString::fromUtf8("Grüß *"));
    EXPECT_TRUE(dialog->OnFileSave());
    EXPECT_TRUE(ReadBytes(path).contains(";Gr\xFC\xDF\r\n")) << "the name's bytes unchanged";

    // Taking the controls' values (as Save, Programming and Settings do) and programming the key
    // through the capture dialog keep the unedited name's bytes.
    ASSERT_TRUE(dialog->ReadControls());
    QTimer::singleShot(0, [] { theCaptureDlg->findChild<QPushButton*>("1020")->click(); });
    dialog->EditKeyCodes();
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(1).name, "Gr\xFC\xDF");

    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "e");
    EXPECT_EQ(zr4700::testing::RawLayout(dialog->document).key(1).name, "Gr\xC3\xBC\xC3\x9F"
                                                                        "e")
        << "an edited name is UTF-8";
}

// A single-byte name of 60 accented letters is 120 bytes once edited here: deleting from it is
// still taken (the stored name then cut to its field), while typing more is refused.
TEST_F(NameTextWindowTest, ALongLatin1NameCanStillBeShortened) {
    const QString path = TempPath("long.txt");
    ASSERT_TRUE(WriteBytes(path, SmallLayout(QByteArray(60, '\xE9'))));
    zr4700::testing::RawLayout(dialog->document).fileName = path.toStdString();
    dialog->LoadCurrentFile();
    auto* name = control<QLineEdit>(1009);
    ASSERT_EQ(name->text(), QString(60, QChar(0xE9)));

    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "x");
    EXPECT_EQ(name->text(), QString(60, QChar(0xE9))) << "typing more is refused";
    QTest::keyClick(name, Qt::Key_Backspace);
    // Stored as UTF-8, cut to the field's 102 bytes; the field shows what is stored.
    EXPECT_EQ(QString::fromStdString(zr4700::testing::RawLayout(dialog->document).key(1).name),
              QString(51, QChar(0xE9)));
    EXPECT_EQ(name->text(), QString(51, QChar(0xE9)));
}
