// The Ansible collection end to end: the example roll-out playbook programs 20 tills, each with
// its own zr4700-sim on a Unix socket and its own state folder; one keyboard refuses a byte.

#include "engine/EngineTestSupport.h"
#include "engine/ImageDigest.h"
#include "engine/SimulatorProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zr4700 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::Simulator;

constexpr int kTills = 20;
constexpr int kRefusingTill = 7;

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::string TillName(int till) {
    char name[16];
    std::snprintf(name, sizeof name, "till%02d", till);
    return name;
}

class RollOut : public testing::Test {
  protected:
    void SetUp() override {
        playbook_ = FindProgram("ansible-playbook");
        if (playbook_.empty()) {
            GTEST_SKIP() << "ansible-playbook is not installed: the roll-out test needs Debian's "
                            "ansible-core, which scripts/setup installs";
        }
        json hosts = json::object();
        for (int till = 1; till <= kTills; ++till) {
            std::vector<std::string> options = {"--type", "0"};
            if (till == kRefusingTill) {
                options.insert(options.end(), {"--refuse-byte", "100"});
            }
            tillDirs_.push_back(std::make_unique<test::TempDir>());
            sims_.push_back(std::make_unique<Simulator>(*tillDirs_.back(), options));
            ASSERT_TRUE(sims_.back()->ready()) << TillName(till);
            hosts[TillName(till)] = {
                {"zr4700_device", sims_.back()->address()},
                {"zr4700_environment", {{"XDG_STATE_HOME", sims_.back()->stateHome()}}}};
        }
        const json inventory = {
            {"tills",
             {{"vars",
               {{"ansible_connection", "local"},
                {"ansible_python_interpreter", "{{ ansible_playbook_python }}"}}},
              {"hosts", hosts}}}};
        dir_.write("inventory.json", inventory.dump(2));
        dir_.write("ansible.cfg", "");
        const fs::path collection = dir_.file("collections/ansible_collections/valmora/zr4700");
        fs::create_directories(collection.parent_path());
        fs::create_directory_symlink(fs::path(ZR4700_SOURCE_DIR) / "ansible", collection);
        layout_ = dir_.write("store.txt", test::BuildLayoutText(test::SampleLayout(56)));
    }

    Simulator& Sim(int till) { return *sims_[static_cast<std::size_t>(till - 1)]; }

