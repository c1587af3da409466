// The tcp: device address and the simulator's --listen take the loopback interface only, and a
// bad address says what is wrong with it.

#include "engine/TcpAddress.h"
#include "engine/Device.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace zr4700 {
namespace {

struct EndpointCase {
    const char* text;
    PortZero portZero;
    int port; // -1: refused
    std::string error = {};
};

class TcpEndpoints : public testing::TestWithParam<EndpointCase> {};

TEST_P(TcpEndpoints, ParseOrSayWhy) {
    const EndpointCase& c = GetParam();
    const TcpEndpointParse parsed = ParseTcpEndpoint(c.text, c.portZero);
    if (c.port < 0) {
        EXPECT_FALSE(parsed.endpoint);
        EXPECT_EQ(parsed.error, c.error);
    } else {
        ASSERT_TRUE(parsed.endpoint) << parsed.error;
        EXPECT_EQ(*parsed.endpoint, (TcpEndpoint{"127.0.0.1", static_cast<std::uint16_t>(c.port)}));
        EXPECT_EQ(parsed.error, "");
    }
}

const std::string kNotLoopback = "\": the simulator's protocol has no authentication";

std::string NotLoopback(const std::string& host) {
    return "only 127.0.0.1 or localhost is accepted, not \"" + host + kNotLoopback;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TcpEndpoints,
    testing::Values(
        EndpointCase{"127.0.0.1:5470", PortZero::Refused, 5470},
        EndpointCase{"localhost:1", PortZero::Refused, 1},
        EndpointCase{"127.0.0.1:65535", PortZero::Refused, 65535},
        EndpointCase{"127.0.0.1:0", PortZero::Allowed, 0},
        EndpointCase{"127.0.0.1:0", PortZero::Refused, -1,
                     "the port must be a number from 1 to 65535, not \"0\""},
        EndpointCase{"127.0.0.1:65536", PortZero::Allowed, -1,
                     "the port must be a number from 0 to 65535, not \"65536\""},
        EndpointCase{"127.0.0.1:", PortZero::Refused, -1,
                     "the port must be a number from 1 to 65535, not \"\""},
        EndpointCase{"127.0.0.1:+80", PortZero::Refused, -1,
                     "the port must be a number from 1 to 65535, not \"+80\""},
        EndpointCase{"127.0.0.1:80x", PortZero::Refused, -1,
                     "the port must be a number from 1 to 65535, not \"80x\""},
        EndpointCase{"127.0.0.1:99999999999999999999", PortZero::Refused, -1,
                     "the port must be a number from 1 to 65535, not \"99999999999999999999\""},
        EndpointCase{"127.0.0.1", PortZero::Refused, -1,
                     "expected HOST:PORT, such as 127.0.0.1:5470"},
        EndpointCase{"", PortZero::Refused, -1, "expected HOST:PORT, such as 127.0.0.1:5470"},
        EndpointCase{"0.0.0.0:5470", PortZero::Allowed, -1, NotLoopback("0.0.0.0")},
        EndpointCase{"192.168.1.20:5470", PortZero::Refused, -1, NotLoopback("192.168.1.20")},
        EndpointCase{"[::1]:5470", PortZero::Refused, -1, NotLoopback("[::1]")},
        EndpointCase{"LOCALHOST:5470", PortZero::Refused, -1, NotLoopback("LOCALHOST")},
        EndpointCase{":5470", PortZero::Refused, -1, NotLoopback("")}),
    [](const testing::TestParamInfo<EndpointCase>& caseInfo) {
        return "Case" + std::to_string(caseInfo.index);
    });

// The engine's message names the address and the reason, as for every device that cannot open.
TEST(TcpDevice, RefusesABadAddressWithItsReason) {
    EXPECT_EQ(OpenDevice("tcp:example.com:5470"), nullptr);
    EXPECT_EQ(LastDeviceError(),
              std::string("tcp:example.com:5470: only 127.0.0.1 or localhost is accepted, not "
                          "\"example.com") +
                  kNotLoopback);
    EXPECT_EQ(OpenDevice("tcp:localhost"), nullptr);
    EXPECT_EQ(LastDeviceError(), "tcp:localhost: expected HOST:PORT, such as 127.0.0.1:5470");
}

// Nobody listening: refused at once, not after the device timeout.
TEST(TcpDevice, NoListenerIsRefusedAtOnce) {
    // A port that was free a moment ago: bound, then closed without listening.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string device = "tcp:127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    ::close(probe);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(OpenDevice(device), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kDeviceTimeout);
    EXPECT_EQ(LastDeviceError(), device + ": Connection refused");
}

} // namespace
} // namespace zr4700
