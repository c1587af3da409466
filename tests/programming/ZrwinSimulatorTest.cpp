// zrwin against zr4700-sim through the Unix socket: the two programs as a user runs them.

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
    EXPECT_EQ(run.err, c.message.empty() ? "" : c.message + "\n");
    EXPECT_EQ(ReadFileBytes(sim.recordPath()).size(), c.bytesRecorded);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ZrwinFailures,
    testing::Values(
        FailureCase{"InvalidArgument", {}, {"56", "x1"}, 1, "Invalid argument.", 0},
        FailureCase{"InvalidType", {}, {"56", "/5"}, 2, "Invalid keyboard type.", 0},
        FailureCase{"SyntaxError", {}, {"/?"}, 3, "Syntax error!", 0},
        FailureCase{"TooManyArguments", {}, {"56", "/0", "x"}, 3, "Syntax error!", 0},
        FailureCase{"MissingFile", {}, {"MISSING"}, 4, "Unable to open file.", 0},
        FailureCase{"BadFile", {}, {"BAD"}, 5, "Invalid file format.", 0},
        FailureCase{
            "TypeAbove2", {"--type-reply", "3"}, {"56"}, 6, "Invalid keyboard type detected.", 0},
        FailureCase{"NoTypeByte", {"--no-type-byte"}, {"56"}, 8, "Keyboard detecting error.", 0},
        FailureCase{"Mismatch", {"--type", "1"}, {"56"}, 9, "File format mismatch.", 0},
        FailureCase{"RefusedByte",
                    {"--type", "0", "--refuse-byte", "10"},
                    {"56"},
                    10,
                    "Keyboard programming error.",
                    9}),
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
    EXPECT_EQ(run.err, "Zr4700 driver error.\n");
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
