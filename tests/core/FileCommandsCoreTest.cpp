// The file commands on the document with a scripted host and prompts: the save question never
// loses work, a file that is not a layout never becomes the document, Save As asks before a
// file type drops keys or codes, and the programming file lives in a private folder.
#include "core/files/FileCommands.h"
#include "support/DocumentTestAccess.h"

#include "core/LayoutFileTestSupport.h"
#include "core/LayoutTestSupport.h"
#include "core/files/ProgrammingFile.h"
#include "engine/EngineResults.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>

namespace zr4700 {
namespace {

namespace fs = std::filesystem;
using testing::Program;
using testing::ScriptedPrompts;

class MemoryStorage final : public RecentFileStorage {
  public:
    std::string Read(int n) const override {
        const auto found = values.find(n);
        return found == values.end() ? std::string() : found->second;
    }
    void Write(int n, const std::string& path) override { values[n] = path; }
    std::map<int, std::string> values;
};

class ScriptedHost final : public FileCommandsHost {
  public:
    bool CommitControls() override { return commits; }
    std::optional<std::string> ChooseFileToOpen() override { return Next(opens); }
    std::optional<SaveAsChoice> ChooseFileToSaveAs(const SaveAsOffer& offer) override {
        offers.push_back(offer);
        return Next(saves);
    }
    template <typename T> static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) {
            ADD_FAILURE() << "a file dialog was not expected";
            return std::nullopt;
        }
        auto next = queue.front();
        queue.pop_front();
        return next;
    }
    bool commits = true;
    std::deque<std::optional<std::string>> opens;
    std::deque<std::optional<SaveAsChoice>> saves;
    std::vector<SaveAsOffer> offers;
};

