#include "win32/CProgrammerApp.h"

#include "win32/CProgrammerDlg.h"
#include "win32/Resources.h"
#include "win32/Screenshot.h"
#include "win32/WideText.h"

#include <commctrl.h>
#include <objbase.h>

namespace win32 {
namespace {

// Runs what is waiting in the queue, so that a window just shown has drawn itself.
void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

HMODULE CProgrammerApp::resourceLibrary = nullptr;

HMODULE CProgrammerApp::UseResourceLibrary(const wchar_t* name) {
    resourceLibrary = Resources::LoadResourceLibrary(name);
    if (resourceLibrary)
        Resources::UseModule(resourceLibrary);
    return resourceLibrary;
}

int CProgrammerApp::InitInstance(const CommandLine& commandLine) {
    // The user-interface thread is a single-threaded apartment: the file dialogs and the grid's
    // answers to assistive tools (LresultFromObject) go through COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    UseResourceLibrary();

    const int status = Run(commandLine);
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}

int CProgrammerApp::Run(const CommandLine& commandLine) {
    CProgrammerDlg dialog;
    if (commandLine.screenshotPath.empty() && commandLine.layoutPath.empty()) {
        dialog.RunModal(nullptr);
        return 0;
    }
    if (!dialog.Create(nullptr))
        return 1;
    if (!commandLine.layoutPath.empty())
        dialog.fileCommands().OpenPath(Narrow(commandLine.layoutPath));
    if (commandLine.screenshotPath.empty()) {
        dialog.RunModal(nullptr);
        return 0;
    }
    ShowWindow(dialog.hwnd(), SW_SHOW);
    SetForegroundWindow(dialog.hwnd());
    UpdateWindow(dialog.hwnd());
    DrainMessages();
    return SaveWindowPicture(dialog.hwnd(), commandLine.screenshotPath) ? 0 : 1;
}

} // namespace win32
