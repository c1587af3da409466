#pragma once
// The application object: chooses the resource set, runs the main dialog modally, and ends the
// process when it closes. With --screenshot it draws the main window into a PNG file instead.

#include "win32/CommandLine.h"

#include <windows.h>

namespace win32 {

class CProgrammerApp {
  public:
    static constexpr const wchar_t* kResourceLibrary = L"local.dll";

    // Loads the resource library by the ordinary library search and, when it loads, makes it
    // the process's resource set; nothing is said when it does not. It is never released.
    static HMODULE UseResourceLibrary(const wchar_t* name = kResourceLibrary);

    // Start-up to the end of the main dialog; the process's exit status.
    int InitInstance(const CommandLine& commandLine);

    static HMODULE resourceLibrary;

  private:
    // The main dialog, or its picture with --screenshot.
    int Run(const CommandLine& commandLine);
};

} // namespace win32
