// zr4700-sim: stands in for a ZR-4700 keyboard and its driver where none is installed.
//
// It listens on a Unix stream socket, which the device address unix:PATH reaches, or with
// --listen on a loopback TCP port, which tcp:127.0.0.1:PORT reaches (the Windows build under
// Wine has no Unix sockets). Every connection is one device handle and carries the device-control
// requests of that handle, framed as described in programming/SimSocketProtocol.h. After a handle
// that took image bytes without a refusal closes, it prints what the keyboard now holds.

#include "engine/Device.h"
#include "engine/SimSocketProtocol.h"
#include "engine/SimulatedKeyboard.h"
#include "engine/TcpAddress.h"

#include <arpa/inet.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zr4700::SimulatedKeyboard;

struct Options {
    std::string socketPath;
    std::optional<zr4700::TcpEndpoint> listenEndpoint;
    int type = 2;
    std::optional<int> typeReply;
    bool noTypeByte = false;
    int refuseByte = 0;
    std::string recordPath;
    std::string statsPath;
};

constexpr const char* kUsage =
    "usage: zr4700-sim (--socket PATH | --listen 127.0.0.1:PORT) [--type N] [--type-reply B]\n"
    "                  [--no-type-byte] [--refuse-byte N] [--record FILE] [--stats FILE]\n"
    "  --socket PATH     listen on a Unix socket at PATH until SIGINT or SIGTERM\n"
    "  --listen 127.0.0.1:PORT\n"
    "                    listen on that loopback TCP port instead (localhost names the same;\n"
    "                    port 0 takes a free one); the first line on stderr names the address\n"
    "  --type N          the keyboard type reported: 0, 1 or 2 (default 2)\n"
    "  --type-reply B    answer the type query with the byte B (0..255) instead\n"
    "  --no-type-byte    the type query succeeds but returns no byte\n"
    "  --refuse-byte N   the N-th byte request (1-based) on each handle fails\n"
    "  --record FILE     append every byte accepted to FILE at once\n"
    "  --stats FILE      rewrite FILE with the counters as JSON after every handle closes\n";

bool ParseInt(const char* text, int low, int high, int& value) {
    const std::string_view view(text);
    auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    return error == std::errc() && end == view.data() + view.size() && !view.empty() &&
           value >= low && value <= high;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option(argv[i]);
        const bool hasValue = i + 1 < argc;
        if (option == "--no-type-byte") {
            options.noTypeByte = true;
        } else if (option == "--socket" && hasValue) {
            options.socketPath = argv[++i];
        } else if (option == "--listen" && hasValue) {
            const zr4700::TcpEndpointParse parsed =
                zr4700::ParseTcpEndpoint(argv[++i], zr4700::PortZero::Allowed);
            if (!parsed.endpoint) {
                std::fprintf(stderr, "zr4700-sim: --listen %s: %s\n", argv[i],
                             parsed.error.c_str());
                return std::nullopt;
            }
            options.listenEndpoint = parsed.endpoint;
        } else if (option == "--type" && hasValue) {
            if (!ParseInt(argv[++i], 0, 2, options.type)) {
                return std::nullopt;
            }
        } else if (option == "--type-reply" && hasValue) {
            int reply = 0;
            if (!ParseInt(argv[++i], 0, 255, reply)) {
                return std::nullopt;
            }
            options.typeReply = reply;
        } else if (option == "--refuse-byte" && hasValue) {
            if (!ParseInt(argv[++i], 1, 1 << 30, options.refuseByte)) {
                return std::nullopt;
            }
        } else if (option == "--record" && hasValue) {
            options.recordPath = argv[++i];
        } else if (option == "--stats" && hasValue) {
            options.statsPath = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    if (options.socketPath.empty() == !options.listenEndpoint) {
        return std::nullopt; // one of the two, not both
    }
    return options;
}

int signalPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

// Writes to a temporary file and renames it over FILE, so a reader never sees half an object.
void WriteStats(const std::string& path, const std::string& json) {
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file) {
        std::fprintf(stderr, "zr4700-sim: cannot write %s\n", temporary.c_str());
        return;
    }
    std::fputs(json.c_str(), file);
    std::fclose(file);
    std::rename(temporary.c_str(), path.c_str());
}

