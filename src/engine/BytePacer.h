#pragma once

#include <chrono>

namespace zr4700 {

// The keyboard needs at least 3 ms between two bytes of a transfer.
constexpr std::chrono::milliseconds kDefaultBytePause{3};

// The pause currently in force: kDefaultBytePause unless a ScopedBytePause shortened it.
std::chrono::nanoseconds BytePause();

// Test hook: replaces the pause between bytes for the whole process while it lives, so that
// tests of the engine's logic need not wait 3 ms per byte. Never used by the programs.
class ScopedBytePause {
  public:
    explicit ScopedBytePause(std::chrono::nanoseconds pause);
    ~ScopedBytePause();
    ScopedBytePause(const ScopedBytePause&) = delete;
    ScopedBytePause& operator=(const ScopedBytePause&) = delete;

  private:
    std::chrono::nanoseconds previous_;
};

// Paces one transfer. A plain sleep of 3 ms overshoots by tens of microseconds every byte,
// which adds up over 2000 bytes, so Pause() sleeps to just before a deadline on the steady
// clock and spins the rest. While the pacer lives the calling thread asks the system for fine
// timers (timer resolution on Windows, timer slack on Linux).
class BytePacer {
  public:
    BytePacer();
    ~BytePacer();
    BytePacer(const BytePacer&) = delete;
    BytePacer& operator=(const BytePacer&) = delete;

    // Returns no earlier than BytePause() from now.
    void Pause() const;

  private:
    std::chrono::nanoseconds pause_;
    unsigned long previousSlack_ = 0;
    bool restoreSlack_ = false;
};

} // namespace zr4700
