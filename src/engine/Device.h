#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zr4700 {

class SimulatedKeyboard;

// The keyboard driver's two device-control requests.
constexpr std::uint32_t kTypeQueryRequest = 0x222800; // no input, 1 byte out: the type
constexpr std::uint32_t kSendByteRequest = 0x222804;  // 1 byte in: the next image byte

// One open handle on the keyboard's driver (or what stands in for it). Closing is destroying.
class DeviceHandle {
  public:
    virtual ~DeviceHandle() = default;
    // One synchronous device-control request. Returns false when the request failed;
    // returned receives how many bytes were written to out.
    virtual bool Control(std::uint32_t request, const std::uint8_t* in, std::uint32_t inSize,
                         std::uint8_t* out, std::uint32_t outSize, std::uint32_t& returned) = 0;
};

// Every wait of the device layer is bounded: connecting to the simulator, its answer to a new
// handle, and each request give up after this long.
constexpr std::chrono::seconds kDeviceTimeout{5};

// While it lives, the device layer's waits on this thread (opening a handle, a type query) also
// give up as soon as *stop is true, so that a stop asked for while the device is slow to answer
// takes effect at once. A byte in flight is still waited for. stop may be null.
class ScopedDeviceStop {
  public:
    explicit ScopedDeviceStop(const std::atomic<bool>* stop);
    ~ScopedDeviceStop();
    ScopedDeviceStop(const ScopedDeviceStop&) = delete;
    ScopedDeviceStop& operator=(const ScopedDeviceStop&) = delete;

  private:
    const std::atomic<bool>* previous_;
};
// True when the stop of the innermost ScopedDeviceStop of this thread is set.
bool DeviceStopRequested();

// The address every operation opens: the environment variable ZR4700_DEVICE when it is set and
// not empty, else the platform's own device ("\\.\zr4700" on Windows, "/dev/zr4700" elsewhere).
//   sim, sim:N   the in-process simulated keyboard (sim:N sets its type to N at every open)
//   unix:PATH    the simulator program zr4700-sim listening on a Unix socket at PATH (not in the
//                Windows build)
//   tcp:HOST:PORT  zr4700-sim listening with --listen on the loopback interface (HOST is
//                127.0.0.1 or localhost; see TcpAddress.h)
//   anything else  a device path for the platform's driver backend
std::string DeviceAddress();
std::string DefaultDeviceAddress();

// Opens a handle on an address; nullptr when it cannot be opened, also when another handle on
// the same device is open (the keyboard's driver is opened without sharing, so every backend
// allows one handle at a time).
std::unique_ptr<DeviceHandle> OpenDevice(std::string_view address);

// Why the last OpenDevice of this thread failed, as "ADDRESS: reason" (for example
// "/dev/zr4700: No such file or directory"); empty after an open that succeeded.
std::string LastDeviceError();
// For the backends: the reason an open is about to fail with, when errno does not say it.
void SetDeviceOpenReason(std::string reason);
// Opens a handle on DeviceAddress().
std::unique_ptr<DeviceHandle> OpenDevice();

// The backends behind OpenDevice. Each returns nullptr where the platform lacks it.
std::unique_ptr<DeviceHandle> OpenWin32Device(const std::string& path);
std::unique_ptr<DeviceHandle> OpenDeviceNode(const std::string& path);
std::unique_ptr<DeviceHandle> OpenUnixSocketDevice(const std::string& path);
// endpoint is the HOST:PORT after "tcp:"; an address that is not loopback is refused.
std::unique_ptr<DeviceHandle> OpenTcpSocketDevice(const std::string& endpoint);
// type, when given, becomes the keyboard's type before the handle opens.
std::unique_ptr<DeviceHandle> OpenSimulatedDevice(SimulatedKeyboard& keyboard,
                                                  std::optional<int> type);

} // namespace zr4700
