#include "qt/scancodes/KeyStrokeQt.h"

#include <QKeyEvent>
#include <QtGlobal>

namespace zr4700 {

std::optional<KeyStroke> KeyStrokeFromEvent(const QKeyEvent& event) {
#if defined(Q_OS_WIN)
    // Qt on Windows passes the key-down message's data through: the native virtual key is the
    // message's virtual-key code, and the native scan code keeps bits 16-24 of its key data,
    // i.e. the set-1 scan code in the low byte and the extended flag in bit 8.
    const quint32 native = event.nativeScanCode();
    return KeyStroke{event.nativeVirtualKey(), static_cast<std::uint8_t>(native & 0xFF),
                     (native & 0x100) != 0};
#else
    // X11 keycodes (and the xkb keycodes that Wayland and the offscreen tests use) are the
    // kernel's evdev key codes plus 8, because X reserves keycodes 0..7. The evdev code then
    // tells the physical key, whatever the keyboard layout or modifiers.
    constexpr quint32 xkbKeycodeOffset = 8;
    const quint32 native = event.nativeScanCode();
    if (native <= xkbKeycodeOffset) {
        return std::nullopt;
    }
    return KeyStrokeFromEvdev(native - xkbKeycodeOffset);
#endif
}

} // namespace zr4700
