#include "win32/RegistryRecentFiles.h"

#include "win32/WideText.h"

#include <windows.h>

namespace win32 {
namespace {

std::wstring ValueName(int n) {
    return L"File" + std::to_wstring(n);
}

} // namespace

std::wstring ApplicationName() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

RegistryRecentFiles::RegistryRecentFiles(std::wstring applicationName)
    : keyPath_(L"Software\\Valmora\\" + applicationName + L"\\Recent File List") {}

std::string RegistryRecentFiles::Read(int n) const {
    // The key is made the first time the list is read, as when it is written.
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return {};
    std::wstring value;
    DWORD type = 0;
    DWORD bytes = 0;
    const std::wstring name = ValueName(n);
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        type == REG_SZ && bytes > 0) {
        value.resize(bytes / sizeof(wchar_t));
        RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()),
                         &bytes);
        value.resize(bytes / sizeof(wchar_t));
        // A stored string may or may not carry its terminating NUL.
        while (!value.empty() && value.back() == L'\0')
            value.pop_back();
    }
    RegCloseKey(key);
    return Narrow(value);
}

void RegistryRecentFiles::Write(int n, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring value = Widen(path);
    RegSetValueExW(key, ValueName(n).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace win32
