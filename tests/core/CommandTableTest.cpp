// The command table: each command runs only where its rule allows it, so a shortcut, the popup
// and the menus always agree.
#include "core/LayoutTestSupport.h"
#include "core/document/Commands.h"
#include "support/DocumentTestAccess.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <set>

namespace zr4700 {
namespace {

using testing::Program;

class RecordingHost final : public CommandHost {
  public:
    void EditKeyCodes() override { calls.push_back("capture"); }
    void ShowSettings() override {}
    void ShowAbout() override {}
    void ShowHelp() override {}
    void Program() override {}
    void DetectKeyboard() override {}
    void Exit() override {}
    void PrintLegends() override {}
    void ExportLegends() override {}
    void SetKeyNamesShown(bool shown) override { names = shown; }
    bool KeyNamesShown() const override { return names; }
    void PutTextOnClipboard(const std::string& text) override { calls.push_back(text); }
    std::vector<std::string> calls;
    bool names = true;
};

class NoStorage final : public RecentFileStorage {
  public:
    std::string Read(int) const override { return {}; }
    void Write(int, const std::string&) override {}
};

class NoFiles final : public FileCommandsHost {
  public:
    bool CommitControls() override { return true; }
    std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
    std::optional<SaveAsChoice> ChooseFileToSaveAs(const SaveAsOffer&) override {
        return std::nullopt;
    }
};

struct Editor {
    testing::ScriptedPrompts prompts;
    Document document{prompts};
    NoStorage storage;
    RecentFileList recent{storage};
    NoFiles files;
    FileCommands fileCommands{document, recent, files};
    RecordingHost host;
    std::optional<KeyClip> clip;
    CommandContext context{document, fileCommands, recent, host, clip};
};

TEST(CommandTable, IdsAndShortcutsAreEachTakenOnce) {
    std::set<int> ids;
    std::vector<Shortcut> shortcuts;
    for (const CommandSpec& spec : CommandTable()) {
        EXPECT_TRUE(ids.insert(spec.id).second) << spec.id;
        for (const Shortcut& shortcut : spec.shortcuts) {
            if (shortcut.key == ShortcutKey::None)
                continue;
            EXPECT_EQ(std::count(shortcuts.begin(), shortcuts.end(), shortcut), 0) << spec.id;
            shortcuts.push_back(shortcut);
        }
    }
}

TEST(CommandTable, RulesFollowTheCurrentKeyAndTheClipboard) {
    Editor editor;
    Program(zr4700::testing::RawLayout(editor.document), 1, {0x1C}, "Total");
    editor.document.SelectKey(9); // blank
    EXPECT_FALSE(CommandEnabled(editor.context, kCmdQuad));
    EXPECT_FALSE(CommandEnabled(editor.context, kCmdCopyToClipboard)) << "nothing to copy";
    EXPECT_FALSE(CommandEnabled(editor.context, kCmdPasteFromClipboard));
    EXPECT_FALSE(RunCommand(editor.context, kCmdQuad));
    EXPECT_EQ(editor.document.layout().state(9), CellState::Blank);

    editor.document.SelectKey(1);
    EXPECT_TRUE(RunCommand(editor.context, kCmdCopyToClipboard));
    EXPECT_EQ(editor.host.calls.back(), "Total: A");
    EXPECT_TRUE(RunCommand(editor.context, kCmdQuad));
    EXPECT_EQ(editor.document.layout().state(10), CellState::Quad);
    EXPECT_TRUE(CommandEnabled(editor.context, kCmdUndo));
    EXPECT_FALSE(CommandEnabled(editor.context, kCmdRedo));
    EXPECT_TRUE(RunCommand(editor.context, kCmdUndo));
    EXPECT_TRUE(CommandEnabled(editor.context, kCmdRedo));

    editor.document.SelectKey(20);
    EXPECT_TRUE(RunCommand(editor.context, kCmdPasteFromClipboard));
    EXPECT_EQ(editor.document.layout().key(20).name, "Total");
    EXPECT_TRUE(RunCommand(editor.context, kCmdKeyNamesOnCaps));
    EXPECT_FALSE(CommandChecked(editor.context, kCmdKeyNamesOnCaps));
}

} // namespace
} // namespace zr4700
