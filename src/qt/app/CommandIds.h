#pragma once
// The command ids of the main menu (129) and the key popup (137) that the program handles.

struct CommandIds {
    enum Command : int {
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
    };
};
