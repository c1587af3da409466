#include "win32/ViewSettings.h"

#include <windows.h>

namespace win32 {
namespace {

constexpr const wchar_t* kValue = L"KeyNamesOnCaps";

std::wstring KeyPath(const std::wstring& applicationName) {
    return L"Software\\Valmora\\" + applicationName + L"\\Legends";
}

} // namespace

bool ReadKeyNamesShown(const std::wstring& applicationName) {
    DWORD value = 1;
    DWORD bytes = sizeof value;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, KeyPath(applicationName).c_str(), kValue,
                                        RRF_RT_REG_DWORD, nullptr, &value, &bytes);
    return status != ERROR_SUCCESS || value != 0;
}

void WriteKeyNamesShown(const std::wstring& applicationName, bool shown) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(applicationName).c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const DWORD value = shown ? 1 : 0;
    RegSetValueExW(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

} // namespace win32
