#include "win32/HelpViewer.h"

namespace win32::HelpViewer {
namespace {

constexpr UINT kDisplayTopic = 0; // HH_DISPLAY_TOPIC
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

std::function<HWND(const std::wstring&)>& viewer() {
    static std::function<HWND(const std::wstring&)> stored;
    return stored;
}

HWND ShowInHtmlHelp(const std::wstring& path) {
    static HtmlHelpFunction htmlHelp = [] {
        HMODULE library = LoadLibraryW(L"hhctrl.ocx");
        return library ? reinterpret_cast<HtmlHelpFunction>(
                             reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")))
                       : nullptr;
    }();
    return htmlHelp ? htmlHelp(nullptr, path.c_str(), kDisplayTopic, 0) : nullptr;
}

} // namespace

std::wstring CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(size, L'\0');
    directory.resize(GetCurrentDirectoryW(size, directory.data()));
    return directory;
}

std::wstring HelpFilePath(const std::wstring& directory) {
    return directory + L"\\help\\ZR4700.chm";
}

HWND Show(const std::wstring& path) {
    HWND window = viewer() ? viewer()(path) : ShowInHtmlHelp(path);
    if (!window)
        return nullptr;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window, &placement)) {
        placement.showCmd = SW_SHOWMAXIMIZED;
        SetWindowPlacement(window, &placement);
    }
    return window;
}

void SetViewer(std::function<HWND(const std::wstring& path)> standIn) {
    viewer() = std::move(standIn);
}

} // namespace win32::HelpViewer
