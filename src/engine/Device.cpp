#include "engine/Device.h"

#include "engine/SimulatedKeyboard.h"
#include "engine/TcpAddress.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace zr4700 {

namespace {

thread_local const std::atomic<bool>* deviceStop = nullptr;

constexpr std::string_view kSimPrefix = "sim";
constexpr std::string_view kUnixPrefix = "unix:";

std::unique_ptr<DeviceHandle> OpenSimAddress(std::string_view address) {
    if (address == kSimPrefix) {
        return OpenSimulatedDevice(InProcessKeyboard(), std::nullopt);
    }
    std::string_view number = address.substr(kSimPrefix.size() + 1);
    int type = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), type);
    if (error != std::errc() || end != number.data() + number.size() || number.empty() ||
        type < 0 || type > 255) {
        return nullptr;
    }
    return OpenSimulatedDevice(InProcessKeyboard(), type);
}

} // namespace

ScopedDeviceStop::ScopedDeviceStop(const std::atomic<bool>* stop) : previous_(deviceStop) {
    deviceStop = stop;
}

ScopedDeviceStop::~ScopedDeviceStop() {
    deviceStop = previous_;
}

bool DeviceStopRequested() {
    return deviceStop && deviceStop->load();
}

std::string DefaultDeviceAddress() {
#ifdef _WIN32
    return "\\\\.\\zr4700";
#else
    return "/dev/zr4700";
#endif
}

std::string DeviceAddress() {
    const char* fromEnvironment = std::getenv("ZR4700_DEVICE");
    if (fromEnvironment && *fromEnvironment) {
        return fromEnvironment;
    }
    return DefaultDeviceAddress();
}

namespace {

thread_local std::string lastDeviceError;
thread_local std::string openReason;

std::unique_ptr<DeviceHandle> OpenAddress(std::string_view address);

} // namespace

std::string LastDeviceError() {
    return lastDeviceError;
}

void SetDeviceOpenReason(std::string reason) {
    openReason = std::move(reason);
}

std::unique_ptr<DeviceHandle> OpenDevice(std::string_view address) {
    openReason.clear();
    errno = 0;
    std::unique_ptr<DeviceHandle> handle = OpenAddress(address);
    const int error = errno;
    if (handle) {
        lastDeviceError.clear();
        return handle;
    }
    std::string reason = openReason;
    if (reason.empty())
        reason = error != 0 ? std::strerror(error) : "the device cannot be opened";
    lastDeviceError = std::string(address.empty() ? "(no address)" : address) + ": " + reason;
    return nullptr;
}

namespace {

std::unique_ptr<DeviceHandle> OpenAddress(std::string_view address) {
    if (address == kSimPrefix || address.starts_with("sim:")) {
        SetDeviceOpenReason("in use by another program, or no such simulated keyboard");
        return OpenSimAddress(address);
    }
    if (address.starts_with(kUnixPrefix)) {
        return OpenUnixSocketDevice(std::string(address.substr(kUnixPrefix.size())));
    }
    if (address.starts_with(kTcpPrefix)) {
        return OpenTcpSocketDevice(std::string(address.substr(kTcpPrefix.size())));
    }
    if (address.empty()) {
        return nullptr;
    }
#ifdef _WIN32
    return OpenWin32Device(std::string(address));
#else
    return OpenDeviceNode(std::string(address));
#endif
}

} // namespace

std::unique_ptr<DeviceHandle> OpenDevice() {
    return OpenDevice(DeviceAddress());
}

// Backends a platform lacks open nothing.
#ifdef _WIN32
std::unique_ptr<DeviceHandle> OpenDeviceNode(const std::string&) {
    return nullptr;
}
#else
std::unique_ptr<DeviceHandle> OpenWin32Device(const std::string&) {
    return nullptr;
}
#endif

} // namespace zr4700
