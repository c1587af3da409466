// A key stroke of the PC keyboard as the scan-code tables take it: Windows virtual-key code,
// set-1 scan code and extended flag. Windows reports this triple directly; on Linux it is
// rebuilt from the kernel's evdev key code.
#pragma once

#include <cstdint>
#include <optional>

namespace zr4700 {

struct KeyStroke {
    std::uint32_t virtualKey;
    std::uint8_t scanCode;
    bool extended;

    bool operator==(const KeyStroke&) const = default;
};

// Maps a Linux evdev key code (linux/input-event-codes.h) to the stroke Windows would report for
// the same key. Only the virtual keys that matter to TranslateKeyStroke (Pause, Num Lock) are
// filled in; other keys carry virtual key 0. Keys without a set-1 code give nullopt.
std::optional<KeyStroke> KeyStrokeFromEvdev(std::uint32_t evdevCode);

// The stroke of a Windows key-down message (WM_KEYDOWN, WM_SYSKEYDOWN): the virtual key is
// wParam, the set-1 scan code bits 16-23 of the key data (lParam), the extended flag bit 24.
KeyStroke KeyStrokeFromKeyData(std::uint32_t virtualKey, std::uint32_t keyData);

} // namespace zr4700
