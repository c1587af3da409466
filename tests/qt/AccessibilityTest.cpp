// What assistive tools and keyboard-only users meet: every control of every window has a name
// (its own or the label it is labelled by), Tab walks the main window as it reads, the grid
// shows that it has the focus, and every menu command has a mnemonic or a shortcut.
#include "core/model/GridGeometry.h"
#include "qt/app/CSettingsDlg.h"
#include "qt/grid/KeyGridAccessibleQt.h"
#include "qt/grid/KeyGridWidget.h"
#include "qt/scancodes/CCaptureDlg.h"
#include "support/MainWindowFixtureQt.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

bool IsControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Graphic:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed, int depth = 0) {
    if (!node || !node->isValid() || node->state().invisible || depth > 20)
        return;
    const bool named = !node->text(QAccessible::Name).trimmed().isEmpty() ||
                       !node->relations(QAccessible::Label).isEmpty();
    if (IsControl(node->role()) && !named) {
        QObject* object = node->object();
        unnamed << QStringLiteral("%1 \"%2\" (role %3)")
                       .arg(object ? object->metaObject()->className() : "?",
                            object ? object->objectName() : QString())
                       .arg(node->role());
    }
    for (int i = 0; i < node->childCount(); ++i)
        CollectUnnamed(node->child(i), unnamed, depth + 1);
}

QStringList Unnamed(QWidget* window) {
    QStringList unnamed;
    CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed);
    return unnamed;
}

QString Name(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// Runs `look` on the modal window that `open` shows, then closes that window.
void LookAtModalOf(const std::function<void()>& open, const std::function<void(QWidget*)>& look) {
    bool looked = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll.stop();
        look(modal);
        looked = true;
        if (auto* cancel = modal->findChild<QPushButton*>("1066"))
            cancel->click(); // the capture dialog ends through its own Cancel only
        else
            qobject_cast<QDialog*>(modal)->reject();
    });
    poll.start();
    open();
    EXPECT_TRUE(looked) << "no window was shown";
}

class AccessibilityTest : public MainWindowTest {
  protected:
    QPoint KeyCentre(int key) const {
        const zr4700::GridPoint origin = zr4700::KeyOrigin(key);
        return {origin.x + zr4700::kKeyUnit / 2, origin.y + zr4700::kKeyUnit / 2};
    }
    // As LookAtModalOf; the main window is active again afterwards, as it is for the user.
    void LookAtModal(const std::function<void()>& open, const std::function<void(QWidget*)>& look) {
        LookAtModalOf(open, look);
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    QString FocusName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("<none>");
    }
};

} // namespace

TEST_F(AccessibilityTest, EveryControlOfTheMainWindowHasAName) {
    EXPECT_EQ(Unnamed(dialog.get()), QStringList());
    EXPECT_EQ(Name(control<QLineEdit>(1000)), "Code 1");
    EXPECT_EQ(Name(control<QLineEdit>(1022)), "Code 16");
    EXPECT_EQ(Name(control<QPushButton>(1027)), "Set flag for all keys");
    const auto arrows = control<QWidget>(1036)->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    EXPECT_EQ(Name(arrows.at(0)), "Increase digits count");
    EXPECT_EQ(Name(arrows.at(1)), "Decrease digits count");
    EXPECT_EQ(Name(control<QLineEdit>(1009)), "Key name") << "named by the label beside it";
}

TEST_F(AccessibilityTest, EveryControlOfTheDialogsAndBoxesHasAName) {
    SCOPED_TRACE("settings");
    LookAtModal([this] { dialog->OnSettings(); },
                [](QWidget* settings) {
                    EXPECT_EQ(Unnamed(settings), QStringList()) << "Keyboard settings";
                    EXPECT_EQ(Name(settings->findChild<QWidget*>("1029")),
                              "Key repeat, typematic rate");
                });
    SCOPED_TRACE("capture");
    LookAtModal([this] { QTest::keyClick(dialog->grid(), Qt::Key_Return); },
                [](QWidget* capture) {
                    EXPECT_EQ(capture, theCaptureDlg);
                    EXPECT_EQ(Unnamed(capture), QStringList()) << "capture dialog";
                });
    SCOPED_TRACE("about");
    LookAtModal([this] { dialog->OnAbout(); },
                [](QWidget* about) { EXPECT_EQ(Unnamed(about), QStringList()) << "About"; });

    // A prefix that is no byte is reported when the field is left.
    Prompts::Instance().SetMode(Prompts::Mode::Interactive);
    auto* prefix = control<QLineEdit>(1037);
    prefix->setFocus();
    prefix->selectAll();
    QTest::keyClicks(prefix, "300");
    LookAtModal([prefix] { QTest::keyClick(prefix, Qt::Key_Tab); },
                [](QWidget* box) { EXPECT_EQ(Unnamed(box), QStringList()) << "message box"; });
    Prompts::Instance().SetMode(Prompts::Mode::Scripted);
}

