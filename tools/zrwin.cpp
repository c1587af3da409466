// zrwin [FILE [/N]]: writes a layout file into the keyboard, or with no file reports the
// keyboard's type. Exit status 0 on success, otherwise the engine's result minus 32999
// (33000 gives 1 ... 33010 gives 11); the message goes to stderr. Interrupted by SIGINT or
// SIGTERM at any stage, it stops after the byte in flight, closes the device, says whether the
// keyboard was left partly programmed, and exits as the shell does for the signal: 128 plus its
// number (130 for SIGINT, 143 for SIGTERM).
//
// Below the message a second line says where, in the form compilers use, so that an editor can
// jump there: "FILE:LINE:COLUMN: error: REASON" for a file that is no layout, "FILE: error:
// REASON" for one that cannot be read, "DEVICE: error: REASON" for the driver's errors.

#include "engine/Engine.h"

#include <atomic>
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

// What a layout code is, and the keyboard type that takes it.
const char* LayoutCodeMeaning(int layoutCode) {
    switch (layoutCode) {
    case 56:
        return "7/3scan, 56 keys";
    case 112:
        return "7/3scan, 112 keys";
    case 57:
        return "16scan, 56 keys";
    case 113:
        return "16scan, 112 keys";
    default:
        return "unknown";
    }
}

int TypeTaking(int layoutCode) {
    return layoutCode == 57 ? 1 : layoutCode == 113 ? 2 : 0;
}

// The second line of a failure: where it happened and why; nothing when the engine knows no more
// than its message.
void PrintWhere(int result, const char* file, const zr4700::ProgramReport& report, bool typeGiven) {
    switch (result) {
    case zr4700::kResultCannotOpenFile:
        if (!report.fileReason.empty()) {
            std::fprintf(stderr, "%s: error: %s\n", file, report.fileReason.c_str());
        }
        return;
    case zr4700::kResultInvalidFileFormat: {
        const zr4700::ParseFailure& failure = report.fileFailure;
        if (failure.line > 0) {
            std::fprintf(stderr, "%s:%d:%d: error: %s\n", file, failure.line, failure.column,
                         failure.reason.c_str());
        } else if (!failure.reason.empty()) {
            std::fprintf(stderr, "%s: error: %s\n", file, failure.reason.c_str());
        }
        return;
    }
    case zr4700::kResultFormatMismatch:
        std::fprintf(stderr,
                     "%s:1:1: error: layout code %d (%s) needs keyboard type %d, but the keyboard "
                     "%s is type %d (%s)\n",
                     file, report.layoutCode, LayoutCodeMeaning(report.layoutCode),
                     TypeTaking(report.layoutCode), typeGiven ? "given" : "found",
                     report.deviceType, zr4700::KeyboardTypeMeaning(report.deviceType));
        return;
    default:
        if (!report.deviceAddress.empty()) {
            std::fprintf(stderr, "%s: error: %s\n", report.deviceAddress.c_str(),
                         report.deviceReason.c_str());
        }
        return;
    }
}

} // namespace

int main(int argc, char** argv) {
    CatchStopSignals();

    ProgressBar bar;
    zr4700::StepNotify notify;
    if (isatty(fileno(stderr))) {
        notify = [&bar] { bar.Step(); };
    }

    zr4700::ProgramReport report;
    const int result = zr4700::ProgramKeyboard(argc, argv, notify, &stopRequested, &report);
    bar.Finish();

    if (result == zr4700::kResultCancelled) {
        if (report.bytesSent > 0) {
            std::fprintf(stderr,
                         "zrwin: interrupted after %d of %d bytes: the keyboard is left partly "
                         "programmed; program it again\n",
                         report.bytesSent, report.imageSize);
        } else {
            std::fputs("zrwin: interrupted before any byte was sent: the keyboard is unchanged\n",
                       stderr);
        }
        const int signalNumber = stopSignal;
        return 128 + (signalNumber != 0 ? signalNumber : SIGINT);
    }
    if (result != zr4700::kResultOk) {
        const char* message = zr4700::EngineResultMessage(result);
        std::fprintf(stderr, "%s\n", message ? message : "Unknown error.");
        PrintWhere(result, argc >= 2 ? argv[1] : "", report, argc == 3);
        return result - (kFirstResult - 1);
    }
    if (argc <= 1) {
        std::printf("Keyboard type: %d (%s)\n", report.deviceType,
                    zr4700::KeyboardTypeMeaning(report.deviceType));
    }
    return 0;
}
