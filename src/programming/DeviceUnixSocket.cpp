// The unix:PATH backend: the keyboard simulator zr4700-sim listening on a Unix stream socket.
// One connection per handle; the frames are described in SimSocketProtocol.h.
#ifndef _WIN32

#include "programming/Device.h"
#include "programming/SimSocketProtocol.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace zr4700 {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL; // a vanished simulator must not kill the sender
#else
constexpr int kSendFlags = 0;
#endif

bool SendAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, kSendFlags);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int fd, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::recv(fd, data, size, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

class UnixSocketHandle final : public DeviceHandle {
  public:
    explicit UnixSocketHandle(int fd) : fd_(fd) {}
    ~UnixSocketHandle() override { ::close(fd_); }
    UnixSocketHandle(const UnixSocketHandle&) = delete;
    UnixSocketHandle& operator=(const UnixSocketHandle&) = delete;

    bool Control(std::uint32_t request, const std::uint8_t* in, std::uint32_t inSize,
                 std::uint8_t* out, std::uint32_t outSize, std::uint32_t& returned) override {
        returned = 0;
        using namespace simsocket;
        const RequestHeader header{request, in ? inSize : 0, out ? outSize : 0};
        if (!IsValid(header)) {
            return false;
        }
        // One write per request keeps the round trip to a single wake-up of the simulator.
        std::vector<std::uint8_t> frame(kRequestHeaderSize + header.inSize);
        const auto encoded = EncodeRequestHeader(header);
        std::memcpy(frame.data(), encoded.data(), encoded.size());
        if (header.inSize > 0) {
            std::memcpy(frame.data() + kRequestHeaderSize, in, header.inSize);
        }
        if (!SendAll(fd_, frame.data(), frame.size())) {
            return false;
        }
        std::uint8_t reply[kReplyHeaderSize];
        if (!ReceiveAll(fd_, reply, sizeof reply)) {
            return false;
        }
        const std::uint32_t count = reply[1];
        if (count > header.outSize) {
            return false;
        }
        if (count > 0 && !ReceiveAll(fd_, out, count)) {
            return false;
        }
        returned = count;
        return reply[0] == 1;
    }

  private:
    int fd_;
};

} // namespace

std::unique_ptr<DeviceHandle> OpenUnixSocketDevice(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return nullptr;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
#ifdef SOCK_CLOEXEC
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
#else
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
#endif
    if (fd < 0) {
        return nullptr;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        ::close(fd);
        return nullptr;
    }
    // A simulator that stops answering must not hold the sender forever (a cancelled transfer
    // waits for the byte in flight): a request that takes this long fails like a refused one.
    const timeval timeout{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    return std::make_unique<UnixSocketHandle>(fd);
}

} // namespace zr4700

#endif
