#pragma once
// A programming run that keeps the record of what the keyboard holds (KeyboardRecord.h), as
// zrwin and the desktop programmer's File > Programming... both run the engine:
// - just before the first byte goes out, the record is removed: from then on the keyboard holds
//   no known image until the transfer is complete (a run killed part-way leaves no record
//   behind that would claim the old image);
// - after a complete transfer the new record replaces it atomically;
// - a transfer that fails or stops part-way leaves no record.
// A record that cannot be written or removed is reported and does not fail the transfer.

#include "engine/Engine.h"
#include "engine/KeyboardRecord.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zr4700 {

struct RecordedRunOptions {
    // Send nothing: the run stops once the image is ready, with the result programming would
    // have before its first byte.
    bool check = false;
    // Send nothing when the record says the keyboard holds this very image (digest and type).
    bool ifChanged = false;
    // The layout file the record names, made absolute (empty: none, an untitled layout);
    // nothing: the file argument.
    std::optional<std::string> layoutFile;
    // The state folder; nothing: StateDirectory().
    std::optional<std::filesystem::path> stateDirectory;
};

struct RecordedRunOutcome {
    // The record found before the run, for the device address the run used.
    std::optional<KeyboardRecord> before;
    // With ifChanged: the record says the keyboard holds the image the run had ready, so it
    // was not sent.
    bool unchanged = false;
    // The record file of the device address; empty when the address keeps none.
    std::filesystem::path recordFile;
    // Why the record could not be written or removed; empty when all went well.
    std::string recordError;
};

// ProgramKeyboard with the record kept as described above. control.beforeSending is not used.
int ProgramKeyboardRecorded(int argc, const char* const argv[], const ProgramControl& control,
                            const RecordedRunOptions& options, ProgramReport* report,
                            RecordedRunOutcome* outcome);

} // namespace zr4700
