#include "programming/Device.h"

#include "programming/SimulatedKeyboard.h"

#include <charconv>
#include <cstdlib>

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

std::unique_ptr<DeviceHandle> OpenDevice(std::string_view address) {
    if (address == kSimPrefix || address.starts_with("sim:")) {
        return OpenSimAddress(address);
    }
    if (address.starts_with(kUnixPrefix)) {
        return OpenUnixSocketDevice(std::string(address.substr(kUnixPrefix.size())));
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

std::unique_ptr<DeviceHandle> OpenDevice() {
    return OpenDevice(DeviceAddress());
}

// Backends a platform lacks open nothing.
#ifdef _WIN32
std::unique_ptr<DeviceHandle> OpenDeviceNode(const std::string&) {
    return nullptr;
}
std::unique_ptr<DeviceHandle> OpenUnixSocketDevice(const std::string&) {
    return nullptr;
}
#else
std::unique_ptr<DeviceHandle> OpenWin32Device(const std::string&) {
    return nullptr;
}
#endif

} // namespace zr4700
