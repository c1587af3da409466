#pragma once
// Helpers for the editor's layout file tests: random and sample layouts, temporary directories
// and line-wise views of file texts.

#include "core/files/LayoutFileEditor.h"
#include "core/model/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

namespace zr4700 {
// Variants print as their file-type number in test messages.
inline std::ostream& operator<<(std::ostream& out, FileVariant variant) {
    return out << "variant " << static_cast<int>(variant);
}
} // namespace zr4700
#include <vector>

namespace zr4700::testing {

// The lines of a file text, each without its CR LF. Fails the test when a line break is not
// CR LF or the text does not end with one.
inline std::vector<std::string> CrLfLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            ADD_FAILURE() << "text does not end with CR LF";
            break;
        }
        const std::string line(text.substr(start, end - start));
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

// A name the file carries unchanged: single-byte characters without NUL, line breaks and the
// field separators ';' and ','.
inline std::string RandomName(std::mt19937& random) {
    std::uniform_int_distribution<int> length(0, 102);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string name;
    const int count = length(random);
    while (static_cast<int>(name.size()) < count) {
        const char c = static_cast<char>(byte(random));
        if (c != '\r' && c != '\n' && c != ';' && c != ',')
            name += c;
    }
    return name;
}

// A layout with every record, setting and RFID value drawn at random inside the ranges the
// editor produces (flag bytes use all eight bits, of which only the low four travel).
inline std::unique_ptr<Layout> RandomLayout(std::mt19937& random, int keyCount) {
    auto layout = std::make_unique<Layout>();
    auto draw = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    layout->keyCount = keyCount;
    for (int k = 1; k <= kMaxKeys; ++k) {
        KeyRecord& record = layout->key(k);
        record.number = k;
        const int used = draw(0, kCodeSlots);
        for (int i = 0; i < kCodeSlots; ++i)
            record.codes[static_cast<std::size_t>(i)] = i < used ? draw(0, 255) : 0;
        record.flags = static_cast<uint8_t>(draw(0, 255));
        record.groupNumber = draw(0, 255);
        record.name = RandomName(random);
    }
    layout->settings.keysType = draw(0, 1);
    layout->settings.keyBeep = draw(0, 1);
    layout->settings.keyDelay = draw(0, 3);
    layout->settings.typematicRate = draw(0, 31);
    layout->settings.keysPause = draw(1, 255);
    layout->rfid.prefix = static_cast<uint8_t>(draw(0, 255));
    layout->rfid.suffix = static_cast<uint8_t>(draw(0, 255));
    layout->rfid.prefixExtended = draw(0, 1);
    layout->rfid.suffixExtended = draw(0, 1);
    layout->rfid.digitsNum = draw(0, 1);
    layout->rfid.digitsCount = static_cast<uint8_t>(draw(0, 13));
    return layout;
}

// A hand-made layout for the example files: letters, a shortcut, an extended key, a double and
// a quad cell, the three modes, a name with separators, settings and RFID off their defaults.
inline std::unique_ptr<Layout> SampleLayout(int keyCount) {
    auto layout = std::make_unique<Layout>();
    layout->keyCount = keyCount;
    auto set = [&layout](int k, std::vector<int> codes, uint8_t flags, int group,
                         std::string name) {
        KeyRecord& record = layout->key(k);
        record.codes = {};
        for (std::size_t i = 0; i < codes.size(); ++i)
            record.codes[i] = codes[i];
        record.flags = flags;
        record.groupNumber = group;
        record.name = std::move(name);
    };
    set(1, {0x1C}, 0x02, 0, "A");
    set(2, {0x14, 0x21, 0xF0, 0x21, 0xF0, 0x14}, 0x02, 0, "Ctrl+C");
    set(3, {0xE0, 0x6C, 0xE0, 0xF0, 0x6C}, 0x06, 0, "Home");
    set(4, {0x5A}, 0x0A, 0, "Enter; then more, words");
    for (int k : {9, 10})
        set(k, {0x29}, 0x03, 1, "Space bar");
    for (int k : {17, 18, 25, 26})
        set(k,
            {0x16, 0x1E, 0x26, 0x25, 0x2E, 0x36, 0x3D, 0x3E, 0x46, 0x45, 0x16, 0x1E, 0x26, 0x25,
             0x2E, 0x36},
            0x03, 2, "Digits 1-9 0 1-6");
    set(56, {0x76}, 0x02, 0, "Esc");
    if (keyCount == kMaxKeys) {
        set(57, {0x05}, 0x02, 0, "F1");
        set(58, {0x12, 0x1C, 0xF0, 0x1C, 0xF0, 0x12}, 0x06, 0, "Shift+A");
        for (int k : {60, 68})
            set(k, {0xE0, 0x75}, 0x01, 3, "Up");
        set(112, {0x66}, 0x0A, 0, "Backspace");
    }
    layout->settings.keysType = 1;
    layout->settings.keyBeep = 1;
    layout->settings.keyDelay = 1;
    layout->settings.typematicRate = 20;
    layout->settings.keysPause = 7;
    layout->rfid.prefix = 0x5A;
    layout->rfid.prefixExtended = 1;
    layout->rfid.suffix = 0x0D;
    layout->rfid.digitsCount = 10;
    layout->rfid.digitsNum = 0;
    return layout;
}

// A fresh directory under the system's temporary directory, removed with everything in it.
class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        std::random_device seed;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("zr4700-layoutfile-" + std::to_string(seed()));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~TemporaryDirectory() {
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path_, error);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Names of everything in the directory.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace zr4700::testing