    // One run of the playbook with 10 forks and batches of 10. The tree callback leaves each
    // host's last result in a file of its own: a till's is that of "Program the keyboard", and
    // localhost's is the summary.
    struct PlaybookRun {
        int status = -1;
        std::map<std::string, json> results; // by till
        json summary;
        std::string output; // what the playbook printed
    };
    PlaybookRun Playbook(const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {playbook_,
                                              "-i",
                                              dir_.file("inventory.json").string(),
                                              "-f",
                                              "10",
                                              std::string(ZR4700_SOURCE_DIR) +
                                                  "/ansible/playbooks/roll_out.yml",
                                              "-e",
                                              "zr4700_layout=" + layout_,
                                              "-e",
                                              "zr4700_zrwin=" ZRWIN_PATH,
                                              "-e",
                                              "zr4700_batch=10"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const fs::path tree = dir_.file("tree" + std::to_string(++runs_));
        const std::string out = dir_.file("playbook.out").string();
        const std::string err = dir_.file("playbook.err").string();
        const std::string temp = dir_.file("ansible-tmp").string();
        const pid_t pid = test::Start(
            arguments, "", out, err,
            {"ANSIBLE_CONFIG=" + dir_.file("ansible.cfg").string(),
             "ANSIBLE_COLLECTIONS_PATH=" + dir_.file("collections").string(),
             "ANSIBLE_COLLECTIONS_SCAN_SYS_PATH=False", "ANSIBLE_CALLBACKS_ENABLED=tree",
             "ANSIBLE_CALLBACK_TREE_DIR=" + tree.string(), "ANSIBLE_LOCAL_TEMP=" + temp,
             "ANSIBLE_REMOTE_TEMP=" + temp, "ANSIBLE_NOCOLOR=1", "ANSIBLE_LOCALHOST_WARNING=False",
             "ANSIBLE_RETRY_FILES_ENABLED=False"});
        PlaybookRun run;
        run.status = pid < 0 ? -1 : test::WaitExit(pid);
        run.output = test::ReadFileBytes(out) + test::ReadFileBytes(err);
        for (int till = 1; till <= kTills; ++till) {
            const json result =
                json::parse(test::ReadFileBytes(tree / TillName(till)), nullptr, false);
            EXPECT_TRUE(result.is_object()) << TillName(till) << ":\n" << run.output;
            run.results[TillName(till)] = result.is_object() ? result : json::object();
        }
        const json summary = json::parse(test::ReadFileBytes(tree / "localhost"), nullptr, false);
        run.summary = summary.is_object() ? summary.value("msg", json::object()) : json::object();
        return run;
    }

    // How many lines of the output are exactly line.
    static int Lines(const std::string& output, const std::string& line) {
        int count = 0;
        for (std::size_t at = output.find(line + "\n"); at != std::string::npos;
             at = output.find(line + "\n", at + 1)) {
            count += at == 0 || output[at - 1] == '\n';
        }
        return count;
    }

    std::string CheckedDigest(int till) {
        const test::ZrwinRun check = Sim(till).Zrwin({"--json", "--check", layout_});
        return json::parse(check.out, nullptr, false).value("image_sha256", "");
    }
    std::string Received(int till) { return test::ReadFileBytes(Sim(till).recordPath()); }

    std::string playbook_;
    test::TempDir dir_;
    std::vector<std::unique_ptr<test::TempDir>> tillDirs_;
    std::vector<std::unique_ptr<Simulator>> sims_;
    std::string layout_;
    int runs_ = 0;
};

TEST_F(RollOut, TwentyTillsInBatches) {
    const std::string refusing = TillName(kRefusingTill);
    const std::string refusal =
        Sim(kRefusingTill).address() + ": error: the keyboard refused byte 100 of 450";
    auto expectTheFailure = [&](const PlaybookRun& run) {
        const json& failed = run.results.at(refusing);
        EXPECT_EQ(failed["status"], 10);
        EXPECT_EQ(failed["result"], 33009);
        EXPECT_EQ(failed["message"], "Keyboard programming error.");
        EXPECT_EQ(failed["detail"], refusal);
        EXPECT_EQ(failed["msg"], "Keyboard programming error. " + refusal);
        ASSERT_EQ(run.summary["failed"].size(), 1u) << run.output;
        EXPECT_EQ(run.summary["failed"][0], refusing + ": Keyboard programming error. " + refusal);
    };

    // First run: every keyboard but one takes the layout, exactly the image a check names.
    PlaybookRun run = Playbook({});
    EXPECT_EQ(run.status, 2) << "a till failed\n" << run.output;
    expectTheFailure(run);
    std::vector<std::string> changed;
    for (int till = 1; till <= kTills; ++till) {
        if (till != kRefusingTill) {
            const json& result = run.results.at(TillName(till));
            EXPECT_EQ(result.value("changed", false), true) << TillName(till);
            const std::string digest = CheckedDigest(till);
            EXPECT_EQ(Sha256Hex(Received(till)), digest) << TillName(till);
            EXPECT_EQ(result["image_sha256"], digest);
            changed.push_back(TillName(till));
        }
    }
    const std::string firstDigest = CheckedDigest(1);
    EXPECT_EQ(run.summary["changed"], changed);
    EXPECT_EQ(run.summary["unchanged"], json::array());

    // Second run: nothing is sent but to the keyboard that failed, which fails again.
    run = Playbook({});
    EXPECT_EQ(run.status, 2);
    expectTheFailure(run);
    for (int till = 1; till <= kTills; ++till) {
        if (till != kRefusingTill) {
            EXPECT_EQ(run.results.at(TillName(till)).value("changed", true), false);
            EXPECT_EQ(run.results.at(TillName(till))["unchanged"], true) << TillName(till);
            EXPECT_EQ(Received(till).size(), 450u) << TillName(till);
        }
    }
    EXPECT_EQ(run.summary["changed"], json::array());
    EXPECT_EQ(run.summary["unchanged"], changed);
    EXPECT_EQ(Received(kRefusingTill).size(), 2u * 99u);

    // The layout changes. A check sends nothing and finds that every keyboard would change: the
    // 19 whose records name the old image, and the one that holds no known image.
    test::LayoutSpec next = test::SampleLayout(56);
    next.keys[3] = {{0x1C}, 2, 0, "New"};
    test::WriteFileBytes(layout_, test::BuildLayoutText(next));
    run = Playbook({"--check", "--diff"});
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string nextDigest = CheckedDigest(1);
    EXPECT_NE(nextDigest, firstDigest);
    std::vector<std::string> wouldChange;
    for (int till = 1; till <= kTills; ++till) {
        const json& result = run.results.at(TillName(till));
        EXPECT_EQ(result.value("changed", false), true) << TillName(till);
        EXPECT_EQ(result["image_sha256"], nextDigest);
        EXPECT_EQ(result["recorded_sha256"],
                  till == kRefusingTill ? json(nullptr) : json(firstDigest));
        EXPECT_EQ(Received(till).size(), till == kRefusingTill ? 198u : 450u) << "nothing sent";
        wouldChange.push_back(TillName(till));
    }
    EXPECT_EQ(run.summary["would change"], wouldChange);
    EXPECT_EQ(run.summary["failed"], json::array());
    // The diffs name the digests before and after.
    EXPECT_EQ(Lines(run.output, "-image_sha256: " + firstDigest), kTills - 1) << run.output;
    EXPECT_EQ(Lines(run.output, "-image_sha256: (no record)"), 1);
    EXPECT_EQ(Lines(run.output, "+image_sha256: " + nextDigest), kTills);
}

} // namespace
} // namespace zr4700
