// The device-node backend: a driver that exposes the keyboard as a character device (by
// default /dev/zr4700) and takes the same two request codes as the Windows driver through
// ioctl(). Its argument is a pointer to a one-byte buffer in both directions: the type query
// fills it and returns how many bytes it filled (1); the byte transfer reads the byte from it
// and returns 0. A result of -1 is a failed request.
//
// Opening never waits and never shares: the node is opened without blocking (a FIFO or a device
// that waits for a peer would hold the sender for ever), refused unless it is a character device,
// and locked exclusively without waiting, so a second sender fails to open it, as a second
// CreateFile of the Windows driver does, instead of mixing its bytes into the first transfer.
#ifndef _WIN32

#include "engine/Device.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zr4700 {

namespace {

class DeviceNodeHandle final : public DeviceHandle {
  public:
    explicit DeviceNodeHandle(int fd) : fd_(fd) {}
    ~DeviceNodeHandle() override { ::close(fd_); }
    DeviceNodeHandle(const DeviceNodeHandle&) = delete;
    DeviceNodeHandle& operator=(const DeviceNodeHandle&) = delete;

    bool Control(std::uint32_t request, const std::uint8_t* in, std::uint32_t inSize,
                 std::uint8_t* out, std::uint32_t outSize, std::uint32_t& returned) override {
        returned = 0;
        std::uint8_t buffer = 0;
        if (inSize > 1 || outSize > 1) {
            return false;
        }
        if (in && inSize == 1) {
            buffer = *in;
        }
        // A request the driver lets a signal interrupt is made again, unless the signal asked
        // the transfer to stop: a stalled keyboard must not hold a stop back.
        int result;
        do {
            result = ::ioctl(fd_, static_cast<unsigned long>(request), &buffer);
        } while (result < 0 && errno == EINTR && !DeviceStopRequested());
        if (result < 0) {
            return false;
        }
        if (out && outSize == 1 && result >= 1) {
            *out = buffer;
            returned = 1;
        }
        return true;
    }

  private:
    int fd_;
};

} // namespace

std::unique_ptr<DeviceHandle> OpenDeviceNode(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return nullptr;
    }
    // The handle owns the descriptor from here: every refusal below closes it.
    auto handle = std::make_unique<DeviceNodeHandle>(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) {
        SetDeviceOpenReason("not a character device");
        return nullptr;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked < 0 && errno == EINTR);
    if (locked < 0) {
        if (errno == EWOULDBLOCK)
            SetDeviceOpenReason("in use by another program");
        return nullptr;
    }
    // The requests themselves are synchronous, as the driver's are.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        return nullptr;
    }
    return handle;
}

} // namespace zr4700

#endif