class FileCommandsCore : public ::testing::Test {
  protected:
    void Modify() {
        Program(zr4700::testing::RawLayout(document), 3, {0x1C, 0x32}, "Changed");
        zr4700::testing::SetModified(document, true);
    }
    bool StillModified() const {
        return document.modified() && document.layout().key(3).name == "Changed";
    }
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = directory.File(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string GoodLayout() {
        Layout source;
        Program(source, 1, {0x1C}, "One");
        return LayoutFileText(source, FileVariant::Scan16);
    }

    testing::TemporaryDirectory directory;
    ScriptedPrompts prompts;
    Document document{prompts};
    MemoryStorage storage;
    RecentFileList recent{storage};
    ScriptedHost host;
    FileCommands commands{document, recent, host};
};

// When the user wants the layout saved and it is not, every command that asked stops there.
TEST_F(FileCommandsCore, AWantedSaveThatDoesNotHappenLosesNothing) {
    const std::string other = WriteFile("other.txt", GoodLayout());
    struct Case {
        const char* name;
        bool cancelSaveAs;
        std::function<bool(FileCommands&)> command;
    };
    const Case cases[] = {
        {"new, Save As cancelled", true, [](FileCommands& c) { return c.New(); }},
        {"new, write fails", false, [](FileCommands& c) { return c.New(); }},
        {"open path", true,
         [&](FileCommands& c) {
             c.OpenPath(other);
             return true;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document.Reset();
        Modify();
        prompts.ExpectQuestion(kStrSaveQuestion, true);
        if (c.cancelSaveAs) {
            host.saves.push_back(std::nullopt);
        } else {
            host.saves.push_back(
                SaveAsChoice{directory.File("no-folder/x.txt"), FileVariant::Scan16});
            prompts.ExpectError(kStrCannotOpenFile);
        }
        c.command(commands);
        EXPECT_TRUE(StillModified());
        EXPECT_TRUE(recent.Entry(1).empty());
    }
}

TEST_F(FileCommandsCore, AFileThatIsNotALayoutNeverBecomesTheDocument) {
    struct Case {
        const char* name;
        std::string path;
        int error;
    };
    const Case cases[] = {
        {"missing", directory.File("gone.txt"), kStrCannotOpenFile},
        {"empty", WriteFile("empty.txt", ""), kResultInvalidFileFormat},
        {"a folder", directory.path().string(), kStrCannotOpenFile},
        // Reading this file fails at once (EIO): a read error is no end of the file.
        {"read error", "/proc/self/mem", kStrCannotOpenFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zr4700::testing::RawLayout(document).keyCount = kMaxKeys;
        prompts.ExpectError(c.error);
        commands.OpenPath(c.path);
        EXPECT_TRUE(document.layout().fileName.empty());
        EXPECT_TRUE(document.layout().fileName.empty()) << "the window says untitled";
        EXPECT_EQ(document.layout().keyCount, kMaxKeys) << "the model stays";
        EXPECT_TRUE(recent.Entry(1).empty());
        EXPECT_FALSE(document.modified());
    }
}

TEST_F(FileCommandsCore, AByteOrderMarkInFrontReadsAsWithout) {
    const std::string path = WriteFile("marked.txt", "\xEF\xBB\xBF" + GoodLayout());
    commands.OpenPath(path);
    EXPECT_EQ(document.layout().key(1).name, "One");
    EXPECT_EQ(document.layout().keyCount, kBlockKeys);
    EXPECT_EQ(recent.Entry(1), path);
    EXPECT_EQ(document.layout().fileName, path);
}

TEST_F(FileCommandsCore, SaveAsAsksBeforeAFileTypeDropsKeysOrCodes) {
    struct Case {
        const char* name;
        int keyCount;
        int key;
        int codes;
        FileVariant variant;
        int question;
    };
    const Case cases[] = {
        {"8 codes, 7/3scan of 56", 56, 5, 8, FileVariant::Scan7, kStrSaveAsDropsCodes},
        {"4 codes, 7/3scan of 112", 112, 5, 4, FileVariant::Scan7, kStrSaveAsDropsCodes},
        {"right block, left side", 112, 60, 1, FileVariant::LeftSide, kStrSaveAsDropsSide},
        {"left block, right side", 112, 5, 1, FileVariant::RightSide, kStrSaveAsDropsSide},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document.Reset();
        Layout& layout = zr4700::testing::RawLayout(document);
        layout.keyCount = c.keyCount;
        for (int slot = 0; slot < c.codes; ++slot)
            layout.key(c.key).codes[static_cast<size_t>(slot)] = 0x1C + slot;
        layout.key(c.key).setName("Total");
        zr4700::testing::SetModified(document, true);
        const std::string path = directory.File("dropped.txt");
        host.saves.push_back(SaveAsChoice{path, c.variant});
        prompts.ExpectQuestion(c.question, false, std::nullopt);

        EXPECT_FALSE(commands.SaveAs());

        ASSERT_FALSE(prompts.asked().empty());
        EXPECT_EQ(prompts.asked().back().args.back(), "Total") << "the question names the key";
        EXPECT_FALSE(fs::exists(path)) << "No writes nothing";
        EXPECT_TRUE(document.modified());
    }
    // What the variant keeps raises no question.
    EXPECT_EQ(KeysLosingCodes(document.layout(), FileVariant::Scan16).keys, 0);
}

TEST_F(FileCommandsCore, ProgrammingFileIsPrivateAndGoesWithItsFolder) {
    Layout layout;
    Program(layout, 1, {0x1C});
    std::string folder;
    {
        ProgrammingFile file;
        ASSERT_EQ(file.Write(layout, FileVariant::Save, prompts), WriteResult::Stored);
        folder = fs::path(file.path()).parent_path().string();
        EXPECT_EQ(fs::path(file.path()).filename(), "zr4700.tmp");
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
        std::ifstream in(file.path(), std::ios::binary);
        const std::string written((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(written, LayoutFileText(layout, FileVariant::Save));
    }
    EXPECT_FALSE(fs::exists(folder));

    Layout blank;
    ProgrammingFile file;
    prompts.ExpectError(kStrNoProgrammedKey);
    EXPECT_EQ(file.Write(blank, FileVariant::Save, prompts),
              WriteResult::StoredWithoutProgrammedKey);
    EXPECT_TRUE(file.path().empty());
}

} // namespace
} // namespace zr4700
