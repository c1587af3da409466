#include "engine/RecordedProgramming.h"

#include "engine/Device.h"

#include <system_error>

namespace zr4700 {

namespace fs = std::filesystem;

namespace {

bool RecordMatches(const std::optional<KeyboardRecord>& record, const ProgramReport& report) {
    return record && record->imageSha256 == report.imageSha256 &&
           record->keyboardType == report.deviceType;
}

std::string AbsoluteName(const char* file) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(file), error);
    return error ? std::string(file) : absolute.lexically_normal().string();
}

} // namespace

int ProgramKeyboardRecorded(int argc, const char* const argv[], const ProgramControl& control,
                            const RecordedRunOptions& options, ProgramReport* reportOut,
                            RecordedRunOutcome* outcomeOut) {
    ProgramReport unusedReport;
    RecordedRunOutcome unusedOutcome;
    ProgramReport& report = reportOut ? *reportOut : unusedReport;
    RecordedRunOutcome& outcome = outcomeOut ? *outcomeOut : unusedOutcome;
    outcome = RecordedRunOutcome{};

    const std::string address = DeviceAddress();
    std::string noFolderReason;
    if (AddressKeepsRecord(address)) {
        const std::optional<fs::path> folder =
            options.stateDirectory ? options.stateDirectory : StateDirectory();
        if (folder) {
            outcome.recordFile = KeyboardRecordPath(*folder, address);
            outcome.before = ReadKeyboardRecord(outcome.recordFile, address);
        } else {
            noFolderReason = "no state folder: neither XDG_STATE_HOME nor a home folder is set";
        }
    }

    ProgramControl steered = control;
    steered.beforeSending = [&](const ProgramReport& ready) {
        if (options.ifChanged && RecordMatches(outcome.before, ready)) {
            outcome.unchanged = true;
            return false;
        }
        if (options.check) {
            return false;
        }
        if (!outcome.recordFile.empty()) {
            RemoveKeyboardRecord(outcome.recordFile, &outcome.recordError);
        }
        return true;
    };
    const int result = ProgramKeyboard(argc, argv, steered, &report);

    const bool complete =
        result == kResultOk && report.transferStarted && report.bytesSent == report.imageSize;
    if (!complete) {
        return result;
    }
    if (outcome.recordFile.empty()) {
        if (!noFolderReason.empty()) {
            outcome.recordError = noFolderReason;
        }
        return result;
    }
    KeyboardRecord record;
    record.device = address;
    record.imageSha256 = report.imageSha256;
    record.keyboardType = report.deviceType;
    record.layoutCode = report.layoutCode;
    record.bytes = report.imageSize;
    const char* layoutFile = options.layoutFile ? options.layoutFile->c_str() : argv[1];
    record.layoutFile = *layoutFile ? AbsoluteName(layoutFile) : std::string();
    record.programmedAt = UtcTimestamp();
    std::string reason;
    if (!WriteKeyboardRecord(outcome.recordFile, record, &reason)) {
        outcome.recordError = reason;
    }
    return result;
}

} // namespace zr4700
