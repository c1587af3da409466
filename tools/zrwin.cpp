// zrwin [--json] [--check] [--if-changed] [--] [FILE [/N]]: writes a layout file into the
// keyboard, or with no file reports the keyboard's type. --check does everything but the
// transfer; --if-changed sends nothing when the record of what the keyboard holds shows that it
// holds this image already (see engine/RecordedProgramming.h); --json ends the run with one
// JSON object on stdout (engine/ZrwinReport.h).
// Exit status 0 on success, otherwise the engine's result minus 32999 (33000 gives 1 ... 33010
// gives 11); the message goes to stderr. Interrupted by SIGINT or SIGTERM at any stage, it
// stops after the byte in flight, closes the device, says whether the keyboard was left partly
// programmed, and exits as the shell does for the signal: 128 plus its number (130 for SIGINT,
// 143 for SIGTERM).
//
// Below the message a second line says where, in the form compilers use, so that an editor can
// jump there: "FILE:LINE:COLUMN: error: REASON" for a file that is no layout, "FILE: error:
// REASON" for one that cannot be read, "DEVICE: error: REASON" for the driver's errors.

#include "engine/Device.h"
#include "engine/Engine.h"
#include "engine/RecordedProgramming.h"
#include "engine/ZrwinCommandLine.h"
#include "engine/ZrwinReport.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace {

constexpr int kFirstResult = 33000;
constexpr int kBarWidth = 40;

static_assert(std::atomic<bool>::is_always_lock_free, "the stop flag is set in a signal handler");
std::atomic<bool> stopRequested{false};
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void OnStopSignal(int signalNumber) {
    stopSignal = signalNumber;
    stopRequested.store(true);
}

// The handlers do not restart interrupted calls: a wait in progress returns at once and the
// engine, which checks the flag at every stage, stops there.
void CatchStopSignals() {
#ifdef _WIN32
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#else
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

// Draws the bar from the engine's steps: one step per percent, the bar stops at 100 (a
// 450-byte image brings 112 steps).
class ProgressBar {
  public:
    void Step() {
        if (percent_ < 100) {
            ++percent_;
        }
        Draw();
    }
    void Draw() const {
        char bar[kBarWidth + 1];
        const int filled = percent_ * kBarWidth / 100;
        for (int i = 0; i < kBarWidth; ++i) {
            bar[i] = i < filled ? '#' : '.';
        }
        bar[kBarWidth] = '\0';
        std::fprintf(stderr, "\rProgramming [%s] %3d%%", bar, percent_);
        std::fflush(stderr);
        drawn_ = true;
    }
    void Finish() const {
        if (drawn_) {
            std::fputc('\n', stderr);
        }
    }

  private:
    int percent_ = 0;
    mutable bool drawn_ = false;
};

// The run's report: the human lines on stderr (the type found, or a check's findings, on stdout
// unless --json keeps stdout for the JSON object), and with --json the object on stdout.
void Report(const zr4700::ZrwinCommandLine& command, const zr4700::ZrwinRunFacts& facts) {
    std::FILE* notes = command.json ? stderr : stdout;
    if (!facts.message.empty()) {
        std::fprintf(stderr, "%s\n", facts.message.c_str());
    }
    if (!facts.detail.empty()) {
        std::fprintf(stderr, "%s\n", facts.detail.c_str());
    }
    if (facts.result == zr4700::kResultOk) {
        const zr4700::ProgramReport& report = facts.report;
        if (!facts.file) {
            std::fprintf(notes, "Keyboard type: %d (%s)\n", report.deviceType,
                         zr4700::KeyboardTypeMeaning(report.deviceType));
        } else if (facts.record.unchanged) {
            std::fprintf(notes, "%s\n", zr4700::UnchangedNote(facts.device, report).c_str());
        } else if (command.check) {
            std::fprintf(notes, "%s\n", zr4700::CheckNote(facts.device, report).c_str());
        }
    }
    if (!facts.record.recordError.empty()) {
        std::fprintf(stderr, "%s\n", zr4700::RecordErrorNote(facts.record.recordError).c_str());
    }
    if (command.json) {
        std::printf("%s\n", zr4700::ZrwinJson(facts).c_str());
    }
    std::fflush(stdout);
}

std::string InterruptedMessage(const zr4700::ProgramReport& report) {
    if (report.bytesSent > 0 || report.byteUnanswered) {
        return "zrwin: interrupted after " + std::to_string(report.bytesSent) + " of " +
               std::to_string(report.imageSize) + " bytes" +
               (report.byteUnanswered ? " (the next one unanswered)" : "") +
               ": the keyboard is left partly programmed; program it again";
    }
    return "zrwin: interrupted before any byte was sent: the keyboard is unchanged";
}

const char* SignalName(int signalNumber) {
    return signalNumber == SIGTERM ? "SIGTERM" : "SIGINT";
}

} // namespace

int main(int argc, char** argv) {
    CatchStopSignals();
    const zr4700::ZrwinCommandLine command = zr4700::ParseZrwinCommandLine(argc, argv);
    const int engineArgc = command.engineArgc();
    const char* const* engineArgv = command.engineArgv();

    ProgressBar bar;
    zr4700::ProgramControl control;
    control.stopRequested = &stopRequested;
    if (!command.json && !command.check && isatty(fileno(stderr))) {
        control.notify = [&bar] { bar.Step(); };
    }
    zr4700::RecordedRunOptions options;
    options.check = command.check;
    options.ifChanged = command.ifChanged;

    zr4700::ZrwinRunFacts facts;
    facts.device = zr4700::DeviceAddress();
    if (engineArgc == 2 || engineArgc == 3) {
        facts.file = engineArgv[1] ? engineArgv[1] : "";
    }
    const auto started = std::chrono::steady_clock::now();
    const int result = zr4700::ProgramKeyboardRecorded(engineArgc, engineArgv, control, options,
                                                       &facts.report, &facts.record);
    facts.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    bar.Finish();

    facts.result = result;
    if (result == zr4700::kResultCancelled) {
        const int signalNumber = stopSignal != 0 ? static_cast<int>(stopSignal) : SIGINT;
        facts.message = InterruptedMessage(facts.report);
        facts.interruptedBy = SignalName(signalNumber);
        facts.status = 128 + signalNumber;
    } else if (result != zr4700::kResultOk) {
        const char* message = zr4700::EngineResultMessage(result);
        facts.message = message ? message : "Unknown error.";
        facts.detail =
            zr4700::FailureDetail(result, facts.file.value_or(""), facts.report, engineArgc == 3);
        facts.status = result - (kFirstResult - 1);
    }
    Report(command, facts);
    return facts.status;
}
