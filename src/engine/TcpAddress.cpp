#include "engine/TcpAddress.h"

#include <charconv>

namespace zr4700 {

TcpEndpointParse ParseTcpEndpoint(std::string_view text, PortZero portZero) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        return {std::nullopt, "expected HOST:PORT, such as 127.0.0.1:5470"};
    }
    const std::string_view host = text.substr(0, colon);
    const std::string_view port = text.substr(colon + 1);
    if (host != kLoopbackHost && host != "localhost") {
        return {std::nullopt, "only 127.0.0.1 or localhost is accepted, not \"" +
                                  std::string(host) +
                                  "\": the simulator's protocol has no authentication"};
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
    const unsigned low = portZero == PortZero::Allowed ? 0 : 1;
    if (port.empty() || error != std::errc() || end != port.data() + port.size() || value < low ||
        value > 65535) {
        return {std::nullopt, "the port must be a number from " + std::to_string(low) +
                                  " to 65535, not \"" + std::string(port) + "\""};
    }
    return {TcpEndpoint{std::string(kLoopbackHost), static_cast<std::uint16_t>(value)}, {}};
}

} // namespace zr4700
