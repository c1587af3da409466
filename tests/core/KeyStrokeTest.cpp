#include "core/scancodes/KeyStroke.h"
#include "core/scancodes/ScanCodeTables.h"

#include <gtest/gtest.h>

#include <ostream>

#include <set>
#include <vector>

namespace zr4700 {

// Readable failure messages.
static void PrintTo(const KeyStroke& stroke, std::ostream* os) {
    *os << "{vk " << stroke.virtualKey << ", scan 0x" << std::hex << int(stroke.scanCode)
        << std::dec << (stroke.extended ? ", extended}" : "}");
}

static void PrintTo(const CodeEntry& entry, std::ostream* os) {
    *os << "{" << entry.code << ", \"" << entry.name << "\"}";
}

namespace {

// evdev codes of linux/input-event-codes.h and what Windows reports for the same key.
struct EvdevRow {
    std::uint32_t evdev;
    const char* key;
    KeyStroke stroke;
};

const EvdevRow extendedAndSpecialRows[] = {
    {69, "NUMLOCK", {144, 0x45, true}}, {96, "KPENTER", {0, 0x1C, true}},
    {97, "RIGHTCTRL", {0, 0x1D, true}}, {98, "KPSLASH", {0, 0x35, true}},
    {99, "SYSRQ", {0, 0x37, true}},     {100, "RIGHTALT", {0, 0x38, true}},
    {102, "HOME", {0, 0x47, true}},     {103, "UP", {0, 0x48, true}},
    {104, "PAGEUP", {0, 0x49, true}},   {105, "LEFT", {0, 0x4B, true}},
    {106, "RIGHT", {0, 0x4D, true}},    {107, "END", {0, 0x4F, true}},
    {108, "DOWN", {0, 0x50, true}},     {109, "PAGEDOWN", {0, 0x51, true}},
    {110, "INSERT", {0, 0x52, true}},   {111, "DELETE", {0, 0x53, true}},
    {125, "LEFTMETA", {0, 0x5B, true}}, {126, "RIGHTMETA", {0, 0x5C, true}},
    {127, "COMPOSE", {0, 0x5D, true}},
};

TEST(KeyStrokeFromEvdev, BaseKeysAreTheirOwnSet1Codes) {
    for (std::uint32_t code = 1; code <= 88; ++code) {
        if (code == 69) {
            continue; // Num Lock, below
        }
        SCOPED_TRACE(code);
        const std::optional<KeyStroke> stroke = KeyStrokeFromEvdev(code);
        ASSERT_TRUE(stroke.has_value());
        EXPECT_EQ(*stroke, (KeyStroke{0, static_cast<std::uint8_t>(code), false}));
    }
}

TEST(KeyStrokeFromEvdev, ExtendedAndSpecialKeys) {
    for (const EvdevRow& row : extendedAndSpecialRows) {
        SCOPED_TRACE(row.key);
        const std::optional<KeyStroke> stroke = KeyStrokeFromEvdev(row.evdev);
        ASSERT_TRUE(stroke.has_value());
        EXPECT_EQ(*stroke, row.stroke);
    }
}

TEST(KeyStrokeFromEvdev, PauseCarriesItsVirtualKey) {
    const std::optional<KeyStroke> stroke = KeyStrokeFromEvdev(119);
    ASSERT_TRUE(stroke.has_value());
    EXPECT_EQ(stroke->virtualKey, 19u);
    EXPECT_FALSE(stroke->extended);
}

TEST(KeyStrokeFromEvdev, KeyWithoutSet1CodeIsUnknown) {
    std::set<std::uint32_t> mapped = {119};
    for (std::uint32_t code = 1; code <= 88; ++code) {
        mapped.insert(code);
    }
    for (const EvdevRow& row : extendedAndSpecialRows) {
        mapped.insert(row.evdev);
    }
    for (std::uint32_t code = 0; code <= 0x300; ++code) {
        if (mapped.count(code) == 0) {
            EXPECT_FALSE(KeyStrokeFromEvdev(code).has_value()) << code;
        }
    }
    EXPECT_FALSE(KeyStrokeFromEvdev(0xFFFFFFFFu).has_value());
}

// The stroke layer and the tables together give what a capture stores.

std::vector<CodeEntry> Stored(std::uint32_t evdev) {
    const std::optional<KeyStroke> stroke = KeyStrokeFromEvdev(evdev);
    if (!stroke) {
        return {{-1, "no stroke"}};
    }
    return TranslateKeyStroke(stroke->virtualKey, stroke->scanCode, stroke->extended);
}

std::vector<CodeEntry> Entries(std::initializer_list<CodeEntry> entries) {
    return std::vector<CodeEntry>(entries);
}

TEST(KeyStrokeFromEvdev, WhatCaptureStoresForEveryMappedKey) {
    EXPECT_EQ(Stored(30), Entries({{28, "A"}}));                              // A
    EXPECT_EQ(Stored(15), Entries({{13, "Tab"}}));                            // TAB
    EXPECT_EQ(Stored(28), Entries({{90, "Enter"}}));                          // ENTER
    EXPECT_EQ(Stored(1), Entries({{118, "Esc"}}));                            // ESC
    EXPECT_EQ(Stored(56), Entries({{17, "Alt_left"}}));                       // LEFTALT
    EXPECT_EQ(Stored(68), Entries({{9, "F10"}}));                             // F10
    EXPECT_EQ(Stored(69), Entries({{119, "Num_lock"}}));                      // NUMLOCK
    EXPECT_TRUE(Stored(119).empty());                                         // PAUSE
    EXPECT_EQ(Stored(96), Entries({{224, "extended"}, {90, "Enter_num"}}));   // KPENTER
    EXPECT_EQ(Stored(97), Entries({{224, "extended"}, {20, "Ctrl_right"}}));  // RIGHTCTRL
    EXPECT_EQ(Stored(98), Entries({{224, "extended"}, {74, "/_num"}}));       // KPSLASH
    EXPECT_EQ(Stored(99), Entries({{224, "extended"}, {124, "F11"}}));        // SYSRQ
    EXPECT_EQ(Stored(100), Entries({{224, "extended"}, {17, "Alt_right"}}));  // RIGHTALT
    EXPECT_EQ(Stored(102), Entries({{224, "extended"}, {108, "Home"}}));      // HOME
    EXPECT_EQ(Stored(103), Entries({{224, "extended"}, {117, "Up"}}));        // UP
    EXPECT_EQ(Stored(104), Entries({{224, "extended"}, {125, "Page_up"}}));   // PAGEUP
    EXPECT_EQ(Stored(105), Entries({{224, "extended"}, {107, "Left"}}));      // LEFT
    EXPECT_EQ(Stored(106), Entries({{224, "extended"}, {116, "Right"}}));     // RIGHT
    EXPECT_EQ(Stored(107), Entries({{224, "extended"}, {105, "End"}}));       // END
    EXPECT_EQ(Stored(108), Entries({{224, "extended"}, {114, "Down"}}));      // DOWN
    EXPECT_EQ(Stored(109), Entries({{224, "extended"}, {122, "Page_down"}})); // PAGEDOWN
    EXPECT_EQ(Stored(110), Entries({{224, "extended"}, {112, "Insert"}}));    // INSERT
    EXPECT_EQ(Stored(111), Entries({{224, "extended"}, {113, "Delete"}}));    // DELETE
    EXPECT_EQ(Stored(125), Entries({{224, "extended"}, {31, "Win_left"}}));   // LEFTMETA
    EXPECT_EQ(Stored(126), Entries({{224, "extended"}, {39, "Win_right"}}));  // RIGHTMETA
    EXPECT_EQ(Stored(127), Entries({{224, "extended"}, {47, "Win_Pop_up"}})); // COMPOSE
    EXPECT_EQ(Stored(86), Entries({{0, ""}}));                                // 102ND
    EXPECT_EQ(Stored(87), Entries({{120, "F11"}}));                           // F11
    EXPECT_EQ(Stored(88), Entries({{7, "F12"}}));                             // F12
}

} // namespace
} // namespace zr4700

namespace zr4700 {
namespace {

TEST(KeyStrokeFromKeyData, TakesTheScanCodeAndTheExtendedBitOfTheKeyData) {
    struct Case {
        std::uint32_t virtualKey;
        std::uint32_t keyData; // as lParam of a key-down
        KeyStroke stroke;
    };
    const Case cases[] = {
        {'A', 0x001E0001, {'A', 0x1E, false}},
        {0x11, 0x011D0001, {0x11, 0x1D, true}},  // right Ctrl
        {0x26, 0x01480001, {0x26, 0x48, true}},  // up arrow
        {0x12, 0x20380001, {0x12, 0x38, false}}, // Alt, with the context bit
        {0x41, 0x401E0001, {0x41, 0x1E, false}}, // an auto-repeat
        {0x13, 0x00450001, {0x13, 0x45, false}}, // Pause
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyStrokeFromKeyData(c.virtualKey, c.keyData), c.stroke) << c.keyData;
}

} // namespace
} // namespace zr4700
