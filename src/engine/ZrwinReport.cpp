#include "engine/ZrwinReport.h"

#include "engine/EngineResults.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace zr4700 {

// The fields keep the order they are listed in, for a person reading the object.
using json = nlohmann::ordered_json;

namespace {

json TextOrNull(const std::string& text) {
    return text.empty() ? json(nullptr) : json(text);
}

json NumberOrNull(int value) {
    return value < 0 ? json(nullptr) : json(value);
}

} // namespace

std::string FailureDetail(int result, const std::string& file, const ProgramReport& report,
                          bool typeGiven) {
    switch (result) {
    case kResultCannotOpenFile:
        return report.fileReason.empty() ? std::string() : file + ": error: " + report.fileReason;
    case kResultInvalidFileFormat: {
        const ParseFailure& failure = report.fileFailure;
        if (failure.line > 0) {
            return file + ":" + std::to_string(failure.line) + ":" +
                   std::to_string(failure.column) + ": error: " + failure.reason;
        }
        return failure.reason.empty() ? std::string() : file + ": error: " + failure.reason;
    }
    case kResultFormatMismatch:
        return file + ":1:1: error: layout code " + std::to_string(report.layoutCode) + " (" +
               LayoutCodeMeaning(report.layoutCode) + ") needs keyboard type " +
               std::to_string(TypeTakingLayoutCode(report.layoutCode)) + ", but the keyboard " +
               (typeGiven ? "given" : "found") + " is type " + std::to_string(report.deviceType) +
               " (" + KeyboardTypeMeaning(report.deviceType) + ")";
    default:
        return report.deviceAddress.empty()
                   ? std::string()
                   : report.deviceAddress + ": error: " + report.deviceReason;
    }
}

std::string CheckNote(const std::string& device, const ProgramReport& report) {
    return "zrwin: would send " + std::to_string(report.imageSize) + " bytes (" +
           LayoutCodeMeaning(report.layoutCode) + ") to the keyboard of type " +
           std::to_string(report.deviceType) + " at " + device + ", image sha256 " +
           report.imageSha256;
}

std::string UnchangedNote(const std::string& device, const ProgramReport& report) {
    return "zrwin: unchanged: the keyboard at " + device + " holds this image already (sha256 " +
           report.imageSha256 + "); nothing sent";
}

std::string RecordErrorNote(const std::string& reason) {
    return "zrwin: the record of what the keyboard holds was not kept: " + reason;
}

std::string ZrwinJson(const ZrwinRunFacts& facts) {
    const ProgramReport& report = facts.report;
    const RecordedRunOutcome& record = facts.record;
    const bool stopped = facts.result == kResultCancelled;
    const json object = {
        {"result", stopped ? json(nullptr) : json(facts.result)},
        {"status", facts.status},
        {"message", TextOrNull(facts.message)},
        {"detail", TextOrNull(facts.detail)},
        {"file", facts.file ? json(*facts.file) : json(nullptr)},
        {"device", facts.device},
        {"keyboard_type", NumberOrNull(report.deviceType)},
        {"variant",
         report.layoutCode < 0 ? json(nullptr) : json(LayoutCodeMeaning(report.layoutCode))},
        {"layout_code", NumberOrNull(report.layoutCode)},
        {"bytes_sent", report.bytesSent},
        {"bytes_total", report.imageSize},
        {"seconds", std::round(facts.seconds * 1000.0) / 1000.0},
        {"image_sha256", TextOrNull(report.imageSha256)},
        {"interrupted", TextOrNull(facts.interruptedBy)},
        {"unchanged", record.unchanged},
        {"record_file", TextOrNull(PathText(record.recordFile))},
        {"recorded_sha256", record.before ? json(record.before->imageSha256) : json(nullptr)},
        {"record_error", TextOrNull(record.recordError)},
    };
    return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace zr4700
