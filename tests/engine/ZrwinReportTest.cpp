#include "engine/ZrwinReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

namespace zr4700 {
namespace {

using nlohmann::json;

ZrwinRunFacts Facts(int result, int status, std::string message, std::string detail = {}) {
    ZrwinRunFacts facts;
    facts.result = result;
    facts.status = status;
    facts.message = std::move(message);
    facts.detail = std::move(detail);
    facts.file = "shop.txt";
    facts.device = "unix:/tmp/till.sock";
    return facts;
}

// What zrwin run against the simulator cannot show: a record that was not kept, and the fields
// that are null until the run gets that far. (Every exit status is checked on the program.)
TEST(ZrwinJson, FieldsOfTheRun) {
    ZrwinRunFacts facts = Facts(0, 0, "");
    facts.seconds = 6.12345;
    facts.report.deviceType = 2;
    facts.report.layoutCode = 113;
    facts.report.imageSize = facts.report.bytesSent = 2022;
    facts.report.imageSha256 = std::string(64, 'c');
    facts.record.recordFile = "/var/lib/zr4700/x.json";
    facts.record.recordError = "/var/lib/zr4700: Read-only file system";
    json object = json::parse(ZrwinJson(facts));
    EXPECT_EQ(object.size(), 18u);
    EXPECT_EQ(object["result"], 0);
    EXPECT_EQ(object["message"], nullptr);
    EXPECT_EQ(object["variant"], "16scan, 112 keys");
    EXPECT_EQ(object["seconds"], 6.123);
    EXPECT_EQ(object["record_error"], "/var/lib/zr4700: Read-only file system");

    object = json::parse(ZrwinJson(Facts(33000, 1, "Invalid argument.")));
    for (const char* field : {"detail", "keyboard_type", "variant", "layout_code", "image_sha256",
                              "interrupted", "record_file", "recorded_sha256", "record_error"}) {
        EXPECT_EQ(object[field], nullptr) << field;
    }
}

TEST(ZrwinJson, AnyFileNameIsEscaped) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"shop \"A\".txt", "shop \"A\".txt"},
        {"C:\\layouts\\a.txt", "C:\\layouts\\a.txt"},
        {"line\nbreak\ttab\x01.txt", "line\nbreak\ttab\x01.txt"},
        {"caf\xC3\xA9.txt", "caf\xC3\xA9.txt"},
        {"caf\xE9.txt", "caf\xEF\xBF\xBD.txt"}, // not UTF-8: U+FFFD stands in
    };
    for (const auto& [name, parsed] : table) {
        ZrwinRunFacts facts = Facts(33003, 4, "Unable to open file.", name + ": error: x");
        facts.file = name;
        const json object = json::parse(ZrwinJson(facts), nullptr, false);
        ASSERT_FALSE(object.is_discarded()) << name;
        EXPECT_EQ(object["file"], parsed);
        EXPECT_EQ(object["detail"], parsed + ": error: x");
    }
}

} // namespace
} // namespace zr4700
