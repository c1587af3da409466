#pragma once
// File > Programming... as both front ends run it: the checks and questions before anything is
// written, the file for the engine in the variant the keyboard found takes, the engine run on the
// worker, and what the user is told when it did not end well. A front end only asks the keyboard
// without freezing its window, shows a progress dialog and shows the messages computed here.

#include "core/document/UserPrompts.h"
#include "core/document/Views.h"
#include "core/files/KeyboardQuery.h"
#include "core/files/ProgrammingFile.h"
#include "core/model/Layout.h"
#include "engine/Engine.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zr4700 {

// Before the keyboard is asked: a layout without a programmed key stops with "The file contains
// no programmed key".
bool ReadyToProgram(const Layout& layout, UserPrompts& prompts);

// What the worker hands to the engine. The file (and its folder) must outlive the run.
struct ProgrammingRun {
    std::unique_ptr<ProgrammingFile> file;
    // The engine's argument vector: a program name, the file, and the keyboard type found, so
    // that the engine does not ask the keyboard again.
    std::vector<std::string> arguments;
};

// After the keyboard answered: a failed query, a layout of the wrong size or a question the user
// answers No to stops here with its reason shown; otherwise the layout is written in the variant
// that keyboard takes. nullopt when stopped.
std::optional<ProgrammingRun> PrepareProgramming(const Layout& layout,
                                                 const KeyboardDetection& found,
                                                 UserPrompts& prompts, const TextSource& texts);

// What one engine run on the worker came to.
struct RunOutcome {
    int result = 0;
    bool stopped = false; // the user stopped it
    int steps = 0;        // the step notifications the transfer gave
    ProgramReport report;
    std::string deviceError; // the device's reason, for a driver error
};

// Runs the engine on the arguments (on the calling thread, normally the worker) with the record
// of what the keyboard holds kept as zrwin keeps it; recordedLayoutFile is the layout's own file
// (empty for an untitled one). notify is called for every step and may wait for the window. The
// layout file given to the engine is deleted once the engine is done with it.
RunOutcome RunProgramming(const std::vector<std::string>& arguments, const StepNotify& notify,
                          const std::atomic<bool>& stop, const std::string& recordedLayoutFile);

// An error box after a run: the string table's text by its id, with a detail below it.
struct RunMessage {
    int stringId = 0;
    std::string detail;
    bool operator==(const RunMessage&) const = default;
};
// In order: the engine's message (unless the user stopped the run), then, when bytes went out
// and the run did not end well, the notice that the keyboard is only partly programmed.
std::vector<RunMessage> RunOutcomeMessages(const RunOutcome& outcome, const TextSource& texts);

} // namespace zr4700
