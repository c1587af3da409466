// zrwin against zr4700-sim through the Unix socket: the two programs as a user runs them.

#include "EngineTestSupport.h"
#include "SimulatorProcess.h"
#include "engine/ImageDigest.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace zr4700 {
namespace {

using test::ExpectedImage;
using test::ReadFileBytes;
using test::SampleLayout;
using test::Simulator;
using test::Start;
using test::WaitExit;
using test::ZrwinRun;

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

// The route the Windows build takes to the simulator: the same image over loopback TCP.
TEST(ZrwinOverTcp, ProgramsTheSameImageAsOverTheUnixSocket) {
    test::TempDir dir;
    Simulator sim(dir, {"--type", "2"}, test::SimTransport::Tcp);
    ASSERT_TRUE(sim.ready()) << ReadFileBytes(sim.errPath());
    EXPECT_EQ(sim.address().rfind("tcp:127.0.0.1:", 0), 0u) << sim.address();
    const ZrwinRun run = sim.Zrwin({std::string(ZR4700_TEST_DATA) + "/layout-113.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::uint8_t> expected = ExpectedImage(SampleLayout(113), true);
    const std::string record = ReadFileBytes(sim.recordPath());
    EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()), expected);
    EXPECT_EQ(sim.Stop(SIGTERM), 0);
}

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

    // With --json the same lines go to stderr, and stdout holds one object that says the same.
    arguments.insert(arguments.begin(), "--json");
    const ZrwinRun json = sim.Zrwin(arguments);
    EXPECT_EQ(json.status, c.status);
    EXPECT_EQ(json.err, run.err);
    const nlohmann::json object = nlohmann::json::parse(json.out, nullptr, false);
    ASSERT_TRUE(object.is_object()) << json.out;
    EXPECT_EQ(object["result"], c.status + 32999);
    EXPECT_EQ(object["status"], c.status);
    EXPECT_EQ(object["message"], c.message);
    EXPECT_EQ(object["detail"], where.empty() ? nlohmann::json() : nlohmann::json(where));
    EXPECT_EQ(object["device"], sim.address());
    EXPECT_EQ(object["bytes_sent"], c.bytesRecorded);
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

// A check names the image a transfer then sends; the record of the transfer lets the next run
// with --if-changed send nothing.
TEST(ZrwinSimulator, CheckTransferAndIfChangedInJson) {
    test::TempDir dir;
    Simulator sim(dir, {"--type", "0"});
    ASSERT_TRUE(sim.ready());
    const std::string layout = std::string(ZR4700_TEST_DATA) + "/layout-56.txt";
    auto object = [](const ZrwinRun& run) {
        return nlohmann::json::parse(run.out, nullptr, false);
    };

    const ZrwinRun check = sim.Zrwin({"--json", "--check", layout});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.err.rfind("zrwin: would send 450 bytes (7/3scan, 56 keys) to the keyboard of "
                              "type 0 at " +
                                  sim.address() + ", image sha256 ",
                              0),
              0u)
        << check.err;
    const std::string digest = object(check).value("image_sha256", "");
    EXPECT_EQ(object(check)["bytes_total"], 450);
    EXPECT_EQ(ReadFileBytes(sim.recordPath()), "") << "a check sends nothing";

    const ZrwinRun sent = sim.Zrwin({"--json", layout});
    EXPECT_EQ(sent.status, 0) << sent.err;
    EXPECT_EQ(sent.err, "");
    EXPECT_EQ(object(sent)["bytes_sent"], 450);
    EXPECT_EQ(object(sent)["image_sha256"], digest);
    EXPECT_EQ(Sha256Hex(ReadFileBytes(sim.recordPath())), digest);
    const std::string recordFile = object(sent).value("record_file", "");
    EXPECT_EQ(recordFile.rfind(sim.stateHome() + "/zr4700/", 0), 0u) << recordFile;

    const ZrwinRun again = sim.Zrwin({"--json", "--if-changed", layout});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(object(again)["unchanged"], true);
    EXPECT_EQ(object(again)["recorded_sha256"], digest);
    EXPECT_EQ(ReadFileBytes(sim.recordPath()).size(), 450u);
    const ZrwinRun plain = sim.Zrwin({"--if-changed", layout});
    EXPECT_EQ(plain.out, "zrwin: unchanged: the keyboard at " + sim.address() +
                             " holds this image already (sha256 " + digest + "); nothing sent\n");
}

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
    const std::string inUse =
        "Zr4700 driver error.\n" + sim.address() + ": error: in use by another program\n";
    const ZrwinRun second = sim.Zrwin({layout, "/2"});
    EXPECT_EQ(second.status, 7);
    EXPECT_EQ(second.err, inUse);
    const ZrwinRun detection = sim.Zrwin({});
    EXPECT_EQ(detection.status, 7);
    EXPECT_EQ(detection.err, inUse);
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
        // The object of --json says the same as the line on stderr.
        const std::vector<std::string> arguments =
            signal == SIGTERM ? std::vector<std::string>{ZRWIN_PATH, "--json", layout}
                              : std::vector<std::string>{ZRWIN_PATH, layout};
        const pid_t zrwin = Start(arguments, sim.address(), dir.file("zrwin.out").string(), err);
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
        if (signal == SIGTERM) {
            const nlohmann::json object =
                nlohmann::json::parse(ReadFileBytes(dir.file("zrwin.out")), nullptr, false);
            EXPECT_EQ(object["status"], 143);
            EXPECT_EQ(object["result"], nullptr);
            EXPECT_EQ(object["interrupted"], "SIGTERM");
            EXPECT_EQ(object["bytes_sent"], record.size());
            EXPECT_EQ(object["message"].get<std::string>() + "\n", ReadFileBytes(err));
        }
    }
}

// A keyboard that stops answering in the middle of the transfer (the simulator is frozen) does
// not hold a signal back: zrwin stops waiting for the byte's answer and exits as for the signal,
// instead of giving up with a programming error after the device's timeout.
TEST(ZrwinSimulator, SignalWhileAByteIsUnansweredStopsAtOnce) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        test::TempDir dir;
        Simulator sim(dir, {"--type", "2"});
        ASSERT_TRUE(sim.ready());
        const std::string layout = std::string(ZR4700_TEST_DATA) + "/layout-113.txt";
        const std::string err = dir.file("zrwin.err").string();
        const pid_t zrwin =
            Start({ZRWIN_PATH, layout, "/2"}, sim.address(), dir.file("zrwin.out").string(), err,
                  {"XDG_STATE_HOME=" + sim.stateHome()});
        ASSERT_GT(zrwin, 0);
        ASSERT_TRUE(WaitForRecord(sim, 20));
        sim.Signal(SIGSTOP);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        kill(zrwin, signal);
        const int status = WaitExit(zrwin);
        sim.Signal(SIGCONT);
        EXPECT_EQ(status, 128 + signal);
        EXPECT_EQ(ReadFileBytes(err).rfind("zrwin: interrupted after ", 0), 0u)
            << ReadFileBytes(err);
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
