#pragma once
// Keyboard-wide settings and the RFID reader's settings that travel with a layout.

#include <cstdint>

namespace zr4700 {

struct KeyboardSettings {
    int32_t keysType = 0;       // 0 Make-Break SCAN, 1 Typematic SCAN
    int32_t keyBeep = 0;        // 0 off, 1 on
    int32_t keyDelay = 2;       // 0..3
    int32_t typematicRate = 11; // 0..31
    int32_t keysPause = 3;      // 1..255 ms
    bool operator==(const KeyboardSettings&) const = default;
};

struct RfidSettings {
    uint8_t prefix = 0;
    int32_t prefixExtended = 0;
    uint8_t digitsCount = 9; // 1..13 through the spin; a file can bring 0..13
    uint8_t suffix = 0;
    int32_t suffixExtended = 0;
    int32_t digitsNum = 1;
    bool operator==(const RfidSettings&) const = default;
};

} // namespace zr4700
