// The device backends refuse what is no keyboard, allow one handle at a time and never wait
// for ever.

#include "engine/Device.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <vector>

namespace zr4700 {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(DeviceNode, RefusesWhatIsNoCharacterDeviceWithoutWaiting) {
    test::TempDir dir;
    const std::string fifo = dir.file("fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string regular = dir.write("regular", "not a device");
    for (const std::string& path :
         {fifo, regular, dir.path().string(), dir.file("none").string()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(OpenDeviceNode(path), nullptr);
    }
    EXPECT_EQ(test::ReadFileBytes(regular), "not a device");
}

TEST(DeviceNode, OneHandleAtATime) {
    test::TempDir dir;
    // A node of its own (the null device's numbers) so that no other user of /dev/null counts.
    const std::string node = dir.file("zr4700").string();
    if (::mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "cannot make a device node here";
    }
    std::unique_ptr<DeviceHandle> first = OpenDeviceNode(node);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(OpenDeviceNode(node), nullptr);
    EXPECT_EQ(OpenDevice(node), nullptr);
    first.reset();
    EXPECT_NE(OpenDeviceNode(node), nullptr) << "closing the handle frees the device";
}

// A listener at path that never accepts; with fill, its queue is full as well.
class SilentListener {
  public:
    SilentListener(const std::string& path, bool fill) {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        ok_ = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              ::listen(listener_, 0) == 0;
        while (ok_ && fill) {
            const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            clients_.push_back(client);
            if (::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
                break;
            }
            ok_ = clients_.size() < 64;
        }
    }
    ~SilentListener() {
        for (int client : clients_) {
            ::close(client);
        }
        ::close(listener_);
    }
    bool ok() const { return ok_; }

  private:
    int listener_ = -1;
    std::vector<int> clients_;
    bool ok_ = false;
};

class UnixSocketWaits : public testing::TestWithParam<bool> {};

// Connecting to a full queue, or to a listener that never says the handle is open, gives up.
TEST_P(UnixSocketWaits, GiveUpAfterTheTimeout) {
    test::TempDir dir;
    const std::string path = dir.file("sim.sock").string();
    SilentListener listener(path, GetParam());
    ASSERT_TRUE(listener.ok());
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(OpenUnixSocketDevice(path), nullptr);
    const double seconds = SecondsSince(start);
    std::cout << "gave up after " << seconds << " s\n";
    EXPECT_LT(seconds, 15.0);

    // A stop asked for ends the wait at once.
    std::atomic<bool> stop{true};
    const ScopedDeviceStop stopping(&stop);
    EXPECT_EQ(OpenUnixSocketDevice(path), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Listeners, UnixSocketWaits, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& caseInfo) {
                             return caseInfo.param ? "FullQueue" : "NeverAccepts";
                         });

} // namespace
} // namespace zr4700
