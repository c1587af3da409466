// The unix:PATH backend: the keyboard simulator zr4700-sim listening on a Unix stream socket.
// One connection per handle; the frames are described in SimSocketProtocol.h.
//
// Every wait is bounded by kDeviceTimeout, connecting included: a simulator whose listen queue
// is full (it stopped accepting) or that never answers must not hold the sender for ever. The
// socket is non-blocking and each wait is a poll() against a deadline on the steady clock, in
// short slices so that a stop asked for while opening takes effect at once.
#ifndef _WIN32

#include "engine/Device.h"
#include "engine/SimSocketProtocol.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

namespace zr4700 {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL; // a vanished simulator must not kill the sender
#else
constexpr int kSendFlags = 0;
#endif

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kWaitSlice{20};
// How long a byte's answer is still waited for once a stop is asked for: an answer normally
// takes well under a millisecond.
constexpr std::chrono::milliseconds kStopAnswerGrace{50};

// Waits until fd is ready for events or the deadline passes. When abortable, a stop of the
// thread's ScopedDeviceStop ends the wait too; otherwise (a byte in flight) the stop leaves the
// wait kStopAnswerGrace more: an answer that is on its way still arrives, so the sender knows
// whether the keyboard took the byte, but a keyboard that has stalled is not waited for.
// Returns true when fd is ready.
bool WaitReady(int fd, short events, Clock::time_point deadline, bool abortable) {
    bool stopSeen = false;
    for (;;) {
        if (!stopSeen && DeviceStopRequested()) {
            if (abortable) {
                return false;
            }
            stopSeen = true;
            deadline = std::min(deadline, Clock::now() + kStopAnswerGrace);
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd entry{fd, events, 0};
        const int ready =
            ::poll(&entry, 1, static_cast<int>(std::min<long long>(left, kWaitSlice.count())));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

bool SendAll(int fd, const std::uint8_t* data, std::size_t size, Clock::time_point deadline,
             bool abortable) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, kSendFlags);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (errno != EINTR && !WaitReady(fd, POLLOUT, deadline, abortable)) {
                return false;
            }
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

bool ReceiveAll(int fd, std::uint8_t* data, std::size_t size, Clock::time_point deadline,
                bool abortable) {
    while (size > 0) {
        const ssize_t got = ::recv(fd, data, size, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (errno != EINTR && !WaitReady(fd, POLLIN, deadline, abortable)) {
                return false;
            }
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
        // A byte in flight is waited for a moment longer when a stop is asked for (see
        // WaitReady); any other request may be dropped at once.
        const bool abortable = request != kSendByteRequest;
        const Clock::time_point deadline = Clock::now() + kDeviceTimeout;
        // One write per request keeps the round trip to a single wake-up of the simulator.
        std::vector<std::uint8_t> frame(kRequestHeaderSize + header.inSize);
        const auto encoded = EncodeRequestHeader(header);
        std::memcpy(frame.data(), encoded.data(), encoded.size());
        if (header.inSize > 0) {
            std::memcpy(frame.data() + kRequestHeaderSize, in, header.inSize);
        }
        if (!SendAll(fd_, frame.data(), frame.size(), deadline, abortable)) {
            return false;
        }
        std::uint8_t reply[kReplyHeaderSize];
        if (!ReceiveAll(fd_, reply, sizeof reply, deadline, abortable)) {
            return false;
        }
        const std::uint32_t count = reply[1];
        if (count > header.outSize) {
            return false;
        }
        if (count > 0 && !ReceiveAll(fd_, out, count, deadline, abortable)) {
            return false;
        }
        returned = count;
        return reply[0] == 1;
    }

  private:
    int fd_;
};

// Connects without blocking. A Unix socket connects at once or, with the listener's queue full,
// fails with EAGAIN; it is tried again until the deadline.
bool Connect(int fd, const sockaddr_un& address, Clock::time_point deadline) {
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            return true;
        }
        if (errno == EISCONN) {
            return true;
        }
        if (errno != EAGAIN && errno != EINTR && errno != EINPROGRESS && errno != EALREADY) {
            return false;
        }
        if (errno == EINPROGRESS || errno == EALREADY) {
            if (!WaitReady(fd, POLLOUT, deadline, true)) {
                return false;
            }
            int error = 0;
            socklen_t length = sizeof error;
            return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
        if (DeviceStopRequested() || Clock::now() + kWaitSlice > deadline) {
            return false;
        }
        std::this_thread::sleep_for(kWaitSlice);
    }
}

} // namespace

std::unique_ptr<DeviceHandle> OpenUnixSocketDevice(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return nullptr;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return nullptr;
    }
    const Clock::time_point deadline = Clock::now() + kDeviceTimeout;
    std::uint8_t greeting = simsocket::kHandleBusy;
    // The simulator's first byte says whether this connection is the handle or another one
    // holds the keyboard.
    if (!Connect(fd, address, deadline)) {
        ::close(fd);
        return nullptr;
    }
    const bool greeted = ReceiveAll(fd, &greeting, 1, deadline, true);
    if (!greeted || greeting != simsocket::kHandleOpened) {
        // Said in words: errno may still hold the EAGAIN of a read that found nothing yet.
        SetDeviceOpenReason(greeted ? "in use by another program" : "the simulator did not answer");
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<UnixSocketHandle>(fd);
}

} // namespace zr4700

#endif
