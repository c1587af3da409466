#pragma once
// File > Programming... and File > Detect keyboard on Windows: the keyboard is asked its type on
// a thread of its own while the window keeps painting, the core decides what follows and words
// every stop, and the progress dialog runs the engine on the file the core wrote.

#include "core/document/UserPrompts.h"
#include "core/files/KeyboardQuery.h"
#include "core/files/ProgrammingFile.h"
#include "core/model/Layout.h"
#include "win32/programming/CProgressDlg.h"

#include <windows.h>

#include <memory>

namespace win32 {

class ProgrammingCommands {
  public:
    ProgrammingCommands(const zr4700::Layout& layout, zr4700::UserPrompts& prompts)
        : layout_(layout), prompts_(prompts) {}

    // A detection or a transfer is under way: no second command starts.
    bool Busy() const { return detecting_ || progress_.IsProgramming(); }
    void Program(HWND owner);
    void DetectKeyboard(HWND owner);
    CProgressDlg& progress() { return progress_; }

  private:
    zr4700::KeyboardDetection DetectWithoutFreezing(HWND owner);

    const zr4700::Layout& layout_;
    zr4700::UserPrompts& prompts_;
    CProgressDlg progress_;
    std::unique_ptr<zr4700::ProgrammingFile> file_;
    bool detecting_ = false;
};

} // namespace win32
