#include "core/document/Commands.h"

#include "core/document/Views.h"
#include "core/model/LayoutRules.h"
#include "core/scancodes/ScanCodeTables.h"

#include <algorithm>

namespace zr4700 {

namespace {

constexpr Shortcut Ctrl(ShortcutKey key) {
    return {key, true, false};
}
constexpr Shortcut CtrlShift(ShortcutKey key) {
    return {key, true, true};
}
constexpr Shortcut Plain(ShortcutKey key) {
    return {key, false, false};
}

bool Always(const CommandContext&) {
    return true;
}

int Current(const CommandContext& c) {
    return c.document.layout().currentKey;
}
bool OnAKey(const CommandContext& c) {
    return IsKeyOf(Current(c), c.document.layout().keyCount);
}
Layout::PopupState Popup(const CommandContext& c) {
    return c.document.layout().PopupStateFor(Current(c));
}

// The key popup's rules for the current key decide, whether the command comes from the popup or
// by its shortcut with the menu closed.
bool SingleAllowed(const CommandContext& c) {
    return OnAKey(c) && Popup(c).single;
}
bool ToRightAllowed(const CommandContext& c) {
    return OnAKey(c) && Popup(c).toRight;
}
bool ToDownAllowed(const CommandContext& c) {
    return OnAKey(c) && Popup(c).toDown;
}
bool QuadAllowed(const CommandContext& c) {
    return OnAKey(c) && Popup(c).quad;
}
bool CopyKeyAllowed(const CommandContext& c) {
    return OnAKey(c) && Popup(c).copyKey;
}
bool ClearKeyAllowed(const CommandContext& c) {
    return OnAKey(c) && Popup(c).clearKey;
}
bool ClearAllAllowed(const CommandContext& c) {
    return Popup(c).clearAll;
}
bool RecentShown(const CommandContext& c, int id) {
    return c.recentFiles.ShownInMenu(id - kCmdInsertKey);
}
template <int Id> bool RecentAllowed(const CommandContext& c) {
    return RecentShown(c, Id);
}
bool CanUndo(const CommandContext& c) {
    return c.document.history().CanUndo();
}
bool CanRedo(const CommandContext& c) {
    return c.document.history().CanRedo();
}
// A blank key has nothing to copy: Paste would have nothing to put down.
bool ProgrammedKey(const CommandContext& c) {
    return OnAKey(c) && c.document.layout().key(Current(c)).programmed();
}
bool CanPaste(const CommandContext& c) {
    return c.clip.has_value() && OnAKey(c);
}
bool KeyWithCell(const CommandContext& c) {
    return OnAKey(c) && c.document.layout().state(Current(c)) != CellState::Blank;
}
bool NamesShown(const CommandContext& c) {
    return c.host.KeyNamesShown();
}

void RunShape(CommandContext& c, int id) {
    c.document.Shape(id == kCmdSingle    ? ShapeCommand::Single
                     : id == kCmdToRight ? ShapeCommand::ToRight
                     : id == kCmdToDown  ? ShapeCommand::ToDown
                                         : ShapeCommand::Quad);
}

void CopyToClipboard(CommandContext& c, int) {
    c.clip = c.document.CopyCurrentKey();
    c.host.PutTextOnClipboard(ClipboardLine(*c.clip));
}

const CommandSpec kTable[] = {
    // File (menu 129)
    {kCmdFileNew,
     nullptr,
     {Ctrl(ShortcutKey::N)},
     Always,
     [](CommandContext& c, int) { c.files.New(); }},
    {kCmdFileOpen,
     nullptr,
     {Ctrl(ShortcutKey::O)},
     Always,
     [](CommandContext& c, int) { c.files.Open(); }},
    {kCmdFileSave,
     nullptr,
     {Ctrl(ShortcutKey::S)},
     Always,
     [](CommandContext& c, int) { c.files.Save(); }},
    {kCmdFileSaveAs,
     nullptr,
     {CtrlShift(ShortcutKey::S)},
     Always,
     [](CommandContext& c, int) { c.files.SaveAs(); }},
    {kCmdPrintLegends,
     "legend.menu.print",
     {Ctrl(ShortcutKey::P)},
     Always,
     [](CommandContext& c, int) { c.host.PrintLegends(); }},
    {kCmdExportLegends,
     "legend.menu.export",
     {},
     Always,
     [](CommandContext& c, int) { c.host.ExportLegends(); }},
    {kCmdProgramming, nullptr, {}, Always, [](CommandContext& c, int) { c.host.Program(); }},
    {kCmdDetectKeyboard,
     nullptr,
     {},
     Always,
     [](CommandContext& c, int) { c.host.DetectKeyboard(); }},
    {kCmdSettings, nullptr, {}, Always, [](CommandContext& c, int) { c.host.ShowSettings(); }},
    {kCmdRecentFirst,
     nullptr,
     {},
     RecentAllowed<kCmdRecentFirst>,
     [](CommandContext& c, int id) { c.files.OpenRecent(id - kCmdInsertKey); }},
    {kCmdRecentFirst + 1,
     nullptr,
     {},
     RecentAllowed<kCmdRecentFirst + 1>,
     [](CommandContext& c, int id) { c.files.OpenRecent(id - kCmdInsertKey); }},
    {kCmdRecentFirst + 2,
     nullptr,
     {},
     RecentAllowed<kCmdRecentFirst + 2>,
     [](CommandContext& c, int id) { c.files.OpenRecent(id - kCmdInsertKey); }},
    {kCmdRecentLast,
     nullptr,
     {},
     RecentAllowed<kCmdRecentLast>,
     [](CommandContext& c, int id) { c.files.OpenRecent(id - kCmdInsertKey); }},
    {kCmdExit,
     nullptr,
     {Ctrl(ShortcutKey::Q)},
     Always,
     [](CommandContext& c, int) { c.host.Exit(); }},
    // Edit
    {kCmdUndo,
     "edit.undo",
     {Ctrl(ShortcutKey::Z)},
     CanUndo,
     [](CommandContext& c, int) { c.document.Undo(); }},
    {kCmdRedo,
     "edit.redo",
     {Ctrl(ShortcutKey::Y), CtrlShift(ShortcutKey::Z)},
     CanRedo,
     [](CommandContext& c, int) { c.document.Redo(); }},
    {kCmdCopyToClipboard,
     "edit.copyKey",
     {Ctrl(ShortcutKey::C)},
     ProgrammedKey,
     CopyToClipboard,
     nullptr,
     ShortcutScope::Grid},
    {kCmdPasteFromClipboard,
     "edit.pasteKey",
     {Ctrl(ShortcutKey::V)},
     CanPaste,
     [](CommandContext& c, int) { c.document.PasteKey(*c.clip); },
     nullptr,
     ShortcutScope::Grid},
    {kCmdDeleteKey,
     "edit.deleteKey",
     {Plain(ShortcutKey::Delete)},
     KeyWithCell,
     [](CommandContext& c, int) { c.document.DeleteKey(); },
     nullptr,
     ShortcutScope::Grid},
    // View
    {kCmdKeyNamesOnCaps,
     "legend.menu.names",
     {},
     Always,
     [](CommandContext& c, int) { c.host.SetKeyNamesShown(!c.host.KeyNamesShown()); },
     NamesShown},
    // Help
    {kCmdHelpContent, nullptr, {}, Always, [](CommandContext& c, int) { c.host.ShowHelp(); }},
    {kCmdAbout, nullptr, {}, Always, [](CommandContext& c, int) { c.host.ShowAbout(); }},
    // The key popup (menu 137)
    {kCmdInsertKey,
     nullptr,
     {Plain(ShortcutKey::Insert)},
     OnAKey,
     [](CommandContext& c, int) { c.host.EditKeyCodes(); }},
    {kCmdSingle, nullptr, {Ctrl(ShortcutKey::Digit1)}, SingleAllowed, RunShape},
    {kCmdToRight, nullptr, {Ctrl(ShortcutKey::Digit2)}, ToRightAllowed, RunShape},
    {kCmdToDown, nullptr, {Ctrl(ShortcutKey::Digit3)}, ToDownAllowed, RunShape},
    {kCmdQuad, nullptr, {Ctrl(ShortcutKey::Digit4)}, QuadAllowed, RunShape},
    {kCmdCopyKey,
     nullptr,
     {Ctrl(ShortcutKey::L)},
     CopyKeyAllowed,
     [](CommandContext& c, int) { c.document.CopyKey(); }},
    {kCmdClearKey,
     nullptr,
     {Ctrl(ShortcutKey::Delete)},
     ClearKeyAllowed,
     [](CommandContext& c, int) { c.document.ClearKey(); }},
    {kCmdClearAll,
     nullptr,
     {CtrlShift(ShortcutKey::Delete)},
     ClearAllAllowed,
     [](CommandContext& c, int) { c.document.ClearAll(); }},
};

} // namespace

std::span<const CommandSpec> CommandTable() {
    return kTable;
}

const CommandSpec* FindCommandSpec(int id) {
    const auto found = std::find_if(std::begin(kTable), std::end(kTable),
                                    [id](const CommandSpec& spec) { return spec.id == id; });
    return found == std::end(kTable) ? nullptr : &*found;
}

bool CommandEnabled(const CommandContext& context, int id) {
    const CommandSpec* spec = FindCommandSpec(id);
    return spec && spec->enabled(context);
}

bool CommandChecked(const CommandContext& context, int id) {
    const CommandSpec* spec = FindCommandSpec(id);
    return spec && spec->checked && spec->checked(context);
}

bool RunCommand(CommandContext& context, int id) {
    const CommandSpec* spec = FindCommandSpec(id);
    if (!spec || !spec->enabled(context))
        return false;
    spec->run(context, id);
    return true;
}

std::string ClipboardLine(const KeyClip& clip) {
    std::string line = ShownKeyName(clip.name) + ": ";
    bool first = true;
    for (const std::string& name : NamesOfCodes(clip.codes)) {
        if (name.empty())
            continue;
        if (!first)
            line += ", ";
        line += name;
        first = false;
    }
    return line;
}

} // namespace zr4700
