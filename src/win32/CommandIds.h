#pragma once
// The commands of menu 129 that the Windows front end handles so far.

namespace win32 {

enum Command : int {
    kCmdFileNew = 32771,
    kCmdFileOpen = 32772,
    kCmdFileSave = 32777,
    kCmdFileSaveAs = 32778,
    kCmdSettings = 32795,
    kCmdExit = 32796,
    kCmdAbout = 32800,
    kCmdRecentBase = 40001, // entry n of the recent-file list is this plus n
    kCmdRecentFirst = 40002,
    kCmdRecentLast = 40005,
    kCmdHelpContent = 57670,
    // The system menu's About item, which a resource set may add with its string 101.
    kSysCmdAbout = 16,
};

} // namespace win32
