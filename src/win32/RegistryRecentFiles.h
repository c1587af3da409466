#pragma once
// Where the recent-file list is kept per user: HKEY_CURRENT_USER, "Software", the registry key
// "Valmora", the application's name (the executable's base name), the section
// "Recent File List", as the string values "File1" to "File4".

#include "core/files/RecentFileList.h"

#include <string>

namespace win32 {

// The executable's base name, without folder or extension.
std::wstring ApplicationName();

class RegistryRecentFiles final : public zr4700::RecentFileStorage {
  public:
    explicit RegistryRecentFiles(std::wstring applicationName = ApplicationName());

    // "Software\Valmora\<application name>\Recent File List" under HKEY_CURRENT_USER.
    const std::wstring& keyPath() const { return keyPath_; }

    std::string Read(int n) const override;
    void Write(int n, const std::string& path) override;

  private:
    std::wstring keyPath_;
};

} // namespace win32
