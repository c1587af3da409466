#include "engine/BytePacer.h"

#include <atomic>
#include <thread>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, whose types it uses; the lean windows.h leaves it out.
#include <mmsystem.h> // timeBeginPeriod, timeEndPeriod (winmm)
#elif defined(__linux__)
#include <sys/prctl.h>
#endif

namespace zr4700 {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<std::chrono::nanoseconds::rep> pauseNanoseconds{
    std::chrono::nanoseconds(kDefaultBytePause).count()};

// How long before the deadline the sleep ends and the spin begins: more than a sleep's usual
// overshoot with fine timers, little enough that the spin costs a small share of a CPU.
#ifdef _WIN32
constexpr std::chrono::microseconds kSpinMargin{1200};
#else
constexpr std::chrono::microseconds kSpinMargin{200};
#endif

} // namespace

std::chrono::nanoseconds BytePause() {
    return std::chrono::nanoseconds(pauseNanoseconds.load());
}

ScopedBytePause::ScopedBytePause(std::chrono::nanoseconds pause) : previous_(BytePause()) {
    pauseNanoseconds.store(pause.count());
}

ScopedBytePause::~ScopedBytePause() {
    pauseNanoseconds.store(previous_.count());
}

BytePacer::BytePacer() : pause_(BytePause()) {
#ifdef _WIN32
    timeBeginPeriod(1);
#elif defined(__linux__)
    int slack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    if (slack >= 0 && prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0) {
        previousSlack_ = static_cast<unsigned long>(slack);
        restoreSlack_ = true;
    }
#endif
}

BytePacer::~BytePacer() {
#ifdef _WIN32
    timeEndPeriod(1);
#elif defined(__linux__)
    if (restoreSlack_) {
        prctl(PR_SET_TIMERSLACK, previousSlack_, 0, 0, 0);
    }
#endif
}

void BytePacer::Pause() const {
    const Clock::time_point deadline = Clock::now() + pause_;
    const Clock::time_point wakeUp = deadline - kSpinMargin;
    if (Clock::now() < wakeUp) {
        std::this_thread::sleep_until(wakeUp);
    }
    while (Clock::now() < deadline) {
        // Spin: the last stretch is shorter than the timer can be trusted with.
    }
}

} // namespace zr4700
