// zrwin against zr4700-sim through the Unix socket: the two programs as a user runs them.

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zr4700 {
namespace {

using test::ExpectedImage;
using test::ReadFileBytes;
using test::SampleLayout;

// Starts a program with stdout and stderr going to files and the environment variable
// ZR4700_DEVICE set to device. Returns the process id, or -1.
pid_t Start(const std::vector<std::string>& arguments, const std::string& device,
            const std::string& outPath, const std::string& errPath) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        if (std::string(*entry).rfind("ZR4700_DEVICE=", 0) != 0) {
            environment.emplace_back(*entry);
        }
    }
    environment.push_back("ZR4700_DEVICE=" + device);
    std::vector<char*> envp, argv;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> argumentCopy = arguments;
    for (std::string& argument : argumentCopy) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int WaitExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct ZrwinRun {
    int status;
    std::string out, err;
};

// A zr4700-sim process for one test, stopped with SIGTERM at the end.
class Simulator {
  public:
    Simulator(const test::TempDir& dir, std::vector<std::string> options) : dir_(dir) {
        socket_ = dir.file("sim.sock").string();
        std::vector<std::string> arguments = {ZR4700_SIM_PATH, "--socket", socket_,    "--record",
                                              recordPath(),    "--stats",  statsPath()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        pid_ = Start(arguments, "", outPath(), dir.file("sim.err").string());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && !std::filesystem::exists(socket_) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~Simulator() { Stop(SIGTERM); }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool ready() const { return pid_ > 0 && std::filesystem::exists(socket_); }
    std::string address() const { return "unix:" + socket_; }
    std::string socketPath() const { return socket_; }
    std::string recordPath() const { return dir_.file("record.bin").string(); }
    std::string statsPath() const { return dir_.file("stats.json").string(); }
    std::string outPath() const { return dir_.file("sim.out").string(); }
    std::string output() const { return ReadFileBytes(outPath()); }

    ZrwinRun Zrwin(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), ZRWIN_PATH);
        const std::string out = dir_.file("zrwin.out").string();
        const std::string err = dir_.file("zrwin.err").string();
        const pid_t pid = Start(arguments, address(), out, err);
        if (pid < 0) {
            return {-1, "", ""};
        }
        const int status = WaitExit(pid);
        return {status, ReadFileBytes(out), ReadFileBytes(err)};
    }

    int Stop(int signal) {
        if (pid_ <= 0) {
            return -1;
        }
        kill(pid_, signal);
        const int status = WaitExit(pid_);
        pid_ = -1;
        return status;
    }

  private:
    const test::TempDir& dir_;
    std::string socket_;
    pid_t pid_ = -1;
};

class ZrwinVariants : public testing::TestWithParam<int> {};

TEST_P(ZrwinVariants, ProgramsTheImageInKeyboardOrder) {
    const int layoutCode = GetParam();
    const int type = layoutCode == 57 ? 1 : layoutCode == 113 ? 2 : 0;
    test::TempDir dir;
    Simulator sim(dir, {"--type", std::to_string(type)});
    ASSERT_TRUE(sim.ready());
    const std::string layout =
        std::string(ZR4700_TEST_DATA) + "/layout-" + std::to_string(layoutCode) + ".txt";
    const ZrwinRun run = sim.Zrwin({layout});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::uint8_t> expected = ExpectedImage(SampleLayout(layoutCode), true);
    const std::string record = ReadFileBytes(sim.recordPath());
    EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()), expected);

    EXPECT_EQ(sim.Stop(SIGTERM), 0);
    EXPECT_FALSE(std::filesystem::exists(sim.socketPath()));
    const std::string stats = ReadFileBytes(sim.statsPath());
    EXPECT_NE(stats.find("\"opens\": 2, \"type_queries\": 1, \"bytes\": " +
                         std::to_string(expected.size()) + ", \"refused\": 0"),
              std::string::npos)
        << stats;
    const std::string output = sim.output();
    EXPECT_NE(output.find("Image: " + std::to_string(expected.size()) + " bytes received, " +
                          std::to_string(expected.size()) + " expected"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("Key 1: flags 2 (single, Mode 1)"), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(AllHeaderCodes, ZrwinVariants, testing::Values(56, 57, 112, 113));

struct FailureCase {
    const char* name;
    std::vector<std::string> simOptions;
    std::vector<std::string> arguments; // "56": the 56-key data file; "MISSING": no such file
    int status;
    std::string message;
    std::size_t bytesRecorded;
    // The line below the message: FILE stands for the file argument, DEVICE for the address.
    std::string where = {};
    friend void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }
};

class ZrwinFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(ZrwinFailures, ExitStatusAndMessage) {
    const FailureCase& c = GetParam();
    test::TempDir dir;
    Simulator sim(dir, c.simOptions);
    ASSERT_TRUE(sim.ready());
    std::vector<std::string> arguments = c.arguments;
    for (std::string& argument : arguments) {
        if (argument == "56") {
            argument = std::string(ZR4700_TEST_DATA) + "/layout-56.txt";
        } else if (argument == "MISSING") {
            argument = dir.file("missing.txt").string();
        } else if (argument == "BAD") {
            argument = dir.write("bad.txt", "58; 0; 0; 2; 11\r\n");
        }
    }
    const ZrwinRun run = sim.Zrwin(arguments);
    EXPECT_EQ(run.status, c.status);
    std::string where = c.where;
    for (const auto& [name, value] :
         {std::pair<std::string, std::string>{"FILE", arguments.empty() ? "" : arguments[0]},
          {"DEVICE", sim.address()}}) {
        if (const std::size_t at = where.find(name); at != std::string::npos) {
            where.replace(at, name.size(), value);
        }
    }
    EXPECT_EQ(run.err, c.message + "\n" + (where.empty() ? "" : where + "\n"));
    EXPECT_EQ(ReadFileBytes(sim.recordPath()).size(), c.bytesRecorded);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ZrwinFailures,
    testing::Values(
        FailureCase{"InvalidArgument", {}, {"56", "x1"}, 1, "Invalid argument.", 0},
        FailureCase{"InvalidType", {}, {"56", "/5"}, 2, "Invalid keyboard type.", 0},
        FailureCase{"SyntaxError", {}, {"/?"}, 3, "Syntax error!", 0},
        FailureCase{"TooManyArguments", {}, {"56", "/0", "x"}, 3, "Syntax error!", 0},
        FailureCase{"MissingFile",
                    {},
                    {"MISSING"},
                    4,
                    "Unable to open file.",
                    0,
                    "FILE: error: No such file or directory"},
        FailureCase{"BadFile",
                    {},
                    {"BAD"},
                    5,
                    "Invalid file format.",
                    0,
                    "FILE:1:1: error: layout code 58 is none of 56, 57, 112, 113"},
        FailureCase{"TypeAbove2",
                    {"--type-reply", "3"},
                    {"56"},
                    6,
                    "Invalid keyboard type detected.",
                    0,
                    "DEVICE: error: the keyboard reported a type above 2"},
        FailureCase{"NoTypeByte",
                    {"--no-type-byte"},
                    {"56"},
                    8,
                    "Keyboard detecting error.",
                    0,
                    "DEVICE: error: the keyboard did not answer the type query"},
        FailureCase{"Mismatch",
                    {"--type", "1"},
                    {"56"},
                    9,
                    "File format mismatch.",
                    0,
                    "FILE:1:1: error: layout code 56 (7/3scan, 56 keys) needs keyboard type 0, but "
                    "the keyboard found is type 1 (16scan, 56 keys)"},
        FailureCase{"RefusedByte",
                    {"--type", "0", "--refuse-byte", "10"},
                    {"56"},
                    10,
                    "Keyboard programming error.",
                    9,
                    "DEVICE: error: the keyboard refused byte 10 of 450"}),
    [](const testing::TestParamInfo<FailureCase>& caseInfo) { return caseInfo.param.name; });

TEST(ZrwinSimulator, WithoutAFilePrintsTheType) {
    test::TempDir dir;
    Simulator sim(dir, {"--type", "1"});
    ASSERT_TRUE(sim.ready());
    const ZrwinRun run = sim.Zrwin({});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Keyboard type: 1 (16scan, 56 keys)\n");
    EXPECT_EQ(sim.Stop(SIGINT), 0);
    EXPECT_FALSE(std::filesystem::exists(sim.socketPath()));
    EXPECT_EQ(sim.output(), "") << "a detection is no transfer";
}

TEST(ZrwinSimulator, NoSimulatorIsADriverError) {
    test::TempDir dir;
    Simulator sim(dir, {});
    ASSERT_TRUE(sim.ready());
    sim.Stop(SIGTERM);
    const ZrwinRun run = sim.Zrwin({});
    EXPECT_EQ(run.status, 7);
    EXPECT_EQ(run.err,
              "Zr4700 driver error.\n" + sim.address() + ": error: No such file or directory\n");
}

// Waits until the simulator's record holds at least n bytes; false after 10 s.
bool WaitForRecord(const Simulator& sim, std::size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ReadFileBytes(sim.recordPath()).size() < n) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A second zrwin while a transfer runs is refused and sends nothing; the first one's bytes
// arrive exactly.
TEST(ZrwinSimulator, SecondTransferAtOnceIsADriverError) {
    test::TempDir dir;
    Simulator sim(dir, {"--type", "2"});
    ASSERT_TRUE(sim.ready());
    const std::string layout = std::string(ZR4700_TEST_DATA) + "/layout-113.txt";
    const pid_t first = Start({ZRWIN_PATH, layout}, sim.address(), dir.file("first.out").string(),
                              dir.file("first.err").string());
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitForRecord(sim, 10));
    const ZrwinRun second = sim.Zrwin({layout, "/2"});
    EXPECT_EQ(second.status, 7);
    EXPECT_EQ(second.err.substr(0, second.err.find('\n') + 1), "Zr4700 driver error.\n");
    EXPECT_EQ(second.err.find(sim.address() + ": error: "), second.err.find('\n') + 1);
    const ZrwinRun detection = sim.Zrwin({});
    EXPECT_EQ(detection.status, 7);
    EXPECT_EQ(WaitExit(first), 0) << ReadFileBytes(dir.file("first.err"));
    const std::string record = ReadFileBytes(sim.recordPath());
    EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()),
              ExpectedImage(SampleLayout(113), true));
}

