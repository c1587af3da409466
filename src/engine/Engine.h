#pragma once

#include "engine/Driver.h"
#include "engine/EngineResults.h"
#include "engine/LayoutParser.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace zr4700 {

// The largest layout file the engine reads. The editor writes at most about 25 KB; anything far
// larger is no layout, and is refused before it is read.
constexpr std::int64_t kMaxLayoutFileSize = 1024 * 1024;

// What one run did, for a caller that tells the user more than the result.
struct ProgramReport {
    int deviceType = -1; // the keyboard type the run used (detected or given), -1 when none
    int imageSize = 0;   // the bytes the transfer was to send; 0 until the image is ready
    int bytesSent = 0;   // the bytes the keyboard took
    // A stop ended the wait for the keyboard's answer to the next byte: it may have taken it.
    bool byteUnanswered = false;
    int layoutCode = -1; // the file's layout code once its first line was read, else -1
    // The SHA-256 of the image exactly as it goes to the keyboard (halves in keyboard order,
    // settings and RFID bytes included), once it is ready; empty before.
    std::string imageSha256;
    bool transferStarted = false; // the image was handed to the device layer

    // Why the run failed, for a caller that says more than the message; empty on success.
    // "Invalid file format.": where the file stops being a layout (line 0: the file as a whole).
    ParseFailure fileFailure;
    // "Unable to open file.": the system's reason.
    std::string fileReason;
    // The driver's errors: the device address tried and what went wrong there.
    std::string deviceAddress;
    std::string deviceReason;
};

// Asked once the image is ready to go: the file parsed, the keyboard type known, the pairing
// checked, the halves in keyboard order, report.imageSize and report.imageSha256 set. Returning
// false ends the run there with result 0 and nothing sent.
using SendGate = std::function<bool(const ProgramReport& report)>;

// How a caller follows and steers one run: notify follows the steps of the transfer,
// stopRequested (may be null) stops it, beforeSending (may be empty: always send) decides
// whether the ready image is sent.
struct ProgramControl {
    StepNotify notify;
    const std::atomic<bool>* stopRequested = nullptr;
    SendGate beforeSending;
};

// Writes a layout file into the keyboard, with the argument vector of a console program:
// argv[1] the layout file (none when argc is 0 or 1: the call then only detects the keyboard),
// argv[2] the keyboard type as /0, /1 or /2 (detection is then skipped). Returns 0 or an engine
// result 33000..33010 (see EngineResults.h). notify follows the steps of the transfer.
// stopRequested (may be null) is read at every stage (before the file is opened, after it is
// parsed, around detection, before every byte) and by the device layer's waits: once true, the
// engine stops after the byte in flight (a keyboard that does not answer it is not waited for),
// closes the device and returns kResultCancelled.
int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested = nullptr);

// The same, and *deviceType receives the keyboard type the run used (detected or given), or -1
// when it got none.
int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested, int* deviceType);

// The same, and *report (may be null) receives what the run did.
int ProgramKeyboard(int argc, const char* const argv[], const StepNotify& notify,
                    const std::atomic<bool>* stopRequested, ProgramReport* report);

// The same, steered by control.
int ProgramKeyboard(int argc, const char* const argv[], const ProgramControl& control,
                    ProgramReport* report);

// Test hook: while it lives, reading a layout file fails (as a failing disk does, with the
// stream's error set) once failAfterBytes bytes were read. Never used by the programs.
class ScopedLayoutReadFault {
  public:
    explicit ScopedLayoutReadFault(long failAfterBytes);
    ~ScopedLayoutReadFault();
    ScopedLayoutReadFault(const ScopedLayoutReadFault&) = delete;
    ScopedLayoutReadFault& operator=(const ScopedLayoutReadFault&) = delete;

  private:
    long previous_;
};

} // namespace zr4700
