#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace zr4700 {

// Called once per step of a transfer (about one per percent); the transfer waits until it
// returns. An empty function means nobody follows the steps.
using StepNotify = std::function<void()>;

// SendImage's result when stopRequested became true before every byte was sent.
constexpr int kSendStopped = -4;
// The same when the stop ended the wait for the keyboard's answer to a byte: the keyboard may
// or may not have taken that byte.
constexpr int kSendStoppedUnanswered = -5;

// Asks the keyboard its type through its own device handle. Returns the type 0, 1 or 2;
// -1 when the keyboard reports a type above 2; -2 when the device cannot be opened; -3 when the
// request fails or does not return exactly one byte.
int DetectKeyboard();
// The same, and *typeReply (may be null) receives the byte the keyboard answered with, or -1
// when it gave none, so that a caller can say which unknown type it reported.
int DetectKeyboard(int* typeReply);

// Sends size bytes of image, one request per byte in image order, with the byte pause between
// them, through its own device handle. notify is called before the byte when the number of
// bytes still to send (that one included) is a multiple of size / 100, so never for sizes
// below 100. stopRequested (may be null) is read before every byte: once true, the transfer
// ends there and kSendStopped is returned. A stop while the keyboard has not answered a byte
// ends that wait too (the device layer waits only a moment more) and gives
// kSendStoppedUnanswered.
// Returns 0 when every byte was taken (also for size 0, without opening the device); -1 when
// the device cannot be opened; -2 when a byte was refused (the bytes before it stay sent);
// -3 when there is no image (null or a negative size).
int SendImage(const std::uint8_t* image, int size, const StepNotify& notify,
              const std::atomic<bool>* stopRequested = nullptr);
// The same, and *bytesSent (may be null) receives how many bytes the keyboard took.
int SendImage(const std::uint8_t* image, int size, const StepNotify& notify,
              const std::atomic<bool>* stopRequested, int* bytesSent);

} // namespace zr4700