// A signal during the transfer stops it after the byte in flight; zrwin says the keyboard is
// partly programmed and exits as the shell would for the signal.
TEST(ZrwinSimulator, SignalDuringTheTransferStopsIt) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        test::TempDir dir;
        Simulator sim(dir, {"--type", "2"});
        ASSERT_TRUE(sim.ready());
        const std::string layout = std::string(ZR4700_TEST_DATA) + "/layout-113.txt";
        const std::string err = dir.file("zrwin.err").string();
        const pid_t zrwin =
            Start({ZRWIN_PATH, layout}, sim.address(), dir.file("zrwin.out").string(), err);
        ASSERT_GT(zrwin, 0);
        ASSERT_TRUE(WaitForRecord(sim, 20));
        kill(zrwin, signal);
        EXPECT_EQ(WaitExit(zrwin), 128 + signal);
        const std::string record = ReadFileBytes(sim.recordPath());
        const std::vector<std::uint8_t> expected = ExpectedImage(SampleLayout(113), true);
        ASSERT_LT(record.size(), expected.size());
        EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()),
                  std::vector<std::uint8_t>(expected.begin(), expected.begin() + record.size()));
        EXPECT_EQ(ReadFileBytes(err), "zrwin: interrupted after " + std::to_string(record.size()) +
                                          " of 2022 bytes: the keyboard is left partly "
                                          "programmed; program it again\n");
    }
}

