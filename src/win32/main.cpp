// zr4700.exe: the ZR-4700 keyboard programmer for Windows.

#include "core/document/UserPrompts.h"
#include "win32/CProgrammerApp.h"
#include "win32/MessageBoxes.h"
#include "win32/Resources.h"

#include <shellapi.h>
#include <windows.h>

#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(words[i]);
    LocalFree(words);

    const auto commandLine = win32::ParseCommandLine(arguments);
    if (!commandLine) {
        win32::MessageBoxes::Show(nullptr, win32::Resources::String("win32.usage"),
                                  win32::Resources::String(zr4700::kStrError), MB_OK | MB_ICONSTOP);
        return 2;
    }
    win32::CProgrammerApp app;
    return app.InitInstance(*commandLine);
}
