#pragma once
// What zrwin says about one run: the line below a failure's message, the notes of --check and
// --if-changed, and the one JSON object of --json.

#include "engine/Engine.h"
#include "engine/RecordedProgramming.h"

#include <optional>
#include <string>

namespace zr4700 {

// The line below the message of a failed run: where it happened and why, in the form compilers
// use ("FILE:LINE:COLUMN: error: REASON", "FILE: error: REASON", "DEVICE: error: REASON");
// empty when the engine knows no more than its message. typeGiven: the run had /N.
std::string FailureDetail(int result, const std::string& file, const ProgramReport& report,
                          bool typeGiven);

// "zrwin: would send 2022 bytes (16scan, 112 keys) to the keyboard of type 2 at DEVICE, image
// sha256 HEX": what a check found programming would do.
std::string CheckNote(const std::string& device, const ProgramReport& report);
// "zrwin: unchanged: the keyboard at DEVICE holds this image already (sha256 HEX); nothing
// sent".
std::string UnchangedNote(const std::string& device, const ProgramReport& report);
// "zrwin: the record of what the keyboard holds was not kept: REASON".
std::string RecordErrorNote(const std::string& reason);

// Everything the JSON object of a run says.
struct ZrwinRunFacts {
    int result = kResultOk; // the engine's result; kResultCancelled when a signal stopped it
    int status = 0;         // the exit status
    std::string message;    // the first line on stderr; empty on success
    std::string detail;     // the line below it; empty when there is none
    std::optional<std::string> file; // the file argument, when one was given
    std::string device;              // the device address the run used
    double seconds = 0;              // the run's wall time
    std::string interruptedBy;       // the signal's name ("SIGINT"); empty when none came
    ProgramReport report;
    RecordedRunOutcome record;
};

// The JSON object, on one line without a line break. Every text is escaped as JSON needs; a
// byte sequence that is no UTF-8 (a file name may be one) comes out as U+FFFD.
std::string ZrwinJson(const ZrwinRunFacts& facts);

} // namespace zr4700