// Before the transfer, while the device is slow to open (a listener that never answers), a
// signal stops zrwin at once instead of after the device's timeout.
TEST(ZrwinSimulator, SignalWhileOpeningTheDeviceStopsAtOnce) {
    test::TempDir dir;
    const std::string path = dir.file("silent.sock").string();
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    const std::string layout = std::string(ZR4700_TEST_DATA) + "/layout-113.txt";
    const std::string err = dir.file("zrwin.err").string();
    const pid_t zrwin =
        Start({ZRWIN_PATH, layout}, "unix:" + path, dir.file("zrwin.out").string(), err);
    ASSERT_GT(zrwin, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(zrwin, SIGINT);
    // Without the stop the open would give up after its timeout with the driver error (7).
    EXPECT_EQ(WaitExit(zrwin), 130);
    EXPECT_EQ(ReadFileBytes(err),
              "zrwin: interrupted before any byte was sent: the keyboard is unchanged\n");
    close(listener);
}

TEST(ZrwinSimulator, SimulatorRejectsUnknownOptions) {
    test::TempDir dir;
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{ZR4700_SIM_PATH},
                                               {ZR4700_SIM_PATH, "--socket"},
                                               {ZR4700_SIM_PATH, "--socket", "s", "--type", "3"},
                                               {ZR4700_SIM_PATH, "--socket", "s", "--bogus"}}) {
        const pid_t pid = Start(arguments, "", dir.file("out").string(), dir.file("err").string());
        ASSERT_GT(pid, 0);
        EXPECT_EQ(WaitExit(pid), 2);
        EXPECT_NE(ReadFileBytes(dir.file("err")).find("usage: zr4700-sim"), std::string::npos);
    }
}

} // namespace
} // namespace zr4700
