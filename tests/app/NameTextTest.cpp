// Key names from older layouts (single-byte Latin-1) next to names typed here (UTF-8).
#include "FileCommandsTestSupport.h"

#include "app/NameText.h"
#include "support/MainWindowFixtureQt.h"

#include <QComboBox>
#include <QLineEdit>

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
    dialog->layout.fileName = path.toStdString();
    dialog->LoadCurrentFile();

    auto* name = control<QLineEdit>(1009);
    EXPECT_EQ(name->text(), QString::fromUtf8("Grüß"));
    EXPECT_EQ(control<QComboBox>(1016)->itemText(0), QString::fromUtf8("Grüß *"));
    EXPECT_TRUE(dialog->OnFileSave());
    EXPECT_TRUE(ReadBytes(path).contains(";Gr\xFC\xDF\r\n")) << "the name's bytes unchanged";

    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "e");
    EXPECT_EQ(dialog->layout.key(1).name, "Gr\xC3\xBC\xC3\x9F"
                                          "e")
        << "an edited name is UTF-8";
}
