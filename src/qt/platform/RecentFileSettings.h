#pragma once
// Where the recent-file list is kept per user: under the organisation "Valmora", then the
// application's name (the executable's base name, set at start-up), then the section
// "Recent File List", as the values "File1" to "File4".

#include "core/files/RecentFileList.h"

class RecentFileSettings final : public zr4700::RecentFileStorage {
  public:
    std::string Read(int n) const override;
    void Write(int n, const std::string& path) override;
};
