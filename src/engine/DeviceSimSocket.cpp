// The backends that reach the keyboard simulator zr4700-sim over a stream socket: unix:PATH (a
// Unix socket, not in the Windows build) and tcp:127.0.0.1:PORT (loopback TCP, on every
// platform: Wine has no Unix sockets, so this is how the Windows build reaches a simulator).
// One connection per handle; the frames are described in SimSocketProtocol.h.
//
// Every wait is bounded by kDeviceTimeout, connecting included: a simulator whose listen queue
// is full (it stopped accepting) or that never answers must not hold the sender for ever. The
// socket is non-blocking and each wait polls against a deadline on the steady clock, in short
// slices so that a stop asked for while opening takes effect at once.

#include "engine/Device.h"
#include "engine/SimSocketProtocol.h"
#include "engine/TcpAddress.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

namespace zr4700 {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kWaitSlice{20};
// How long a byte's answer is still waited for once a stop is asked for: an answer normally
// takes well under a millisecond.
constexpr std::chrono::milliseconds kStopAnswerGrace{50};

enum class Direction { In, Out };

#ifdef _WIN32

using NativeSocket = SOCKET;
constexpr NativeSocket kNoSocket = INVALID_SOCKET;

int LastSocketError() {
    return WSAGetLastError();
}
bool WouldBlock(int error) {
    return error == WSAEWOULDBLOCK;
}
bool Interrupted(int error) {
    return error == WSAEINTR;
}
// A non-blocking connect under way says "would block" on Windows.
bool ConnectUnderWay(int error) {
    return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAEALREADY;
}
bool ConnectAgainLater(int) {
    return false;
}
bool AlreadyConnected(int error) {
    return error == WSAEISCONN;
}

std::string SocketErrorText(int error) {
    switch (error) {
    case WSAECONNREFUSED:
        return "Connection refused";
    case WSAECONNRESET:
        return "Connection reset by peer";
    case WSAETIMEDOUT:
        return "Connection timed out";
    case WSAENETUNREACH:
        return "Network is unreachable";
    case WSAEADDRNOTAVAIL:
        return "Cannot assign requested address";
    default:
        return "Windows Sockets error " + std::to_string(error);
    }
}

NativeSocket NewSocket(int family) {
    const NativeSocket socket = ::socket(family, SOCK_STREAM, 0);
    u_long nonBlocking = 1;
    if (socket != kNoSocket && ::ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) {
        ::closesocket(socket);
        return kNoSocket;
    }
    return socket;
}

void CloseSocket(NativeSocket socket) {
    ::closesocket(socket);
}

long long SendSome(NativeSocket socket, const std::uint8_t* data, std::size_t size) {
    return ::send(socket, reinterpret_cast<const char*>(data), static_cast<int>(size), 0);
}

long long ReceiveSome(NativeSocket socket, std::uint8_t* data, std::size_t size) {
    return ::recv(socket, reinterpret_cast<char*>(data), static_cast<int>(size), 0);
}

// select() rather than WSAPoll(), which on Windows before 10 2004 never reports a connection
// that failed. A failed connect shows in the exception set and counts as ready: the next call
// says what went wrong. Returns > 0 ready, 0 not yet, < 0 failed.
int WaitOnce(NativeSocket socket, Direction direction, int milliseconds) {
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(0, direction == Direction::In ? &ready : nullptr,
                    direction == Direction::Out ? &ready : nullptr, &failed, &timeout);
}

// Windows Sockets counts its users: each handle is one.
class SocketLibrary {
  public:
    SocketLibrary() {
        WSADATA data;
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~SocketLibrary() {
        if (started_) {
            ::WSACleanup();
        }
    }
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;
    bool started() const { return started_; }

  private:
    bool started_ = false;
};

#else

using NativeSocket = int;
constexpr NativeSocket kNoSocket = -1;

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL; // a vanished simulator must not kill the sender
#else
constexpr int kSendFlags = 0;
#endif

int LastSocketError() {
    return errno;
}
bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}
bool Interrupted(int error) {
    return error == EINTR;
}
bool ConnectUnderWay(int error) {
    return error == EINPROGRESS || error == EALREADY;
}
// A Unix socket whose listener's queue is full fails with EAGAIN: try again until the deadline.
bool ConnectAgainLater(int error) {
    return error == EAGAIN || error == EINTR;
}
bool AlreadyConnected(int error) {
    return error == EISCONN;
}

std::string SocketErrorText(int error) {
    return std::strerror(error);
}

NativeSocket NewSocket(int family) {
    return ::socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

void CloseSocket(NativeSocket socket) {
    ::close(socket);
}

long long SendSome(NativeSocket socket, const std::uint8_t* data, std::size_t size) {
    return ::send(socket, data, size, kSendFlags);
}

long long ReceiveSome(NativeSocket socket, std::uint8_t* data, std::size_t size) {
    return ::recv(socket, data, size, 0);
}

int WaitOnce(NativeSocket socket, Direction direction, int milliseconds) {
    pollfd entry{socket, static_cast<short>(direction == Direction::In ? POLLIN : POLLOUT), 0};
    const int ready = ::poll(&entry, 1, milliseconds);
    return ready < 0 && errno == EINTR ? 0 : ready;
}

class SocketLibrary {
  public:
    bool started() const { return true; }
};

#endif

// Waits until the socket is ready or the deadline passes. When abortable, a stop of the
// thread's ScopedDeviceStop ends the wait too; otherwise (a byte in flight) the stop leaves the
// wait kStopAnswerGrace more: an answer that is on its way still arrives, so the sender knows
// whether the keyboard took the byte, but a keyboard that has stalled is not waited for.
// Returns true when the socket is ready.
bool WaitReady(NativeSocket socket, Direction direction, Clock::time_point deadline,
               bool abortable) {
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
        const int ready = WaitOnce(socket, direction,
                                   static_cast<int>(std::min<long long>(left, kWaitSlice.count())));
        if (ready != 0) {
            return ready > 0;
        }
    }
}

// Sends (Direction::Out) or receives (Direction::In) all size bytes with step, SendSome or
// ReceiveSome, waiting for the socket whenever it would block.
template <typename Byte, typename Step>
bool TransferAll(NativeSocket socket, Byte* data, std::size_t size, Direction direction,
                 Clock::time_point deadline, bool abortable, Step step) {
    while (size > 0) {
        const long long done = step(socket, data, size);
        if (done < 0) {
            const int error = LastSocketError();
            if (Interrupted(error)) {
                continue;
            }
            if (WouldBlock(error) && WaitReady(socket, direction, deadline, abortable)) {
                continue;
            }
            return false;
        }
        if (done == 0) {
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

bool SendAll(NativeSocket socket, const std::uint8_t* data, std::size_t size,
             Clock::time_point deadline, bool abortable) {
    return TransferAll(socket, data, size, Direction::Out, deadline, abortable, SendSome);
}

bool ReceiveAll(NativeSocket socket, std::uint8_t* data, std::size_t size,
                Clock::time_point deadline, bool abortable) {
    return TransferAll(socket, data, size, Direction::In, deadline, abortable, ReceiveSome);
}

// Connects without blocking. Returns 0, or the socket error that made it fail (-1 for a
// deadline passed or a stop).
int Connect(NativeSocket socket, const sockaddr* address, socklen_t size,
            Clock::time_point deadline) {
    for (;;) {
        if (::connect(socket, address, size) == 0) {
            return 0;
        }
        const int error = LastSocketError();
        if (AlreadyConnected(error)) {
            return 0;
        }
        if (ConnectUnderWay(error)) {
            if (!WaitReady(socket, Direction::Out, deadline, true)) {
                return -1;
            }
            int result = 0;
            socklen_t length = sizeof result;
            if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result),
                             &length) != 0) {
                return LastSocketError();
            }
            return result;
        }
        if (!ConnectAgainLater(error)) {
            return error;
        }
        if (DeviceStopRequested() || Clock::now() + kWaitSlice > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(kWaitSlice);
    }
}

class SimSocketHandle final : public DeviceHandle {
  public:
    SimSocketHandle() = default;
    ~SimSocketHandle() override {
        if (socket_ != kNoSocket) {
            CloseSocket(socket_);
        }
    }
    SimSocketHandle(const SimSocketHandle&) = delete;
    SimSocketHandle& operator=(const SimSocketHandle&) = delete;

    // Connects and takes the simulator's greeting. On failure the reason is set for
    // LastDeviceError.
    bool Open(int family, const sockaddr* address, socklen_t size) {
        if (!library_.started()) {
            SetDeviceOpenReason("Windows Sockets cannot be started");
            return false;
        }
        socket_ = NewSocket(family);
        if (socket_ == kNoSocket) {
            SetDeviceOpenReason(SocketErrorText(LastSocketError()));
            return false;
        }
        if (family == AF_INET) {
            // One small frame per request and its answer: without this, Nagle's algorithm and
            // delayed acknowledgements could hold a frame back for tens of milliseconds.
            const int on = 1;
            ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                         sizeof on);
        }
        const Clock::time_point deadline = Clock::now() + kDeviceTimeout;
        const int error = Connect(socket_, address, size, deadline);
        if (error != 0) {
            SetDeviceOpenReason(error > 0 ? SocketErrorText(error)
                                          : "the simulator did not take the connection");
            return false;
        }
        // The simulator's first byte says whether this connection is the handle or another
        // one holds the keyboard.
        std::uint8_t greeting = simsocket::kHandleBusy;
        const bool greeted = ReceiveAll(socket_, &greeting, 1, deadline, true);
        if (!greeted || greeting != simsocket::kHandleOpened) {
            SetDeviceOpenReason(greeted ? "in use by another program"
                                        : "the simulator did not answer");
            return false;
        }
        return true;
    }

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
        if (!SendAll(socket_, frame.data(), frame.size(), deadline, abortable)) {
            return false;
        }
        std::uint8_t reply[kReplyHeaderSize];
        if (!ReceiveAll(socket_, reply, sizeof reply, deadline, abortable)) {
            return false;
        }
        const std::uint32_t count = reply[1];
        if (count > header.outSize) {
            return false;
        }
        if (count > 0 && !ReceiveAll(socket_, out, count, deadline, abortable)) {
            return false;
        }
        returned = count;
        return reply[0] == 1;
    }