TEST_F(AccessibilityTest, TabWalksTheGridThenTheKeyPanelThenTheRfidGroup) {
    QTest::mouseClick(dialog->grid(), Qt::LeftButton, {}, KeyCentre(5));
    ASSERT_TRUE(dialog->grid()->hasFocus()) << "a click gives the grid the focus";
    const QStringList forward = {"1018", "1027", "1023", "1026", "1024", "1025",
                                 "1016", "1012", "1009", "1020", "1051", "1037",
                                 "1039", "1035", "1038", "1041", "1042", "clientSurface"};
    QStringList seen;
    for (int i = 0; i < forward.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << FocusName();
    }
    EXPECT_EQ(seen, forward);

    QStringList backward = forward;
    std::reverse(backward.begin(), backward.end());
    backward.removeFirst();
    backward << "clientSurface";
    seen.clear();
    for (int i = 0; i < backward.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        seen << FocusName();
    }
    EXPECT_EQ(seen, backward);
    EXPECT_EQ(dialog->layout.currentKey, 5) << "Tab moves the focus, not the selection";
}

TEST_F(AccessibilityTest, TheCurrentKeyShowsWhenTheGridHasTheFocus) {
    KeyGridWidget* grid = dialog->grid();
    const zr4700::GridPoint origin = zr4700::KeyOrigin(1);
    const QRect key(origin.x, origin.y, zr4700::kKeyUnit, zr4700::kKeyUnit);
    control<QLineEdit>(1009)->setFocus();
    const QImage without = grid->grab(key).toImage();
    grid->setFocus();
    const QImage with = grid->grab(key).toImage();
    EXPECT_NE(with, without);
}

// A screen reader sees one focused object: the current key while the grid has the focus, the
// other control while that has it (the key is then only the selected one).
TEST_F(AccessibilityTest, TheCurrentKeyIsFocusedOnlyWhileTheGridHasTheFocus) {
    QTest::mouseClick(dialog->grid(), Qt::LeftButton, {}, KeyCentre(5));
    ASSERT_TRUE(dialog->grid()->hasFocus());
    auto* surface = dynamic_cast<KeyGridAccessibleInterface*>(
        QAccessible::queryAccessibleInterface(dialog->grid()));
    ASSERT_NE(surface, nullptr);
    QAccessibleInterface* key5 = surface->Key(5);
    ASSERT_NE(key5, nullptr);
    EXPECT_TRUE(key5->state().focused);
    EXPECT_TRUE(key5->state().selected);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* other = QApplication::focusWidget();
    ASSERT_NE(other, dialog->grid());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(other)->state().focused);
    EXPECT_FALSE(key5->state().focused) << "a second focused object";
    EXPECT_TRUE(key5->state().selected);
    EXPECT_FALSE(surface->Key(6)->state().selected);
}

TEST_F(AccessibilityTest, EveryMenuCommandHasAMnemonicOrAShortcut) {
    // The empty first item and the recent files' paths are shown as they are.
    const auto exempt = [](const QAction* action) {
        const int command = action->data().toInt();
        return action->isSeparator() || command == 65535 ||
               (command >= zr4700::kCmdRecentFirst && command <= zr4700::kCmdRecentLast);
    };
    std::function<void(const QList<QAction*>&)> check = [&](const QList<QAction*>& actions) {
        for (const QAction* action : actions) {
            if (exempt(action))
                continue;
            EXPECT_TRUE(QKeySequence::mnemonic(action->text()).count() > 0 ||
                        !action->shortcut().isEmpty())
                << action->text().toStdString();
            if (action->menu())
                check(action->menu()->actions());
        }
    };
    check(dialog->mainMenu->actions());
}
