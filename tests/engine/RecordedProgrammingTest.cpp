// Programming runs that keep the record of what the keyboard holds, against zr4700-sim (a
// keyboard that outlives the run, as a real one does).

#include "engine/RecordedProgramming.h"

#include "EngineTestSupport.h"
#include "SimulatorProcess.h"
#include "engine/BytePacer.h"
#include "engine/ImageDigest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zr4700 {
namespace {

namespace fs = std::filesystem;

enum class Prior { None, SameImage, OtherImage, OtherType, Garbage };
enum class After { None, New, AsBefore };

struct RecordCase {
    const char* name;
    std::vector<std::string> simOptions;
    Prior prior;
    bool check;
    bool ifChanged;
    bool missingFile;
    int result;
    std::size_t bytesSent;
    After after;
    bool unchanged = false;
    friend void PrintTo(const RecordCase& c, std::ostream* out) { *out << c.name; }
};

const std::string& SampleImageDigest() {
    static const std::string digest = [] {
        const std::vector<std::uint8_t> image = test::ExpectedImage(test::SampleLayout(113), true);
        return Sha256Hex(image.data(), image.size());
    }();
    return digest;
}

class RecordedRunTest : public testing::Test {
  protected:
    void Start(std::vector<std::string> simOptions) {
        simOptions.insert(simOptions.begin(), {"--type", "2"});
        sim_.emplace(dir_, simOptions);
        ASSERT_TRUE(sim_->ready());
        device_.emplace("ZR4700_DEVICE", sim_->address());
        recordFile_ = KeyboardRecordPath(state_, sim_->address());
    }
    void Keep(Prior prior) {
        KeyboardRecord record;
        record.device = sim_->address();
        record.imageSha256 = SampleImageDigest();
        record.keyboardType = 2;
        if (prior == Prior::OtherImage) {
            record.imageSha256 = std::string(64, 'a');
        } else if (prior == Prior::OtherType) {
            record.keyboardType = 1;
        }
        if (prior == Prior::Garbage) {
            fs::create_directories(state_);
            test::WriteFileBytes(recordFile_, "{\"zr4700_record\": 1, \"dev");
        } else if (prior != Prior::None) {
            ASSERT_TRUE(WriteKeyboardRecord(recordFile_, record, nullptr));
        }
    }
    int Run(RecordedRunOptions options, const std::string& file,
            const ProgramControl& control = {}) {
        options.stateDirectory = state_;
        const char* argv[] = {"zrwin", file.c_str()};
        return ProgramKeyboardRecorded(2, argv, control, options, &report_, &outcome_);
    }
    std::string Layout() const {
        return dir_.write("shop.txt", test::BuildLayoutText(test::SampleLayout(113)));
    }
    std::size_t BytesReceived() const { return test::ReadFileBytes(sim_->recordPath()).size(); }

