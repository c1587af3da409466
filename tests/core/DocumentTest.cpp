// The document seam: every edit marks the layout modified and records exactly what it touched,
// and putting back either side of a record restores that state; selecting is no edit.
#include "core/document/Document.h"
#include "support/DocumentTestAccess.h"

#include "core/LayoutTestSupport.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace zr4700 {
namespace {

using testing::Codes;
using testing::Program;
using testing::ScriptedPrompts;

class Recorder final : public DocumentObserver {
  public:
    void DocumentChanged(const DocumentChange& change) override { changes.push_back(change); }
    std::vector<DocumentChange> changes;
};

// The state an undo must give back: keys, cells, list, values, current key.
struct State {
    std::vector<KeyRecord> keys;
    std::vector<CellState> cells;
    std::vector<std::array<int32_t, 3>> partners;
    std::vector<ProgrammedKeyEntry> list;
    int32_t keyCount;
    KeyboardSettings settings;
    RfidSettings rfid;
    int32_t currentKey;
    bool operator==(const State&) const = default;
};

State StateOf(const Layout& layout) {
    State state{{},
                {},
                {},
                layout.programmedKeyList,
                layout.keyCount,
                layout.settings,
                layout.rfid,
                layout.currentKey};
    for (int k = 1; k <= kMaxKeys; ++k) {
        state.keys.push_back(layout.key(k));
        state.cells.push_back(layout.state(k));
        state.partners.push_back(layout.partners[static_cast<std::size_t>(k)]);
    }
    return state;
}

struct EditCase {
    const char* name;
    std::function<void(ScriptedPrompts&)> script;
    std::function<void(Document&)> edit;
    std::vector<int> keysTouched;
};

TEST(Document, EveryEditMarksModifiedAndRestoresBothWays) {
    const RfidSettings rfid{7, 1, 5, 9, 0, 0};
    const KeyboardSettings settings{1, 1, 3, 20, 9};
    const EditCase cases[] = {
        {"codes",
         {},
         [](Document& d) {
             d.ApplyCapturedCodes(Codes({0x1C, 0x32}), {"A", "B"});
         },
         {10}},
        {"name", {}, [](Document& d) { d.RenameKey("Total"); }, {10}},
        {"single key", {}, [](Document& d) { d.SetSingleKey(false); }, {10}},
        {"mode", {}, [](Document& d) { d.SetMode(2); }, {10}},
        {"flag for all", {}, [](Document& d) { d.SetFlagForAll(false); }, {}},
        {"to right", {}, [](Document& d) { d.Shape(ShapeCommand::ToRight); }, {10, 11}},
        {"clear key",
         [](ScriptedPrompts& p) { p.ExpectQuestion(kStrClearKeyQuestion, true); },
         [](Document& d) { d.ClearKey(); },
         {10}},
        {"clear all",
         [](ScriptedPrompts& p) { p.ExpectQuestion(kStrClearAllQuestion, true); },
         [](Document& d) { d.ClearAll(); },
         {2, 10}},
        {"settings", {}, [&](Document& d) { d.ApplySettings(settings, 56); }, {}},
        {"rfid", {}, [&](Document& d) { d.SetRfid(rfid); }, {}},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompts prompts;
        Document document(prompts);
        Layout& layout = zr4700::testing::RawLayout(document);
        Program(layout, 2, {0x1C}, "Two");
        Program(layout, 10, {0x2A}, "Ten");
        document.SelectKey(10);
        Recorder recorder;
        document.AddObserver(&recorder);
        const State before = StateOf(layout);
        if (c.script)
            c.script(prompts);

        c.edit(document);

        EXPECT_TRUE(document.modified());
        ASSERT_EQ(document.history().count(), 1u);
        const EditRecord record = *document.history().UndoStep();
        if (!c.keysTouched.empty()) {
            EXPECT_EQ(record.keys, c.keysTouched);
        }
        ASSERT_FALSE(recorder.changes.empty());
        EXPECT_EQ(recorder.changes.back().keys, record.keys) << "observers hear what changed";
        const State after = StateOf(layout);
        EXPECT_FALSE(after == before);
        document.Restore(record, Document::Side::Before);
        EXPECT_TRUE(StateOf(layout) == before) << "undo gives back the state before";
        document.Restore(record, Document::Side::After);
        EXPECT_TRUE(StateOf(layout) == after) << "redo gives back the state after";
    }
}

TEST(Document, SelectingAndEditsThatChangeNothingAreNoEdits) {
    ScriptedPrompts prompts;
    Document document(prompts);
    document.SelectKey(5);
    document.SelectNextKey();
    document.SetMode(document.layout().key(6).mode());
    prompts.ExpectQuestion(kStrClearAllQuestion, false);
    document.ClearAll();
    EXPECT_EQ(document.history().count(), 0u);
    EXPECT_FALSE(document.modified());
}

TEST(Document, SwitchingTo56KeysAsksWhileTheRightBlockHoldsCodes) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        ScriptedPrompts prompts;
        Document document(prompts);
        Layout& layout = zr4700::testing::RawLayout(document);
        layout.keyCount = kMaxKeys;
        Program(layout, 70, {0x1C}, "Alpha");
        document.SelectKey(70);
        document.SelectKey(1); // leaving key 70 records it in the list
        const State before = StateOf(layout);
        prompts.ExpectQuestion(kStrSwitchTo56Question, yes);

        EXPECT_EQ(document.ApplySettings(KeyboardSettings{}, kBlockKeys), yes);

        if (!yes) {
            EXPECT_TRUE(StateOf(layout) == before) << "No leaves everything as it was";
            continue;
        }
        EXPECT_EQ(layout.keyCount, kBlockKeys);
        EXPECT_FALSE(layout.key(70).programmed());
        ASSERT_EQ(ProgrammedKeyItems(layout).size(), 1u);
        EXPECT_EQ(ProgrammedKeyItems(layout)[0], "Alpha") << "no longer marked in use";
        // Undo gives back the model and the keys the switch cleared.
        ASSERT_EQ(document.history().count(), 1u);
        document.Undo();
        EXPECT_EQ(layout.keyCount, kMaxKeys);
        EXPECT_EQ(layout.key(70).name, "Alpha");
        EXPECT_TRUE(layout.key(70).programmed());
    }
}

} // namespace
} // namespace zr4700

namespace zr4700 {
namespace {

TEST(Document, ClearAllLeavesTheLayoutUntitled) {
    ScriptedPrompts prompts;
    Document document(prompts);
    document.SetFileName("/tmp/shop.txt");
    Program(zr4700::testing::RawLayout(document), 4, {0x1C}, "Four");
    prompts.ExpectQuestion(kStrClearAllQuestion, true);
    document.ClearAll();
    EXPECT_TRUE(document.layout().fileName.empty());
    // Undo gives the layout its file back, and the window its title.
    document.Undo();
    EXPECT_EQ(document.layout().fileName, "/tmp/shop.txt");
    EXPECT_FALSE(document.modified()) << "back at the layout as it was";
}

} // namespace
} // namespace zr4700
