#pragma once

#include "programming/Driver.h"
#include "programming/EngineResults.h"

#include <atomic>

namespace zr4700 {

// Writes a layout file into the keyboard, with the argument vector of a console program:
// argv[1] the layout file (none when argc is 0 or 1: the call then only detects the keyboard),
// argv[2] the keyboard type as /0, /1 or /2 (detection is then skipped). Returns 0 or an engine
// result 33000..33010 (see EngineResults.h). notify follows the steps of the transfer.
// stopRequested (may be null) is read before every byte: once true, the engine stops after the
// byte in flight, closes the device and returns kResultCancelled.
int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested = nullptr);

// The same, and *deviceType receives the keyboard type the run used (detected or given), or -1
// when it got none.
int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested, int* deviceType);

} // namespace zr4700
