#pragma once

// Helpers for the engine tests: layout files in the editor's exact format, their expected
// transfer images worked out independently of the parser, temporary files and environment.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace zr4700::test {

struct KeyDef {
    std::vector<int> codes; // up to 7 or 16
    int flags = 2;
    int groupNumber = 0;
    std::string name; // empty: KEY and the number
};

struct LayoutSpec {
    int layoutCode = 57;
    int keysType = 0, keyBeep = 0, keyDelay = 2, typematicRate = 11;
    int rfidFlags = 144, prefix = 0, suffix = 0, keysPause = 3;
    std::map<int, KeyDef> keys; // programmed keys; every other line is a blank key
};

inline bool IsScan16(int layoutCode) {
    return layoutCode == 57 || layoutCode == 113;
}

// The header line and the 112 key lines, each ending in CR LF, as the editor writes them.
inline std::string BuildLayoutText(const LayoutSpec& spec) {
    std::ostringstream out;
    out << spec.layoutCode << "; " << spec.keysType << "; " << spec.keyBeep << "; " << spec.keyDelay
        << "; " << spec.typematicRate;
    if (IsScan16(spec.layoutCode)) {
        out << "; " << spec.rfidFlags << "; " << spec.prefix << "; " << spec.suffix << "; "
            << spec.keysPause;
    }
    out << "\r\n";
    const int codeCount = IsScan16(spec.layoutCode) ? 16 : 7;
    for (int k = 1; k <= 112; ++k) {
        KeyDef key;
        auto found = spec.keys.find(k);
        if (found != spec.keys.end()) {
            key = found->second;
        }
        out << k << "; ";
        for (int i = 0; i < codeCount; ++i) {
            out << (i ? ", " : "") << (i < static_cast<int>(key.codes.size()) ? key.codes[i] : 0);
        }
        out << "; " << (key.flags & 0x0F) << ";";
        if (IsScan16(spec.layoutCode)) {
            out << key.groupNumber << ";";
        }
        out << (key.name.empty() ? "KEY" + std::to_string(k) : key.name) << "\r\n";
    }
    return out.str();
}

// The image the keyboard must receive for spec, in the order it receives it (the halves of a
// 112-key image already exchanged when keyboardOrder is set).
inline std::vector<std::uint8_t> ExpectedImage(const LayoutSpec& spec, bool keyboardOrder) {
    const bool scan16 = IsScan16(spec.layoutCode);
    const int keyCount = spec.layoutCode & ~1;
    const int size = scan16 ? (keyCount == 56 ? 1014 : 2022) : 450;
    const int slotSize = scan16 ? 18 : (keyCount == 56 ? 8 : 4);
    const int lead = scan16 ? 2 : 1;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(size), 0);
    for (int k = 1; k <= keyCount; ++k) {
        KeyDef key;
        auto found = spec.keys.find(k);
        if (found != spec.keys.end()) {
            key = found->second;
        }
        std::uint8_t* slot = &image[static_cast<std::size_t>((k - 1) * slotSize)];
        slot[0] = static_cast<std::uint8_t>(key.flags & 0x0F);
        if (scan16) {
            slot[1] = static_cast<std::uint8_t>(key.groupNumber);
        }
        for (int i = 0; i < slotSize - lead && i < static_cast<int>(key.codes.size()); ++i) {
            slot[lead + i] = static_cast<std::uint8_t>(key.codes[i]);
        }
    }
    const int trailer = scan16 ? size - 6 : 448;
    image[trailer] = static_cast<std::uint8_t>(spec.keyDelay * 32 + spec.typematicRate);
    image[trailer + 1] = static_cast<std::uint8_t>(spec.keysType * 2 + spec.keyBeep);
    if (scan16) {
        image[trailer + 2] = static_cast<std::uint8_t>(spec.rfidFlags);
        image[trailer + 3] = static_cast<std::uint8_t>(spec.prefix);
        image[trailer + 4] = static_cast<std::uint8_t>(spec.suffix);
        image[trailer + 5] = static_cast<std::uint8_t>(spec.keysPause);
    }
    if (keyboardOrder && keyCount == 112) {
        const int half = 56 * slotSize;
        for (int i = 0; i < half; ++i) {
            std::swap(image[static_cast<std::size_t>(i)],
                      image[static_cast<std::size_t>(half + i)]);
        }
    }
    return image;
}

// A few programmed keys of every kind: a double key, a key with a full code list, extended
// codes, a key in the right block.
inline LayoutSpec SampleLayout(int layoutCode) {
    LayoutSpec spec;
    spec.layoutCode = layoutCode;
    const int codeCount = IsScan16(layoutCode) ? 16 : 7;
    std::vector<int> full;
    for (int i = 0; i < codeCount; ++i) {
        full.push_back(0x15 + i);
    }
    spec.keys[1] = {{0x1C, 0x32}, 2, 0, "AB"};
    spec.keys[2] = {{224, 0x75}, 6, 0, "Up, arrow; extended"};
    spec.keys[9] = {{0x1C}, 1, 1, "KEY9"};
    spec.keys[10] = {{0x1C}, 1, 1, "KEY10"};
    spec.keys[56] = {full, 10, 0, "Full"};
    if ((layoutCode & ~1) == 112) {
        spec.keys[57] = {{0x45, 0x16}, 2, 0, "1234"};
        spec.keys[112] = {full, 14, 3, "Last"};
    }
    return spec;
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A fresh directory removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zr4700-test-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data())) {
            path_ = made;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    std::string write(const std::string& name, const std::string& bytes) const {
        WriteFileBytes(file(name), bytes);
        return file(name).string();
    }

  private:
    std::filesystem::path path_;
};

// Sets (or, with nullopt, removes) an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    std::string name_;
    std::optional<std::string> old_;
};

} // namespace zr4700::test

namespace zr4700::test {

// The layout bundled as resources/examples/example-16scan-56.txt.
inline LayoutSpec ExampleLayout() {
    LayoutSpec spec;
    spec.layoutCode = 57;
    spec.keys[1] = {{0x33, 0x24, 0x4B, 0x4B, 0x44}, 2, 0, "Hello"};
    spec.keys[2] = {{0x5A}, 2, 0, "Enter"};
    spec.keys[3] = {{0x14, 0x21, 0xF0, 0x21, 0xF0, 0x14}, 1, 1, "Copy"};
    spec.keys[4] = {{0x14, 0x21, 0xF0, 0x21, 0xF0, 0x14}, 1, 1, "Copy"};
    spec.keys[8] = {{224, 0x75}, 6, 0, "Up arrow"};
    spec.keys[49] = {{0x16, 0x1E, 0x26, 0x25, 0x2E}, 2, 0, "Digits"};
    return spec;
}

} // namespace zr4700::test