    test::TempDir dir_;
    fs::path state_ = dir_.file("state");
    std::optional<test::Simulator> sim_;
    std::optional<test::ScopedEnv> device_;
    fs::path recordFile_;
    ScopedBytePause fast_{std::chrono::nanoseconds(0)};
    ProgramReport report_;
    RecordedRunOutcome outcome_;
};

class RecordedRun : public RecordedRunTest, public testing::WithParamInterface<RecordCase> {};

TEST_P(RecordedRun, KeepsTheRecordTrue) {
    const RecordCase& c = GetParam();
    Start(c.simOptions);
    Keep(c.prior);
    const std::string before = test::ReadFileBytes(recordFile_);
    const std::string file = c.missingFile ? dir_.file("missing.txt").string() : Layout();

    RecordedRunOptions options;
    options.check = c.check;
    options.ifChanged = c.ifChanged;
    EXPECT_EQ(Run(options, file), c.result);
    EXPECT_EQ(BytesReceived(), c.bytesSent);
    EXPECT_EQ(outcome_.unchanged, c.unchanged);
    EXPECT_EQ(outcome_.recordFile, recordFile_);
    EXPECT_EQ(outcome_.recordError, "");
    EXPECT_EQ(outcome_.before.has_value(), c.prior != Prior::None && c.prior != Prior::Garbage);
    switch (c.after) {
    case After::None:
        EXPECT_FALSE(fs::exists(recordFile_));
        break;
    case After::AsBefore:
        EXPECT_EQ(test::ReadFileBytes(recordFile_), before);
        break;
    case After::New: {
        const std::optional<KeyboardRecord> record =
            ReadKeyboardRecord(recordFile_, sim_->address());
        ASSERT_TRUE(record);
        EXPECT_EQ(record->imageSha256, SampleImageDigest());
        EXPECT_EQ(Sha256Hex(test::ReadFileBytes(sim_->recordPath()).substr(BytesReceived() - 2022)),
                  SampleImageDigest());
        EXPECT_EQ(record->keyboardType, 2);
        EXPECT_EQ(record->layoutCode, 113);
        EXPECT_EQ(record->bytes, 2022);
        EXPECT_EQ(record->layoutFile, file);
        EXPECT_EQ(record->programmedAt.size(), 20u);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RecordedRun,
    testing::Values(
        RecordCase{"FirstTransfer", {}, Prior::None, false, false, false, 0, 2022, After::New},
        RecordCase{
            "SameImage", {}, Prior::SameImage, false, true, false, 0, 0, After::AsBefore, true},
        RecordCase{"SameImageWithoutIfChanged",
                   {},
                   Prior::SameImage,
                   false,
                   false,
                   false,
                   0,
                   2022,
                   After::New},
        RecordCase{"OtherImage", {}, Prior::OtherImage, false, true, false, 0, 2022, After::New},
        RecordCase{"OtherType", {}, Prior::OtherType, false, true, false, 0, 2022, After::New},
        RecordCase{"UnreadableRecord", {}, Prior::Garbage, false, true, false, 0, 2022, After::New},
        RecordCase{
            "CheckSendsNothing", {}, Prior::OtherImage, true, false, false, 0, 0, After::AsBefore},
        RecordCase{"CheckOfTheSameImage",
                   {},
                   Prior::SameImage,
                   true,
                   true,
                   false,
                   0,
                   0,
                   After::AsBefore,
                   true},
        RecordCase{"RefusedByteRemovesIt",
                   {"--refuse-byte", "100"},
                   Prior::SameImage,
                   false,
                   false,
                   false,
                   33009,
                   99,
                   After::None},
        RecordCase{"MissingFileKeepsIt",
                   {},
                   Prior::SameImage,
                   false,
                   false,
                   true,
                   33003,
                   0,
                   After::AsBefore},
        RecordCase{"MismatchKeepsIt",
                   {"--type", "1"},
                   Prior::OtherImage,
                   false,
                   false,
                   false,
                   33008,
                   0,
                   After::AsBefore}),
    [](const testing::TestParamInfo<RecordCase>& caseInfo) { return caseInfo.param.name; });

TEST_F(RecordedRunTest, StoppedPartWayLeavesNoRecord) {
    Start({});
    Keep(Prior::SameImage);
    std::atomic<bool> stop{false};
    const ProgramControl control{[&stop] { stop = true; }, &stop, {}};
    EXPECT_EQ(Run({}, Layout(), control), kResultCancelled);
    EXPECT_GT(BytesReceived(), 0u);
    EXPECT_LT(BytesReceived(), 2022u);
    EXPECT_FALSE(fs::exists(recordFile_));
}

TEST_F(RecordedRunTest, ARecordThatCannotBeWrittenDoesNotFailTheTransfer) {
    Start({});
    test::WriteFileBytes(state_, "a file where the folder should be");
    EXPECT_EQ(Run({}, Layout()), kResultOk);
    EXPECT_EQ(BytesReceived(), 2022u);
    EXPECT_NE(outcome_.recordError.find(state_.string()), std::string::npos)
        << outcome_.recordError;
}

TEST_F(RecordedRunTest, TheInProcessKeyboardKeepsNone) {
    test::ScopedEnv device("ZR4700_DEVICE", "sim");
    EXPECT_EQ(Run({}, Layout()), kResultOk);
    EXPECT_TRUE(outcome_.recordFile.empty());
    EXPECT_FALSE(fs::exists(state_));
}

} // namespace
} // namespace zr4700