  private:
    SocketLibrary library_; // first in, last out: it outlives the socket
    NativeSocket socket_ = kNoSocket;
};

std::unique_ptr<DeviceHandle> OpenSimSocket(int family, const sockaddr* address, socklen_t size) {
    auto handle = std::make_unique<SimSocketHandle>();
    if (!handle->Open(family, address, size)) {
        return nullptr;
    }
    return handle;
}

} // namespace

std::unique_ptr<DeviceHandle> OpenTcpSocketDevice(const std::string& endpointText) {
    const TcpEndpointParse parsed = ParseTcpEndpoint(endpointText, PortZero::Refused);
    if (!parsed.endpoint) {
        SetDeviceOpenReason(parsed.error);
        return nullptr;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // the only host ParseTcpEndpoint gives
    address.sin_port = htons(parsed.endpoint->port);
    return OpenSimSocket(AF_INET, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

#ifdef _WIN32

std::unique_ptr<DeviceHandle> OpenUnixSocketDevice(const std::string&) {
    // Windows 10 has Unix sockets, but Wine, where this build is tested, has none.
    SetDeviceOpenReason("the Windows build has no unix: addresses; start zr4700-sim with "
                        "--listen 127.0.0.1:PORT and use tcp:127.0.0.1:PORT");
    return nullptr;
}

#else

std::unique_ptr<DeviceHandle> OpenUnixSocketDevice(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        SetDeviceOpenReason("a socket path takes 1 to " +
                            std::to_string(sizeof address.sun_path - 1) + " bytes");
        return nullptr;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return OpenSimSocket(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

#endif

} // namespace zr4700