// Binds under a temporary name and renames into place once listening, so that a client that
// sees the socket file can connect to it.
int Listen(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string bindPath = path + ".new";
    if (bindPath.size() >= sizeof address.sun_path) {
        bindPath = path;
    }
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "zr4700-sim: socket path too long: %s\n", path.c_str());
        return -1;
    }
    // A socket file left behind by an earlier run would make bind fail.
    for (const std::string& candidate : {bindPath, path}) {
        struct stat status {};
        if (::lstat(candidate.c_str(), &status) == 0 && S_ISSOCK(status.st_mode)) {
            ::unlink(candidate.c_str());
        }
    }
    std::memcpy(address.sun_path, bindPath.c_str(), bindPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0 ||
        ::listen(fd, 16) < 0) {
        std::fprintf(stderr, "zr4700-sim: cannot listen on %s: %s\n", path.c_str(),
                     std::strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    if (bindPath != path && ::rename(bindPath.c_str(), path.c_str()) < 0) {
        std::fprintf(stderr, "zr4700-sim: cannot create %s: %s\n", path.c_str(),
                     std::strerror(errno));
        ::unlink(bindPath.c_str());
        ::close(fd);
        return -1;
    }
    return fd;
}

// Listens on the loopback interface; port 0 takes a free port. Returns the socket and sets
// address to the device address that reaches it.
int ListenTcp(const zr4700::TcpEndpoint& endpoint, std::string& address) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in bound{};
    bound.sin_family = AF_INET;
    bound.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // the only host ParseTcpEndpoint gives
    bound.sin_port = htons(endpoint.port);
    socklen_t length = sizeof bound;
    const int on = 1;
    // A port the previous run left in TIME_WAIT is free to take again at once.
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) < 0 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&bound), sizeof bound) < 0 ||
        ::listen(fd, 16) < 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) < 0) {
        std::fprintf(stderr, "zr4700-sim: cannot listen on %s:%u: %s\n", endpoint.host.c_str(),
                     static_cast<unsigned>(endpoint.port), std::strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    address = std::string(zr4700::kTcpPrefix) + endpoint.host + ":" +
              std::to_string(ntohs(bound.sin_port));
    return fd;
}

struct Connection {
    int fd;
    int handle;
    std::vector<std::uint8_t> pending;
};

class Simulator {
  public:
    Simulator(const Options& options, std::FILE* record) : options_(options), record_(record) {
        keyboard_.setType(options.type);
        keyboard_.setTypeReply(options.typeReply);
        keyboard_.setNoTypeByte(options.noTypeByte);
        keyboard_.setRefuseByte(options.refuseByte);
    }

    // The keyboard's driver is opened without sharing: while one connection is the handle, a
    // second one is told so and closed, and its sender gets nothing in.
    void Accept(int listenFd) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        if (options_.listenEndpoint) {
            // Each request and its answer are one small frame: send them at once.
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        }
        const int handle = keyboard_.open();
        const std::uint8_t greeting =
            handle != 0 ? zr4700::simsocket::kHandleOpened : zr4700::simsocket::kHandleBusy;
        const bool told = ::send(fd, &greeting, 1, MSG_NOSIGNAL) == 1;
        if (handle == 0) {
            std::fputs("zr4700-sim: refused a second handle while one is open\n", stderr);
            ::close(fd);
            return;
        }
        connections_.push_back(Connection{fd, handle, {}});
        if (!told) {
            Close(connections_.size() - 1);
        }
    }

    // Reads what arrived and answers every complete request. Returns false when the
    // connection is finished.
    bool Serve(Connection& connection) {
        std::uint8_t buffer[256];
        const ssize_t got = ::recv(connection.fd, buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            return true;
        }
        if (got <= 0) {
            return false;
        }
        connection.pending.insert(connection.pending.end(), buffer, buffer + got);
        using namespace zr4700::simsocket;
        std::size_t used = 0;
        while (connection.pending.size() - used >= kRequestHeaderSize) {
            const std::uint8_t* frame = connection.pending.data() + used;
            const RequestHeader header = DecodeRequestHeader(frame);
            if (!IsValid(header)) {
                return false;
            }
            if (connection.pending.size() - used < kRequestHeaderSize + header.inSize) {
                break;
            }
            const std::uint8_t* in = frame + kRequestHeaderSize;
            std::uint8_t reply[kReplyHeaderSize + kMaxTransferSize] = {};
            std::uint32_t returned = 0;
            const bool ok = keyboard_.control(
                connection.handle, header.request, header.inSize ? in : nullptr, header.inSize,
                header.outSize ? reply + kReplyHeaderSize : nullptr, header.outSize, returned);
            if (ok && header.request == zr4700::kSendByteRequest && record_) {
                std::fputc(in[0], record_);
                std::fflush(record_);
            }
            reply[0] = ok ? 1 : 0;
            reply[1] = static_cast<std::uint8_t>(returned);
            if (::send(connection.fd, reply, kReplyHeaderSize + returned, MSG_NOSIGNAL) < 0) {
                return false;
            }
            used += kRequestHeaderSize + header.inSize;
        }
        connection.pending.erase(connection.pending.begin(),
                                 connection.pending.begin() + static_cast<std::ptrdiff_t>(used));
        return true;
    }

    void Close(std::size_t index) {
        Connection connection = std::move(connections_[index]);
        connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(index));
        ::close(connection.fd);
        const SimulatedKeyboard::HandleSummary summary = keyboard_.close(connection.handle);
        if (summary.completeTransfer()) {
            std::fputs(
                SimulatedKeyboard::describeImage(summary.bytes, keyboard_.reportedType()).c_str(),
                stdout);
            std::fflush(stdout);
        }
        if (!options_.statsPath.empty()) {
            WriteStats(options_.statsPath, keyboard_.statsJson());
        }
    }

    int Run(int listenFd) {
        for (;;) {
            std::vector<pollfd> fds;
            fds.push_back({signalPipe[0], POLLIN, 0});
            fds.push_back({listenFd, POLLIN, 0});
            for (const Connection& connection : connections_) {
                fds.push_back({connection.fd, POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                std::perror("zr4700-sim: poll");
                return 1;
            }
            if (fds[0].revents) {
                while (!connections_.empty()) {
                    Close(connections_.size() - 1);
                }
                return 0;
            }
            // Serve the connections first, from the back, so closing one keeps the indexes
            // of the others.
            for (std::size_t i = connections_.size(); i-- > 0;) {
                if (fds[i + 2].revents && !Serve(connections_[i])) {
                    Close(i);
                }
            }
            if (fds[1].revents & POLLIN) {
                Accept(listenFd);
            }
        }
    }

  private:
    const Options& options_;
    std::FILE* record_;
    SimulatedKeyboard keyboard_;
    std::vector<Connection> connections_;
};

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::FILE* record = nullptr;
    if (!options->recordPath.empty()) {
        record = std::fopen(options->recordPath.c_str(), "ab");
        if (!record) {
            std::fprintf(stderr, "zr4700-sim: cannot open %s\n", options->recordPath.c_str());
            return 1;
        }
    }

    if (::pipe2(signalPipe, O_CLOEXEC) < 0) {
        std::perror("zr4700-sim: pipe");
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::string address = options->socketPath;
    const int listenFd = options->listenEndpoint ? ListenTcp(*options->listenEndpoint, address)
                                                 : Listen(options->socketPath);
    if (listenFd < 0) {
        return 1;
    }
    // With port 0 this line is the only place that names the port taken.
    std::fprintf(stderr, "zr4700-sim: listening on %s (type %d)\n", address.c_str(),
                 options->typeReply ? *options->typeReply : options->type);
    std::fflush(stderr);

    Simulator simulator(*options, record);
    const int status = simulator.Run(listenFd);
    ::close(listenFd);
    if (!options->listenEndpoint) {
        ::unlink(options->socketPath.c_str());
    }
    if (record) {
        std::fclose(record);
    }
    return status;
}
