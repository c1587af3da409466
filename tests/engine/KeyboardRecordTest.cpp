#include "engine/KeyboardRecord.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace zr4700 {
namespace {

namespace fs = std::filesystem;

KeyboardRecord SampleRecord(const std::string& device) {
    KeyboardRecord record;
    record.device = device;
    record.imageSha256 = std::string(64, 'b');
    record.keyboardType = 2;
    record.layoutCode = 113;
    record.bytes = 2022;
    record.layoutFile = "/shops/0042/layout \"A\".txt";
    record.programmedAt = "2025-01-31T12:00:00Z";
    return record;
}

TEST(KeyboardRecord, StateDirectory) {
    const std::string home = "/home/till";
    const fs::path forUser =
        geteuid() == 0 ? fs::path("/var/lib/zr4700") : fs::path(home) / ".local/state/zr4700";
    const std::vector<std::pair<std::optional<std::string>, fs::path>> table = {
        {"/srv/state", "/srv/state/zr4700"},
        {std::nullopt, forUser},
        {"", forUser},
        {"relative/state", forUser}, // a relative XDG_STATE_HOME is ignored
    };
    test::ScopedEnv homeVariable("HOME", home);
    for (const auto& [xdg, expected] : table) {
        test::ScopedEnv state("XDG_STATE_HOME", xdg);
        EXPECT_EQ(StateDirectory(), expected) << xdg.value_or("(unset)");
    }
}

TEST(KeyboardRecord, FileNamedByItsAddress) {
    const fs::path folder = "/state";
    const std::vector<std::pair<std::string, std::string>> table = {
        {"unix:/tmp/till 1.sock", "unix%3A%2Ftmp%2Ftill%201.sock.json"},
        {"/dev/zr4700", "%2Fdev%2Fzr4700.json"},
        {"\\\\.\\zr4700", "%5C%5C.%5Czr4700.json"},
        {"..", "...json"},
    };
    for (const auto& [address, name] : table) {
        EXPECT_EQ(KeyboardRecordPath(folder, address), folder / name);
        EXPECT_TRUE(AddressKeepsRecord(address)) << address;
    }
    // The in-process keyboard ends with the program: it keeps no record.
    EXPECT_FALSE(AddressKeepsRecord("sim"));
    EXPECT_FALSE(AddressKeepsRecord("sim:1"));

    const std::string longStart = "unix:/" + std::string(300, 'x');
    const fs::path a = KeyboardRecordPath(folder, longStart + "a");
    const fs::path b = KeyboardRecordPath(folder, longStart + "b");
    EXPECT_LE(a.filename().string().size(), 150u);
    EXPECT_NE(a, b);
}

TEST(KeyboardRecord, JsonRoundTrip) {
    KeyboardRecord record = SampleRecord("unix:/tmp/a");
    std::optional<KeyboardRecord> back = ParseKeyboardRecord(KeyboardRecordJson(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->device, record.device);
    EXPECT_EQ(back->imageSha256, record.imageSha256);
    EXPECT_EQ(back->keyboardType, 2);
    EXPECT_EQ(back->layoutCode, 113);
    EXPECT_EQ(back->bytes, 2022);
    EXPECT_EQ(back->layoutFile, record.layoutFile);
    EXPECT_EQ(back->programmedAt, record.programmedAt);

    // A name that is no UTF-8 still gives a record that reads back.
    record.layoutFile = "/shops/caf\xE9.txt";
    back = ParseKeyboardRecord(KeyboardRecordJson(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->layoutFile, "/shops/caf\xEF\xBF\xBD.txt");
}

TEST(KeyboardRecord, WhatIsNoRecord) {
    const nlohmann::json good = nlohmann::json::parse(KeyboardRecordJson(SampleRecord("d")));
    auto with = [&good](const char* field, nlohmann::json value) {
        nlohmann::json changed = good;
        if (value.is_discarded()) {
            changed.erase(field);
        } else {
            changed[field] = value;
        }
        return changed.dump();
    };
    const nlohmann::json missing = nlohmann::json::value_t::discarded;
    for (const std::string& text : std::vector<std::string>{
             "", "garbage", "[]", "{}", "null", KeyboardRecordJson(SampleRecord("d")).substr(0, 40),
             with("zr4700_record", 2), with("zr4700_record", missing), with("device", missing),
             with("device", 7), with("image_sha256", std::string(64, 'B')),
             with("image_sha256", "abc"), with("keyboard_type", 3), with("keyboard_type", -1),
             with("keyboard_type", "2"), with("keyboard_type", 1e20)}) {
        EXPECT_FALSE(ParseKeyboardRecord(text)) << text;
    }
    EXPECT_TRUE(ParseKeyboardRecord(with("layout_file", nullptr)));
}

TEST(KeyboardRecord, ReadWriteRemove) {
    test::TempDir dir;
    const fs::path path = KeyboardRecordPath(dir.path() / "state" / "zr4700", "unix:/a");
    std::string reason;
    EXPECT_FALSE(ReadKeyboardRecord(path, "unix:/a"));
    EXPECT_TRUE(RemoveKeyboardRecord(path, &reason)) << "no record is nothing to remove";

    ASSERT_TRUE(WriteKeyboardRecord(path, SampleRecord("unix:/a"), &reason)) << reason;
    ASSERT_TRUE(ReadKeyboardRecord(path, "unix:/a"));
    EXPECT_EQ(ReadKeyboardRecord(path, "unix:/a")->imageSha256, std::string(64, 'b'));
    EXPECT_FALSE(ReadKeyboardRecord(path, "unix:/b")) << "kept for another address";

    EXPECT_TRUE(RemoveKeyboardRecord(path, &reason));
    EXPECT_FALSE(fs::exists(path));
}

TEST(KeyboardRecord, WhatCannotBeReadIsNoRecord) {
    test::TempDir dir;
    const fs::path fifo = dir.file("fifo.json");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadKeyboardRecord(fifo, "d")) << "and it does not wait for a writer";
    EXPECT_FALSE(ReadKeyboardRecord(dir.path(), "d"));
    const std::string large = KeyboardRecordJson(SampleRecord("d")) + std::string(70000, ' ');
    EXPECT_TRUE(ParseKeyboardRecord(large));
    EXPECT_FALSE(ReadKeyboardRecord(dir.write("large.json", large), "d"));
}

TEST(KeyboardRecord, FailuresSayWhy) {
    test::TempDir dir;
    const std::string file = dir.write("file", "x");
    std::string reason;
    EXPECT_FALSE(
        WriteKeyboardRecord(fs::path(file) / "zr4700" / "r.json", SampleRecord("d"), &reason));
    EXPECT_NE(reason.find(file), std::string::npos) << reason;

    const fs::path full = dir.file("full.json");
    fs::create_directories(full / "inside");
    reason.clear();
    EXPECT_FALSE(RemoveKeyboardRecord(full, &reason));
    EXPECT_NE(reason.find("full.json: "), std::string::npos) << reason;
}

} // namespace
} // namespace zr4700
