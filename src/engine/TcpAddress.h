#pragma once
// The HOST:PORT of a tcp: device address and of the simulator's --listen option.
//
// The simulator's protocol carries no authentication: whoever reaches the port is the keyboard's
// driver. So both ends take the loopback interface only, 127.0.0.1 or its name localhost, which
// is read as 127.0.0.1 without asking a resolver (no DNS, and no IPv6 ::1 on one end while the
// other listens on 127.0.0.1).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zr4700 {

constexpr std::string_view kTcpPrefix = "tcp:";
constexpr std::string_view kLoopbackHost = "127.0.0.1";

struct TcpEndpoint {
    std::string host; // always kLoopbackHost
    std::uint16_t port = 0;
    bool operator==(const TcpEndpoint&) const = default;
};

// An endpoint, or why the text is none.
struct TcpEndpointParse {
    std::optional<TcpEndpoint> endpoint;
    std::string error; // empty when endpoint is set
};

enum class PortZero { Refused, Allowed };

// Parses "HOST:PORT". Port 0 (let the system choose) makes sense to a listener only.
TcpEndpointParse ParseTcpEndpoint(std::string_view text, PortZero portZero);

} // namespace zr4700
