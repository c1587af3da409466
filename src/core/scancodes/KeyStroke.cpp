#include "core/scancodes/KeyStroke.h"

#include "core/scancodes/ScanCodeTables.h"

namespace zr4700 {

namespace {

// evdev codes of the keys handled apart from the plain block.
constexpr std::uint32_t evdevNumLock = 69;
constexpr std::uint32_t evdevLastBaseKey = 88; // F12
constexpr std::uint32_t evdevPause = 119;

struct ExtendedKey {
    std::uint32_t evdevCode;
    std::uint8_t set1Code;
};

// Keys that a PC keyboard sends with the E0 prefix in set 1. evdev numbers them apart from the
// plain block, so their set-1 code has to be looked up.
constexpr ExtendedKey extendedKeys[] = {
    {96, 0x1C},  // KPENTER
    {97, 0x1D},  // RIGHTCTRL
    {98, 0x35},  // KPSLASH
    {99, 0x37},  // SYSRQ (Print Screen)
    {100, 0x38}, // RIGHTALT
    {102, 0x47}, // HOME
    {103, 0x48}, // UP
    {104, 0x49}, // PAGEUP
    {105, 0x4B}, // LEFT
    {106, 0x4D}, // RIGHT
    {107, 0x4F}, // END
    {108, 0x50}, // DOWN
    {109, 0x51}, // PAGEDOWN
    {110, 0x52}, // INSERT
    {111, 0x53}, // DELETE
    {125, 0x5B}, // LEFTMETA
    {126, 0x5C}, // RIGHTMETA
    {127, 0x5D}, // COMPOSE (menu key)
};

} // namespace

std::optional<KeyStroke> KeyStrokeFromEvdev(std::uint32_t evdevCode) {
    if (evdevCode == evdevNumLock) {
        // Windows reports Num Lock with the extended flag set; keep that so both platforms hand
        // TranslateKeyStroke the same stroke.
        return KeyStroke{virtualKeyNumLock, 0x45, true};
    }
    if (evdevCode == evdevPause) {
        // Pause has no set-1 make code of its own (it sends E1 1D 45); Windows names it by its
        // virtual key, which is all TranslateKeyStroke looks at.
        return KeyStroke{virtualKeyPause, 0x45, false};
    }
    if (evdevCode >= 1 && evdevCode <= evdevLastBaseKey) {
        // The kernel numbers the plain keys by their set-1 make codes.
        return KeyStroke{0, static_cast<std::uint8_t>(evdevCode), false};
    }
    for (const ExtendedKey& key : extendedKeys) {
        if (key.evdevCode == evdevCode) {
            return KeyStroke{0, key.set1Code, true};
        }
    }
    return std::nullopt;
}

KeyStroke KeyStrokeFromKeyData(std::uint32_t virtualKey, std::uint32_t keyData) {
    return {virtualKey, static_cast<std::uint8_t>((keyData >> 16) & 0xFF),
            ((keyData >> 24) & 1) != 0};
}

} // namespace zr4700
