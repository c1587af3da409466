#include "engine/Engine.h"
#include "EngineTestSupport.h"
#include "engine/BytePacer.h"
#include "engine/Device.h"
#include "engine/SimulatedKeyboard.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>

#include <string>
#include <vector>

namespace zr4700 {
namespace {

using test::ExpectedImage;
using test::SampleLayout;

// Every engine test talks to the in-process keyboard, fresh, without the 3 ms per byte (the
// pacing itself is tested on its own below).
class EngineTest : public testing::Test {
  protected:
    void SetUp() override { InProcessKeyboard().reset(); }
    void TearDown() override { InProcessKeyboard().reset(); }

    std::string LayoutFile(int layoutCode) {
        return dir_.write("layout-" + std::to_string(layoutCode) + ".txt",
                          test::BuildLayoutText(SampleLayout(layoutCode)));
    }
    int Run(std::vector<std::string> arguments, const StepNotify& notify = {}) {
        std::vector<const char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        return ProgramKeyboard(static_cast<int>(argv.size()), argv.data(), notify);
    }
    SimulatedKeyboard& keyboard() { return InProcessKeyboard(); }

    test::TempDir dir_;
    test::ScopedEnv device_{"ZR4700_DEVICE", "sim"};
    ScopedBytePause noPause_{std::chrono::nanoseconds(0)};
};

TEST(EngineResults, EveryResultHasItsText) {
    const std::vector<std::pair<int, std::string>> table = {
        {33000, "Invalid argument."},     {33001, "Invalid keyboard type."},
        {33002, "Syntax error!"},         {33003, "Unable to open file."},
        {33004, "Invalid file format."},  {33005, "Invalid keyboard type detected."},
        {33006, "Zr4700 driver error."},  {33007, "Keyboard detecting error."},
        {33008, "File format mismatch."}, {33009, "Keyboard programming error."},
        {33010, "Data buffer error."},
    };
    for (const auto& [result, text] : table) {
        ASSERT_NE(EngineResultMessage(result), nullptr) << result;
        EXPECT_EQ(EngineResultMessage(result), text);
    }
    EXPECT_EQ(EngineResultMessage(0), nullptr);
    EXPECT_EQ(EngineResultMessage(32999), nullptr);
    EXPECT_EQ(EngineResultMessage(33011), nullptr);
    EXPECT_EQ(EngineResultMessage(kResultCancelled), nullptr);
}

struct ArgumentCase {
    const char* name;
    std::vector<std::string> arguments; // "GOOD" is a valid 113 file, "BAD" one with code 58
    int result;
    bool touchesDevice;
};

class EngineArguments : public EngineTest, public testing::WithParamInterface<ArgumentCase> {};

TEST_P(EngineArguments, ChecksInOrder) {
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (argument == "GOOD") {
            argument = LayoutFile(113);
        } else if (argument == "BAD") {
            argument = dir_.write("bad.txt", "58; 0; 0; 2; 11; 144; 0; 0; 3\r\n");
        } else if (argument == "MISSING") {
            argument = dir_.file("missing.txt").string();
        }
    }
    EXPECT_EQ(Run(arguments), GetParam().result);
    EXPECT_EQ(keyboard().stats().opens > 0, GetParam().touchesDevice);
    EXPECT_EQ(keyboard().stats().openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, EngineArguments,
    testing::Values(
        ArgumentCase{"NoArgumentsDetects", {}, 0, true},
        ArgumentCase{"ProgramNameOnlyDetects", {"zrwin.exe"}, 0, true},
        ArgumentCase{"Programs", {"zrwin.exe", "GOOD"}, 0, true},
        ArgumentCase{"ProgramsWithType", {"zrwin.exe", "GOOD", "/2"}, 0, true},
        ArgumentCase{"FourArguments", {"zrwin.exe", "MISSING", "/2", "x"}, 33002, false},
        ArgumentCase{"HelpQuestion", {"zrwin.exe", "/?"}, 33002, false},
        ArgumentCase{"HelpDash", {"zrwin.exe", "-h"}, 33002, false},
        ArgumentCase{"HelpSlash", {"zrwin.exe", "/h"}, 33002, false},
        ArgumentCase{"HelpWithType", {"zrwin.exe", "/?", "/1"}, 33002, false},
        ArgumentCase{"HelpIsCaseSensitive", {"zrwin.exe", "/H"}, 33003, false},
        ArgumentCase{"TypeCheckedBeforeHelp", {"zrwin.exe", "/?", "/9"}, 33001, false},
        ArgumentCase{"TypeDigit3", {"zrwin.exe", "GOOD", "/3"}, 33001, false},
        ArgumentCase{"TypeLetter", {"zrwin.exe", "GOOD", "/a"}, 33001, false},
        ArgumentCase{"TypeMinus", {"zrwin.exe", "GOOD", "/-"}, 33001, false},
        ArgumentCase{"TypeOneCharacter", {"zrwin.exe", "GOOD", "/"}, 33000, false},
        ArgumentCase{"TypeThreeCharacters", {"zrwin.exe", "GOOD", "/10"}, 33000, false},
        ArgumentCase{"TypeWithoutSlash", {"zrwin.exe", "GOOD", "-1"}, 33000, false},
        ArgumentCase{"TypeEmpty", {"zrwin.exe", "GOOD", ""}, 33000, false},
        ArgumentCase{"MissingFile", {"zrwin.exe", "MISSING"}, 33003, false},
        ArgumentCase{"MissingFileWithType", {"zrwin.exe", "MISSING", "/2"}, 33003, false},
        ArgumentCase{"BadFile", {"zrwin.exe", "BAD"}, 33004, false},
        ArgumentCase{"BadFileWithType", {"zrwin.exe", "BAD", "/1"}, 33004, false}),
    [](const testing::TestParamInfo<ArgumentCase>& caseInfo) { return caseInfo.param.name; });

TEST_F(EngineTest, NullArgumentsAreInvalidNotACrash) {
    const char* argv[] = {"zrwin.exe", nullptr, nullptr};
    EXPECT_EQ(ProgramKeyboard(2, argv, {}), kResultInvalidArgument);
    EXPECT_EQ(ProgramKeyboard(3, argv, {}), kResultInvalidArgument);
    EXPECT_EQ(ProgramKeyboard(2, nullptr, {}), kResultInvalidArgument);
    EXPECT_EQ(ProgramKeyboard(0, nullptr, {}), 0); // detection only
}

TEST_F(EngineTest, ReportsTheTypeItUsed) {
    keyboard().setType(1);
    const char* detectOnly[] = {"zrwin"};
    int type = -7;
    EXPECT_EQ(ProgramKeyboard(1, detectOnly, {}, nullptr, &type), 0);
    EXPECT_EQ(type, 1);
    const std::string file = LayoutFile(113);
    const char* given[] = {"zrwin", file.c_str(), "/2"};
    EXPECT_EQ(ProgramKeyboard(3, given, {}, nullptr, &type), 0);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(keyboard().stats().typeQueries, 1);
}

struct DetectionCase {
    const char* name;
    std::optional<int> typeReply;
    bool noTypeByte;
    std::string address;
    int result;
};

class EngineDetection : public EngineTest, public testing::WithParamInterface<DetectionCase> {};

TEST_P(EngineDetection, MapsTheDriverResult) {
    const DetectionCase& c = GetParam();
    keyboard().setTypeReply(c.typeReply);
    keyboard().setNoTypeByte(c.noTypeByte);
    test::ScopedEnv address("ZR4700_DEVICE", c.address);
    EXPECT_EQ(Run({"zrwin.exe"}), c.result);
    EXPECT_EQ(Run({"zrwin.exe", LayoutFile(113)}), c.result);
    EXPECT_EQ(keyboard().receivedBytes().size(), c.result == 0 ? 2022u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Driver, EngineDetection,
    testing::Values(DetectionCase{"Type2", std::nullopt, false, "sim", 0},
                    DetectionCase{"TypeReply3", 3, false, "sim", 33005},
                    DetectionCase{"TypeReply255", 255, false, "sim", 33005},
                    DetectionCase{"NoTypeByte", std::nullopt, true, "sim", 33007},
                    DetectionCase{"NoDevice", std::nullopt, false, "/nonexistent/zr4700", 33006},
                    DetectionCase{"MalformedSimAddress", std::nullopt, false, "sim:x", 33006},
                    DetectionCase{"NoSimulator", std::nullopt, false, "unix:/nonexistent/s",
                                  33006}),
    [](const testing::TestParamInfo<DetectionCase>& caseInfo) { return caseInfo.param.name; });

TEST_F(EngineTest, GivenTypeOpensTheDeviceOnlyToSend) {
    test::ScopedEnv address("ZR4700_DEVICE", "/nonexistent/zr4700");
    EXPECT_EQ(Run({"zrwin.exe", LayoutFile(57), "/1"}), kResultDriverError);
    EXPECT_EQ(Run({"zrwin.exe", LayoutFile(57), "/2"}), kResultFormatMismatch);
}

TEST_F(EngineTest, SimAddressWithTypeSetsTheKeyboardType) {
    test::ScopedEnv address("ZR4700_DEVICE", "sim:0");
    EXPECT_EQ(Run({"zrwin.exe", LayoutFile(56)}), 0);
    EXPECT_EQ(keyboard().type(), 0);
}

class EnginePairing : public EngineTest,
                      public testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(EnginePairing, SendsOnlyWhatTheTypeAccepts) {
    const auto [layoutCode, type] = GetParam();
    keyboard().setType(type);
    const bool accepted = (type == 0 && (layoutCode == 56 || layoutCode == 112)) ||
                          (type == 1 && layoutCode == 57) || (type == 2 && layoutCode == 113);
    EXPECT_EQ(Run({"zrwin.exe", LayoutFile(layoutCode)}), accepted ? 0 : kResultFormatMismatch);
    if (accepted) {
        EXPECT_EQ(keyboard().lastHandleBytes(), ExpectedImage(SampleLayout(layoutCode), true));
    } else {
        EXPECT_TRUE(keyboard().receivedBytes().empty());
    }
    // The same with the type given: the device is not asked.
    keyboard().reset();
    keyboard().setType(type);
    const std::string typeArgument = "/" + std::to_string(type);
    EXPECT_EQ(Run({"zrwin.exe", LayoutFile(layoutCode), typeArgument}),
              accepted ? 0 : kResultFormatMismatch);
    EXPECT_EQ(keyboard().stats().typeQueries, 0);
}

INSTANTIATE_TEST_SUITE_P(AllCombinations, EnginePairing,
                         testing::Combine(testing::Values(56, 57, 112, 113),
                                          testing::Values(0, 1, 2)));

TEST_F(EngineTest, Image112GoesRightHalfFirst) {
    keyboard().setType(0);
    ASSERT_EQ(Run({"zrwin.exe", LayoutFile(112)}), 0);
    const std::vector<std::uint8_t> sent = keyboard().lastHandleBytes();
    ASSERT_EQ(sent.size(), 450u);
    // Key 57 (flags 2, codes 0x45 0x16) first, key 1 (flags 2, 0x1C 0x32) at byte 224.
    EXPECT_EQ(std::vector<std::uint8_t>(sent.begin(), sent.begin() + 4),
              (std::vector<std::uint8_t>{2, 0x45, 0x16, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(sent.begin() + 224, sent.begin() + 228),
              (std::vector<std::uint8_t>{2, 0x1C, 0x32, 0}));
    // Settings last.
    EXPECT_EQ(sent[448], 2 * 32 + 11);
    EXPECT_EQ(sent[449], 0);
}

TEST_F(EngineTest, Image113WithThreeKeysSendsZerosFirst) {
    std::string text = "113; 0; 0; 2; 11; 144; 0; 0; 3\r\n";
    for (int k = 1; k <= 3; ++k) {
        text += std::to_string(k) + "; " + std::to_string(10 * k) +
                ", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0; 2;" + std::to_string(k) + ";K\r\n";
    }
    ASSERT_EQ(Run({"zrwin.exe", dir_.write("three.txt", text)}), 0);
    const std::vector<std::uint8_t> sent = keyboard().lastHandleBytes();
    ASSERT_EQ(sent.size(), 2022u);
    EXPECT_EQ(std::vector<std::uint8_t>(sent.begin(), sent.begin() + 1008),
              std::vector<std::uint8_t>(1008, 0));
    for (int k = 1; k <= 3; ++k) {
        const std::size_t slot = 1008 + static_cast<std::size_t>(k - 1) * 18;
        EXPECT_EQ(sent[slot], 2);
        EXPECT_EQ(sent[slot + 1], k);
        EXPECT_EQ(sent[slot + 2], 10 * k);
    }
    EXPECT_EQ(std::vector<std::uint8_t>(sent.end() - 6, sent.end()),
              (std::vector<std::uint8_t>{75, 0, 144, 0, 0, 3}));
}

// Where the steps of a transfer fall: the number of bytes sent before each one.
std::vector<int> StepPositions(int size, int refuseByte = 0) {
    InProcessKeyboard().reset();
    InProcessKeyboard().setRefuseByte(refuseByte);
    const std::vector<std::uint8_t> image(static_cast<std::size_t>(std::max(size, 0)), 0x5A);
    std::vector<int> positions;
    SendImage(image.data(), size,
              [&positions] { positions.push_back(InProcessKeyboard().stats().bytes); });
    return positions;
}

TEST_F(EngineTest, StepsFallEveryHundredthOfTheImage) {
    struct {
        int size, count, first, last;
    } table[] = {{450, 112, 2, 446}, {1014, 101, 4, 1004}, {2022, 101, 2, 2002}, {100, 100, 0, 99}};
    for (const auto& row : table) {
        const std::vector<int> positions = StepPositions(row.size);
        ASSERT_EQ(static_cast<int>(positions.size()), row.count) << row.size;
        EXPECT_EQ(positions.front(), row.first) << row.size;
        EXPECT_EQ(positions.back(), row.last) << row.size;
        const int step = row.size / 100;
        for (std::size_t i = 1; i < positions.size(); ++i) {
            EXPECT_EQ(positions[i] - positions[i - 1], step);
        }
    }
}

TEST_F(EngineTest, SmallImagesSendWithoutSteps) {
    for (int size : {1, 50, 99}) {
        EXPECT_TRUE(StepPositions(size).empty()) << size;
        EXPECT_EQ(keyboard().stats().bytes, size);
    }
}

TEST_F(EngineTest, NothingToSend) {
    std::uint8_t byte = 1;
    EXPECT_EQ(SendImage(&byte, 0, {}), 0);
    EXPECT_EQ(SendImage(nullptr, 0, {}), 0);
    EXPECT_EQ(SendImage(nullptr, 450, {}), -3);
    EXPECT_EQ(SendImage(&byte, -1, {}), -3);
    EXPECT_EQ(keyboard().stats().opens, 0);
    test::ScopedEnv address("ZR4700_DEVICE", "/nonexistent/zr4700");
    EXPECT_EQ(SendImage(&byte, 1, {}), -1);
}

TEST_F(EngineTest, RefusedTenthByteEndsTheTransfer) {
    const std::vector<int> positions = StepPositions(450, 10);
    EXPECT_EQ(positions, (std::vector<int>{2, 6}));
    EXPECT_EQ(keyboard().stats().bytes, 9);
    EXPECT_EQ(keyboard().stats().refused, 1);
    EXPECT_EQ(keyboard().stats().openHandles, 0);

    keyboard().reset();
    keyboard().setType(0);
    keyboard().setRefuseByte(10);
    EXPECT_EQ(Run({"zrwin.exe", LayoutFile(56)}), kResultProgrammingError);
    const std::vector<std::uint8_t> expected = ExpectedImage(SampleLayout(56), true);
    EXPECT_EQ(keyboard().lastHandleBytes(),
              std::vector<std::uint8_t>(expected.begin(), expected.begin() + 9));
}

TEST_F(EngineTest, StopEndsAfterTheByteInFlightAndClosesTheDevice) {
    keyboard().setType(0);
    std::atomic<bool> stop{false};
    int steps = 0;
    const std::string file = LayoutFile(56);
    const char* argv[] = {"zrwin.exe", file.c_str()};
    const int result = ProgramKeyboard(
        2, argv,
        [&] {
            if (++steps == 3) {
                stop = true; // the third step comes before byte 11
            }
        },
        &stop);
    EXPECT_EQ(result, kResultCancelled);
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(keyboard().stats().bytes, 11);
    EXPECT_EQ(keyboard().stats().openHandles, 0);
}

TEST_F(EngineTest, StopBeforeTheFirstByteSendsNothing) {
    std::atomic<bool> stop{true};
    const std::string file = LayoutFile(113);
    const char* argv[] = {"zrwin.exe", file.c_str()};
    EXPECT_EQ(ProgramKeyboard(2, argv, {}, &stop), kResultCancelled);
    EXPECT_EQ(keyboard().stats().bytes, 0);
    EXPECT_EQ(keyboard().stats().openHandles, 0);
}

// A read that fails part-way (a failing disk) is no shorter layout: nothing reaches the keyboard.
TEST_F(EngineTest, FailedReadIsUnableToOpenAndSendsNothing) {
    const std::string file = LayoutFile(113);
    for (long failAfter : {0L, 40L, 2000L, 7000L}) {
        SCOPED_TRACE(failAfter);
        ScopedLayoutReadFault fault(failAfter);
        EXPECT_EQ(Run({"zrwin.exe", file}), kResultCannotOpenFile);
        EXPECT_EQ(Run({"zrwin.exe", file, "/2"}), kResultCannotOpenFile);
    }
    EXPECT_EQ(keyboard().stats().opens, 0);
    EXPECT_TRUE(keyboard().receivedBytes().empty());
    EXPECT_EQ(Run({"zrwin.exe", file}), 0) << "the hook is gone with its scope";
}

// Nothing but a regular file is a layout, and looking at one never waits (a FIFO without a
// writer would block an ordinary open for ever).
TEST_F(EngineTest, OnlyRegularFilesAreLayouts) {
    const std::string fifo = dir_.file("fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = dir_.file("socket.txt").string();
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (const std::string& path :
         {fifo, socketPath, dir_.path().string(), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Run({"zrwin.exe", path}), kResultCannotOpenFile);
        EXPECT_EQ(Run({"zrwin.exe", path, "/2"}), kResultCannotOpenFile);
    }
    ::close(listener);
    EXPECT_EQ(keyboard().stats().opens, 0);
}

TEST_F(EngineTest, FileAboveOneMebibyteIsNoLayout) {
    // A valid layout in front, then more than the largest layout could be: refused as a whole.
    const std::string text = test::BuildLayoutText(SampleLayout(113));
    const std::string large = dir_.write("large.txt", text);
    ASSERT_EQ(::truncate(large.c_str(), kMaxLayoutFileSize + 1), 0);
    EXPECT_EQ(Run({"zrwin.exe", large}), kResultInvalidFileFormat);
    // A sparse file of 64 GiB is refused as fast, without reading it.
    ASSERT_EQ(::truncate(large.c_str(), std::int64_t{64} << 30), 0);
    EXPECT_EQ(Run({"zrwin.exe", large}), kResultInvalidFileFormat);
    const std::string largest = dir_.write("largest.txt", text);
    ASSERT_EQ(::truncate(largest.c_str(), kMaxLayoutFileSize), 0);
    EXPECT_EQ(Run({"zrwin.exe", largest}), kResultInvalidFileFormat) << "zeros are no key line";
    EXPECT_EQ(keyboard().stats().opens, 0);
}

TEST_F(EngineTest, ByteOrderMarkInFrontProgramsTheSameImage) {
    const std::string file =
        dir_.write("marked.txt", "\xEF\xBB\xBF" + test::BuildLayoutText(SampleLayout(113)));
    ASSERT_EQ(Run({"zrwin.exe", file}), 0);
    EXPECT_EQ(keyboard().lastHandleBytes(), ExpectedImage(SampleLayout(113), true));
}

// The driver is opened without sharing: while another handle is open, a run fails to open the
// device and sends nothing; the handle already open is not disturbed.
TEST_F(EngineTest, SecondHandleIsADriverError) {
    const std::string file = LayoutFile(113);
    {
        std::unique_ptr<DeviceHandle> first = OpenDevice();
        ASSERT_NE(first, nullptr);
        test::ScopedEnv typed("ZR4700_DEVICE", "sim:0");
        EXPECT_EQ(Run({"zrwin.exe"}), kResultDriverError);
        EXPECT_EQ(Run({"zrwin.exe", file}), kResultDriverError);
        EXPECT_EQ(Run({"zrwin.exe", file, "/2"}), kResultDriverError);
        EXPECT_EQ(keyboard().type(), 2) << "a refused open leaves the keyboard's type alone";
        EXPECT_EQ(keyboard().stats().busyOpens, 3);
        EXPECT_EQ(keyboard().stats().typeQueries, 0);
    }
    EXPECT_TRUE(keyboard().receivedBytes().empty());
    EXPECT_EQ(Run({"zrwin.exe", file}), 0);
    EXPECT_EQ(keyboard().lastHandleBytes(), ExpectedImage(SampleLayout(113), true));
}

TEST_F(EngineTest, ReportSaysHowFarTheTransferGot) {
    keyboard().setType(0);
    std::atomic<bool> stop{false};
    int steps = 0;
    const std::string file = LayoutFile(56);
    const char* argv[] = {"zrwin.exe", file.c_str()};
    ProgramReport report;
    EXPECT_EQ(ProgramKeyboard(
                  2, argv, [&] { stop = ++steps == 2; }, &stop, &report),
              kResultCancelled);
    EXPECT_EQ(report.deviceType, 0);
    EXPECT_EQ(report.imageSize, 450);
    EXPECT_EQ(report.bytesSent, 7);
    EXPECT_EQ(keyboard().stats().bytes, 7);

    const int opens = keyboard().stats().opens;
    stop = true;
    EXPECT_EQ(ProgramKeyboard(2, argv, {}, &stop, &report), kResultCancelled);
    EXPECT_EQ(report.bytesSent, 0);
    EXPECT_EQ(keyboard().stats().opens, opens) << "a run stopped before it began opens nothing";
}

TEST(BytePacing, DefaultPauseKeepsAtLeastThreeMilliseconds) {
    EXPECT_EQ(BytePause(), std::chrono::milliseconds(3));
    test::ScopedEnv device("ZR4700_DEVICE", "sim");
    InProcessKeyboard().reset();
    const std::vector<std::uint8_t> image(40, 1);
    ASSERT_EQ(SendImage(image.data(), static_cast<int>(image.size()), {}), 0);
    const SimulatedKeyboard::Stats stats = InProcessKeyboard().stats();
    EXPECT_EQ(stats.gaps, 39);
    EXPECT_GE(stats.minGapMs, 3.0);
    InProcessKeyboard().reset();
}

TEST(BytePacing, ScopedPauseRestoresTheDefault) {
    {
        ScopedBytePause shorter(std::chrono::microseconds(10));
        EXPECT_EQ(BytePause(), std::chrono::microseconds(10));
    }
    EXPECT_EQ(BytePause(), std::chrono::milliseconds(3));
}

} // namespace
} // namespace zr4700
