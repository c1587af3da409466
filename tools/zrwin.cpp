// zrwin [FILE [/N]]: writes a layout file into the keyboard, or with no file reports the
// keyboard's type. Exit status 0 on success, otherwise the engine's result minus 32999
// (33000 gives 1 ... 33010 gives 11); the message goes to stderr. Interrupted by SIGINT or
// SIGTERM, it stops after the byte in flight and exits with 130.

#include "programming/Engine.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr int kFirstResult = 33000;
constexpr int kInterruptedStatus = 130;
constexpr int kBarWidth = 40;

std::atomic<bool> stopRequested{false};

extern "C" void OnStopSignal(int) {
    stopRequested.store(true);
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

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);

    ProgressBar bar;
    zr4700::StepNotify notify;
    if (isatty(fileno(stderr))) {
        notify = [&bar] { bar.Step(); };
    }

    int deviceType = -1;
    const int result = zr4700::ProgramKeyboard(argc, argv, notify, &stopRequested, &deviceType);
    bar.Finish();

    if (result == zr4700::kResultCancelled) {
        std::fputs("zrwin: interrupted\n", stderr);
        return kInterruptedStatus;
    }
    if (result != zr4700::kResultOk) {
        const char* message = zr4700::EngineResultMessage(result);
        std::fprintf(stderr, "%s\n", message ? message : "Unknown error.");
        return result - (kFirstResult - 1);
    }
    if (argc <= 1) {
        std::printf("Keyboard type: %d (%s)\n", deviceType,
                    zr4700::KeyboardTypeMeaning(deviceType));
    }
    return 0;
}
