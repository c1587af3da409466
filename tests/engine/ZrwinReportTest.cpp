#include "engine/ZrwinReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace zr4700 {
namespace {

using nlohmann::json;

// The facts of one run of each kind of end.
struct JsonCase {
    const char* name;
    ZrwinRunFacts facts;
    json expected; // the fields that tell this kind of end apart
};

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

std::vector<JsonCase> Cases() {
    ZrwinRunFacts sent = Facts(0, 0, "");
    sent.seconds = 6.12345;
    sent.report.deviceType = 2;
    sent.report.layoutCode = 113;
    sent.report.imageSize = sent.report.bytesSent = 2022;
    sent.report.imageSha256 = std::string(64, 'c');
    sent.record.recordFile = "/var/lib/zr4700/x.json";

    ZrwinRunFacts unchanged = sent;
    unchanged.report.bytesSent = 0;
    unchanged.record.unchanged = true;
    unchanged.record.before = KeyboardRecord();
    unchanged.record.before->imageSha256 = std::string(64, 'c');

    ZrwinRunFacts detected = Facts(0, 0, "");
    detected.file.reset();
    detected.report.deviceType = 1;

    ZrwinRunFacts refused =
        Facts(33009, 10, "Keyboard programming error.",
              "unix:/tmp/till.sock: error: the keyboard refused byte 100 of 450");
    refused.report.deviceType = 0;
    refused.report.layoutCode = 56;
    refused.report.imageSize = 450;
    refused.report.bytesSent = 99;
    refused.record.recordError = "/var/lib/zr4700: Read-only file system";

    ZrwinRunFacts stopped = Facts(kResultCancelled, 143,
                                  "zrwin: interrupted after 20 of 2022 bytes: the keyboard is "
                                  "left partly programmed; program it again");
    stopped.interruptedBy = "SIGTERM";

    return {
        {"Sent",
         sent,
         {{"result", 0},
          {"status", 0},
          {"message", nullptr},
          {"detail", nullptr},
          {"keyboard_type", 2},
          {"variant", "16scan, 112 keys"},
          {"bytes_sent", 2022},
          {"bytes_total", 2022},
          {"seconds", 6.123},
          {"image_sha256", std::string(64, 'c')},
          {"unchanged", false},
          {"recorded_sha256", nullptr},
          {"record_error", nullptr},
          {"record_file", "/var/lib/zr4700/x.json"}}},
        {"Unchanged",
         unchanged,
         {{"status", 0},
          {"bytes_sent", 0},
          {"unchanged", true},
          {"recorded_sha256", std::string(64, 'c')}}},
        {"DetectionOnly",
         detected,
         {{"file", nullptr},
          {"keyboard_type", 1},
          {"variant", nullptr},
          {"image_sha256", nullptr},
          {"record_file", nullptr}}},
        {"ArgumentError",
         Facts(33000, 1, "Invalid argument."),
         {{"result", 33000},
          {"status", 1},
          {"message", "Invalid argument."},
          {"detail", nullptr},
          {"keyboard_type", nullptr}}},
        {"FileError",
         Facts(33004, 5, "Invalid file format.", "shop.txt:5:12: error: code 256 is above 255"),
         {{"result", 33004},
          {"status", 5},
          {"detail", "shop.txt:5:12: error: code 256 is above 255"},
          {"variant", nullptr}}},
        {"DeviceError",
         refused,
         {{"result", 33009},
          {"status", 10},
          {"message", "Keyboard programming error."},
          {"bytes_sent", 99},
          {"bytes_total", 450},
          {"variant", "7/3scan, 56 keys"},
          {"record_error", "/var/lib/zr4700: Read-only file system"}}},
        {"Interrupted",
         stopped,
         {{"result", nullptr}, {"status", 143}, {"interrupted", "SIGTERM"}}},
    };
}

TEST(ZrwinJson, EveryKindOfEndIsOneObjectWithEveryField) {
    const std::vector<std::string> fields = {
        "result",      "status",          "message",      "detail",      "file",
        "device",      "keyboard_type",   "variant",      "layout_code", "bytes_sent",
        "bytes_total", "seconds",         "image_sha256", "interrupted", "unchanged",
        "record_file", "recorded_sha256", "record_error"};
    for (const JsonCase& c : Cases()) {
        const std::string text = ZrwinJson(c.facts);
        EXPECT_EQ(text.find('\n'), std::string::npos) << c.name;
        const json object = json::parse(text, nullptr, false);
        ASSERT_TRUE(object.is_object()) << c.name << ": " << text;
        EXPECT_EQ(object.size(), fields.size()) << c.name;
        for (const std::string& field : fields) {
            EXPECT_TRUE(object.contains(field)) << c.name << ": " << field;
        }
        for (const auto& [field, value] : c.expected.items()) {
            EXPECT_EQ(object[field], value) << c.name << ": " << field;
        }
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
