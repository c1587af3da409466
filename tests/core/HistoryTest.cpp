// The history: undo and redo give back the whole document exactly as it stood at every step,
// whatever edits and selections came between; modified means "not at the saved step"; Save As
// keeps the history.
#include "core/LayoutTestSupport.h"
#include "core/document/Document.h"
#include "core/files/FileCommands.h"
#include "support/DocumentTestAccess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

namespace zr4700 {
namespace {

using testing::Codes;
using testing::Program;

class AnsweringPrompts final : public UserPrompts {
  public:
    bool AskYesNo(int, const std::vector<std::string>&) override { return answer; }
    void ShowError(int, const std::vector<std::string>&) override {}
    void ShowWarningDetail(int, const std::vector<std::string>&, const std::string&) override {}
    bool answer = true;
};

// Everything an undo must give back.
struct WholeState {
    std::vector<KeyRecord> keys;
    std::vector<CellState> cells;
    std::vector<std::array<int32_t, 3>> partners;
    std::vector<ProgrammedKeyEntry> list;
    std::vector<int32_t> order;
    SelectionState selection;
    int32_t keyCount = 0;
    uint8_t nextGroupNumber = 0;
    KeyboardSettings settings;
    RfidSettings rfid;
    std::string fileName;
    bool operator==(const WholeState&) const = default;
};

WholeState StateOf(const Document& document) {
    const Layout& layout = document.layout();
    WholeState state;
    for (int k = 1; k <= kMaxKeys; ++k) {
        state.keys.push_back(layout.key(k));
        state.cells.push_back(layout.state(k));
        state.partners.push_back(layout.partners[static_cast<std::size_t>(k)]);
    }
    state.list = layout.programmedKeyList;
    state.order = layout.programmedKeyOrder;
    state.selection = document.selection();
    state.keyCount = layout.keyCount;
    state.nextGroupNumber = layout.nextGroupNumber;
    state.settings = layout.settings;
    state.rfid = layout.rfid;
    state.fileName = layout.fileName;
    return state;
}

// Random sequences of every kind of edit, selections, undo and redo. The state at each position
// of the history is what stood there last (a selection after a step belongs to its position);
// every undo and redo must land on exactly that.
TEST(History, UndoAndRedoGiveBackTheWholeDocumentAtEveryStep) {
    const std::vector<std::string> names = {"Alpha", "Beta", "Gamma", "Beta"};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto pick = [&random](int from, int to) {
            return std::uniform_int_distribution<int>(from, to)(random);
        };
        AnsweringPrompts prompts;
        Document document(prompts);
        std::vector<WholeState> states = {StateOf(document)};
        std::optional<KeyClip> clip;
        int undos = 0;
        for (int op = 0; op < 150; ++op) {
            const int count = document.layout().keyCount;
            const int kind = pick(0, 24);
            prompts.answer = pick(0, 3) != 0;
            const std::size_t before = document.history().position();
            switch (kind) {
            case 0:
            case 1:
                document.SelectKey(pick(1, count));
                break;
            case 2:
                document.SelectNextKey();
                break;
            case 3:
                document.SelectKeyBelow();
                break;
            case 4:
                document.OnPreviousKey();
                break;
            case 5:
                document.SelectProgrammedKey(pick(0, 3));
                break;
            case 6:
            case 7: {
                KeyCodes codes = Codes({pick(0, 3) == 0 ? 0 : pick(1, 0x7F), pick(0, 0x7F)});
                document.ApplyCapturedCodes(codes, {});
                break;
            }
            case 8:
                document.RenameKey(names[static_cast<std::size_t>(pick(0, 3))] +
                                   std::string(static_cast<std::size_t>(pick(0, 2)), 'x'));
                break;
            case 9:
                document.EndTyping();
                break;
            case 10:
                document.SetSingleKey(pick(0, 1) == 1);
                break;
            case 11:
                document.SetMode(pick(0, 2));
                break;
            case 12:
                document.SetModeForAll();
                break;
            case 13:
                document.Shape(static_cast<ShapeCommand>(pick(0, 3)));
                break;
            case 14:
                document.CopyKey();
                break;
            case 15:
                document.ClearKey();
                break;
            case 16:
                if (pick(0, 3) == 0)
                    document.ClearAll();
                break;
            case 17:
                document.ApplySettings(
                    KeyboardSettings{pick(0, 1), pick(0, 1), pick(0, 3), pick(0, 31), pick(0, 9)},
                    pick(0, 1) == 0 ? kBlockKeys : kMaxKeys);
                break;
            case 18:
                document.SetRfid(RfidSettings{static_cast<uint8_t>(pick(0, 255)), 0,
                                              static_cast<uint8_t>(pick(1, 9)), 0, 0, 0});
                break;
            case 19:
                clip = document.CopyCurrentKey();
                break;
            case 20:
                if (clip)
                    document.PasteKey(*clip);
                break;
            case 21:
                document.DeleteKey();
                break;
            case 22:
                document.DropKey(pick(1, count), pick(1, count));
                break;
            case 23:
            case 24: {
                const bool undo = pick(0, 1) == 0;
                if (!(undo ? document.Undo() : document.Redo()))
                    break;
                ++undos;
                const std::size_t position = document.history().position();
                ASSERT_LT(position, states.size());
                ASSERT_TRUE(StateOf(document) == states[position])
                    << (undo ? "undo" : "redo") << " at op " << op;
                continue;
            }
            }
            const std::size_t after = document.history().position();
            if (after != before) {
                ASSERT_EQ(after, before + 1) << "one step per edit";
                states.resize(after);
                states.push_back(StateOf(document));
            } else {
                // A selection, a merged step or no edit at all: the position's state moves on.
                states[after] = StateOf(document);
            }
        }
        EXPECT_GT(undos, 0);
    }
}

TEST(History, ModifiedIsNotAtTheSavedStep) {
    AnsweringPrompts prompts;
    Document document(prompts);
    EXPECT_FALSE(document.modified());
    document.SelectKey(3);
    document.ApplyCapturedCodes(Codes({0x1C}), {});
    EXPECT_TRUE(document.modified());
    document.Saved("/tmp/saved.txt", true);
    EXPECT_FALSE(document.modified());
    document.SetMode(2);
    EXPECT_TRUE(document.modified());
    document.Undo();
    EXPECT_FALSE(document.modified()) << "back at the saved step";
    document.Undo();
    EXPECT_TRUE(document.modified()) << "before the saved step";
    document.Redo();
    document.Redo();
    document.Undo();
    document.RenameKey("Other"); // drops the undone step after the saved one
    EXPECT_TRUE(document.modified());
    // A load the reader corrected is not the file: no step of its history is.
    Layout corrected = document.layout();
    document.Load(corrected, true);
    EXPECT_TRUE(document.modified());
    document.SetMode(1);
    document.Undo();
    EXPECT_TRUE(document.modified());
}

TEST(History, KeepsAtMostItsLimitAndMergesTypingPerVisit) {
    AnsweringPrompts prompts;
    Document document(prompts);
    document.SelectKey(1);
    document.RenameKey("A");
    document.RenameKey("Ab");
    document.EndTyping();
    document.RenameKey("Abc");
    EXPECT_EQ(document.history().count(), 2u) << "one step per visit to the field";
    for (std::size_t i = 0; i < History::kLimit + 20; ++i)
        document.SetMode(static_cast<int>(i % 3));
    EXPECT_EQ(document.history().count(), History::kLimit);
    EXPECT_TRUE(document.modified()) << "the saved step fell off the history";
}

class NoHost final : public FileCommandsHost {
  public:
    bool CommitControls() override { return true; }
    std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
    std::optional<SaveAsChoice> ChooseFileToSaveAs(const SaveAsOffer&) override { return next; }
    std::optional<SaveAsChoice> next;
};

class MemoryRecentFiles final : public RecentFileStorage {
  public:
    std::string Read(int n) const override { return entries[static_cast<std::size_t>(n)]; }
    void Write(int n, const std::string& path) override {
        entries[static_cast<std::size_t>(n)] = path;
    }
    std::array<std::string, 5> entries;
};

TEST(History, SaveAsKeepsTheHistoryAndADroppingTypeIsOneStep) {
    const auto folder = std::filesystem::temp_directory_path() / "zr4700-history-test";
    std::filesystem::create_directories(folder);
    AnsweringPrompts prompts;
    Document document(prompts);
    MemoryRecentFiles storage;
    RecentFileList recent(storage);
    NoHost host;
    FileCommands files(document, recent, host);
    document.SelectKey(4);
    document.ApplyCapturedCodes(Codes({1, 2, 3, 4, 5, 6, 7, 8, 9}), {});
    document.RenameKey("Nine");

    host.next = SaveAsChoice{(folder / "full.txt").string(), FileVariant::Scan16};
    ASSERT_TRUE(files.SaveAs());
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(document.history().count(), 2u) << "a read-back equal to the layout resets nothing";
    EXPECT_TRUE(document.Undo()) << "Ctrl+Z after Save As";
    EXPECT_TRUE(document.modified());
    document.Redo();

    host.next = SaveAsChoice{(folder / "seven.txt").string(), FileVariant::Scan7};
    ASSERT_TRUE(files.SaveAs());
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(document.layout().key(4).codes[7], 0) << "the layout as the file gives it back";
    ASSERT_NE(document.history().UndoStep(), nullptr);
    EXPECT_EQ(document.history().UndoStep()->kind, EditKind::SaveAsReadBack);
    document.Undo();
    EXPECT_EQ(document.layout().key(4).codes[8], 9) << "undo gives the dropped codes back";
    EXPECT_TRUE(document.modified());
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace zr4700
