#include "qt/scancodes/KeyStrokeQt.h"

#include <QKeyEvent>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <ostream>

namespace zr4700 {

// Readable failure messages.
static void PrintTo(const KeyStroke& stroke, std::ostream* os) {
    *os << "{vk " << stroke.virtualKey << ", scan 0x" << std::hex << int(stroke.scanCode)
        << std::dec << (stroke.extended ? ", extended}" : "}");
}

namespace {

QKeyEvent Press(int key, quint32 nativeScanCode, quint32 nativeVirtualKey,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
                bool autoRepeat = false) {
    return QKeyEvent(QEvent::KeyPress, key, modifiers, nativeScanCode, nativeVirtualKey, 0, text,
                     autoRepeat);
}

#if defined(Q_OS_WIN)

// Windows: the native codes are the key-down message's virtual key and its scan code with the
// extended flag in bit 8.

TEST(KeyStrokeFromEvent, PlainKey) {
    const QKeyEvent event = Press(Qt::Key_A, 0x1E, 0x41, Qt::NoModifier, "a");
    EXPECT_EQ(KeyStrokeFromEvent(event), (KeyStroke{0x41, 0x1E, false}));
}

TEST(KeyStrokeFromEvent, ExtendedKey) {
    const QKeyEvent event = Press(Qt::Key_Control, 0x11D, 0x11, Qt::ControlModifier);
    EXPECT_EQ(KeyStrokeFromEvent(event), (KeyStroke{0x11, 0x1D, true}));
}

TEST(KeyStrokeFromEvent, NumLockAndPause) {
    EXPECT_EQ(KeyStrokeFromEvent(Press(Qt::Key_NumLock, 0x145, 144)), (KeyStroke{144, 0x45, true}));
    EXPECT_EQ(KeyStrokeFromEvent(Press(Qt::Key_Pause, 0x45, 19)), (KeyStroke{19, 0x45, false}));
}

#else

// Linux: the native scan code is the X11/xkb keycode, i.e. the evdev code plus 8. The native
// virtual key (an X keysym) and the Qt key play no part.

struct EventRow {
    const char* name;
    int qtKey;
    quint32 evdev;
    KeyStroke stroke;
};

const EventRow eventRows[] = {
    {"Esc", Qt::Key_Escape, 1, {0, 0x01, false}},
    {"1", Qt::Key_1, 2, {0, 0x02, false}},
    {"Backspace", Qt::Key_Backspace, 14, {0, 0x0E, false}},
    {"Tab", Qt::Key_Tab, 15, {0, 0x0F, false}},
    {"Enter", Qt::Key_Return, 28, {0, 0x1C, false}},
    {"Ctrl_left", Qt::Key_Control, 29, {0, 0x1D, false}},
    {"A", Qt::Key_A, 30, {0, 0x1E, false}},
    {"Shift_left", Qt::Key_Shift, 42, {0, 0x2A, false}},
    {"Shift_right", Qt::Key_Shift, 54, {0, 0x36, false}},
    {"*_num", Qt::Key_Asterisk, 55, {0, 0x37, false}},
    {"Alt_left", Qt::Key_Alt, 56, {0, 0x38, false}},
    {"Space", Qt::Key_Space, 57, {0, 0x39, false}},
    {"F10", Qt::Key_F10, 68, {0, 0x44, false}},
    {"Num_lock", Qt::Key_NumLock, 69, {144, 0x45, true}},
    {"Scroll_Lock", Qt::Key_ScrollLock, 70, {0, 0x46, false}},
    {"7_num", Qt::Key_7, 71, {0, 0x47, false}},
    {"._num", Qt::Key_Period, 83, {0, 0x53, false}},
    {"102nd", Qt::Key_Less, 86, {0, 0x56, false}},
    {"F11", Qt::Key_F11, 87, {0, 0x57, false}},
    {"F12", Qt::Key_F12, 88, {0, 0x58, false}},
    {"Enter_num", Qt::Key_Enter, 96, {0, 0x1C, true}},
    {"Ctrl_right", Qt::Key_Control, 97, {0, 0x1D, true}},
    {"/_num", Qt::Key_Slash, 98, {0, 0x35, true}},
    {"Print", Qt::Key_Print, 99, {0, 0x37, true}},
    {"Alt_right", Qt::Key_AltGr, 100, {0, 0x38, true}},
    {"Home", Qt::Key_Home, 102, {0, 0x47, true}},
    {"Up", Qt::Key_Up, 103, {0, 0x48, true}},
    {"Page_up", Qt::Key_PageUp, 104, {0, 0x49, true}},
    {"Left", Qt::Key_Left, 105, {0, 0x4B, true}},
    {"Right", Qt::Key_Right, 106, {0, 0x4D, true}},
    {"End", Qt::Key_End, 107, {0, 0x4F, true}},
    {"Down", Qt::Key_Down, 108, {0, 0x50, true}},
    {"Page_down", Qt::Key_PageDown, 109, {0, 0x51, true}},
    {"Insert", Qt::Key_Insert, 110, {0, 0x52, true}},
    {"Delete", Qt::Key_Delete, 111, {0, 0x53, true}},
    {"Pause", Qt::Key_Pause, 119, {19, 0x45, false}},
    {"Win_left", Qt::Key_Meta, 125, {0, 0x5B, true}},
    {"Win_right", Qt::Key_Meta, 126, {0, 0x5C, true}},
    {"Win_Pop_up", Qt::Key_Menu, 127, {0, 0x5D, true}},
};

TEST(KeyStrokeFromEvent, EveryKeyFromItsNativeScanCode) {
    for (const EventRow& row : eventRows) {
        SCOPED_TRACE(row.name);
        const QKeyEvent event = Press(row.qtKey, row.evdev + 8, 0xFFFF);
        EXPECT_EQ(KeyStrokeFromEvent(event), std::optional<KeyStroke>(row.stroke));
    }
}

TEST(KeyStrokeFromEvent, EveryBaseKey) {
    for (quint32 evdev = 1; evdev <= 88; ++evdev) {
        if (evdev == 69) {
            continue; // Num Lock carries its virtual key, see the table above
        }
        SCOPED_TRACE(evdev);
        const QKeyEvent event = Press(Qt::Key_unknown, evdev + 8, 0);
        EXPECT_EQ(KeyStrokeFromEvent(event),
                  std::optional<KeyStroke>(KeyStroke{0, static_cast<std::uint8_t>(evdev), false}));
    }
}

TEST(KeyStrokeFromEvent, ModifiersTextAndQtKeyDoNotMatter) {
    // Shift+A on any layout: the physical key decides.
    const QKeyEvent shifted = Press(Qt::Key_Q, 30 + 8, 0x51, Qt::ShiftModifier, "Q");
    EXPECT_EQ(KeyStrokeFromEvent(shifted), (KeyStroke{0, 0x1E, false}));
    const QKeyEvent withAlt = Press(Qt::Key_Tab, 15 + 8, 0, Qt::AltModifier);
    EXPECT_EQ(KeyStrokeFromEvent(withAlt), (KeyStroke{0, 0x0F, false}));
}

TEST(KeyStrokeFromEvent, AutoRepeatGivesTheSameStroke) {
    const QKeyEvent repeat = Press(Qt::Key_A, 30 + 8, 0, Qt::NoModifier, "a", true);
    ASSERT_TRUE(repeat.isAutoRepeat());
    EXPECT_EQ(KeyStrokeFromEvent(repeat), (KeyStroke{0, 0x1E, false}));
}

TEST(KeyStrokeFromEvent, EventWithoutNativeCodeGivesNothing) {
    // What QTest::keyClick sends: no native scan code at all.
    for (quint32 native = 0; native <= 8; ++native) {
        EXPECT_EQ(KeyStrokeFromEvent(Press(Qt::Key_A, native, 0)), std::nullopt) << native;
    }
}

TEST(KeyStrokeFromEvent, KeyWithoutSet1CodeGivesNothing) {
    EXPECT_EQ(KeyStrokeFromEvent(Press(Qt::Key_VolumeUp, 115 + 8, 0)), std::nullopt);
    EXPECT_EQ(KeyStrokeFromEvent(Press(Qt::Key_F13, 183 + 8, 0)), std::nullopt);
}

#endif

} // namespace
} // namespace zr4700
