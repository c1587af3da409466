#pragma once
// The table of the editor's commands: every item of the menus and of the key popup, and every
// shortcut, has one entry with its id, the string key of its text, its default shortcuts, the
// rule that enables it (a function of the document, its selection and the clipboard) and what it
// does (a Document or FileCommands call, or a dialog the front end shows). A front end builds its
// menu items from the table, refreshes their enabled states whenever the document or the
// selection changes, and runs a command only through Run, which checks the rule first.

#include "core/document/Document.h"
#include "core/files/FileCommands.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace zr4700 {

// The ids of menus 129 and 137, and the programmer's own commands beyond them.
enum CommandId : int {
    kCmdFileNew = 32771,
    kCmdFileOpen = 32772,
    kCmdFileSave = 32777,
    kCmdFileSaveAs = 32778,
    kCmdSingle = 32779,
    kCmdToRight = 32781,
    kCmdToDown = 32782,
    kCmdQuad = 32784,
    kCmdClearKey = 32791,
    kCmdClearAll = 32792,
    kCmdCopyKey = 32793,
    kCmdSettings = 32795,
    kCmdExit = 32796,
    kCmdAbout = 32800,
    kCmdInsertKey = 40001,
    kCmdRecentFirst = 40002,
    kCmdRecentLast = 40005,
    kCmdProgramming = 40006,
    kCmdDetectKeyboard = 40007,
    kCmdHelpContent = 57670,
    kCmdEmpty = 65535,
    // The programmer's own.
    kCmdUndo = 41001,
    kCmdRedo = 41002,
    kCmdCopyToClipboard = 41003,
    kCmdPasteFromClipboard = 41004,
    kCmdDeleteKey = 41005,
    kCmdPrintLegends = 41010,
    kCmdExportLegends = 41011,
    kCmdKeyNamesOnCaps = 41012,
};

// A key of a shortcut, named apart from any toolkit; the front end maps it to its own.
enum class ShortcutKey {
    None,
    A,
    C,
    L,
    N,
    O,
    P,
    Q,
    S,
    V,
    Y,
    Z,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Insert,
    Delete,
    F1
};
struct Shortcut {
    ShortcutKey key = ShortcutKey::None;
    bool ctrl = false;
    bool shift = false;
    bool operator==(const Shortcut&) const = default;
};

// What only the front end can do: its dialogs, its windows and the system's clipboard.
class CommandHost {
  public:
    virtual ~CommandHost() = default;
    virtual void EditKeyCodes() = 0; // the capture dialog on the current key
    virtual void ShowSettings() = 0;
    virtual void ShowAbout() = 0;
    virtual void ShowHelp() = 0;
    virtual void Program() = 0;
    virtual void DetectKeyboard() = 0;
    virtual void Exit() = 0;
    virtual void PrintLegends() = 0;
    virtual void ExportLegends() = 0;
    virtual void SetKeyNamesShown(bool shown) = 0;
    virtual bool KeyNamesShown() const = 0;
    virtual void PutTextOnClipboard(const std::string& text) = 0;
};

// What the commands work on.
struct CommandContext {
    Document& document;
    FileCommands& files;
    const RecentFileList& recentFiles;
    CommandHost& host;
    std::optional<KeyClip>& clip; // the grid's own clipboard
};

// Where a command's shortcut works: anywhere in the main window, or only while the key grid has
// the keyboard focus (the grid's own clipboard and Delete, which a text field or a button keeps
// for itself otherwise).
enum class ShortcutScope { Window, Grid };

struct CommandSpec {
    int id = 0;
    // The text's string key; null for the items of menus 129 and 137, whose texts are the menu
    // resource's own.
    const char* textKey = nullptr;
    std::array<Shortcut, 2> shortcuts{};
    bool (*enabled)(const CommandContext&) = nullptr;
    void (*run)(CommandContext&, int id) = nullptr;
    // For a command that is on or off (View > Key names on caps); null for the others.
    bool (*checked)(const CommandContext&) = nullptr;
    ShortcutScope scope = ShortcutScope::Window;
};

// Every command, in no particular order.
std::span<const CommandSpec> CommandTable();
const CommandSpec* FindCommandSpec(int id);
bool CommandEnabled(const CommandContext& context, int id);
bool CommandChecked(const CommandContext& context, int id);
// Runs a command when its rule allows it; false when it did not run.
bool RunCommand(CommandContext& context, int id);

// The line the system clipboard gets for a key: "Total: A, B" (name, then its codes' names).
std::string ClipboardLine(const KeyClip& clip);

} // namespace zr4700
