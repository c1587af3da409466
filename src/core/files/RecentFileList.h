#pragma once
// The four most recently used layout files, most recent first, as the File menu offers them. The
// rules live here; where the list is kept (QSettings in the desktop programmer) is the storage's
// business.

#include <array>
#include <string>

namespace zr4700 {

// Where the per-user profile keeps the list: under this key, then the program's own name, in
// this section, as values "File1".."File4" (on Windows HKCU\Software\Valmora\<program>).
inline constexpr const char* kProfileKey = "Valmora";
inline constexpr const char* kRecentFileSection = "Recent File List";

class RecentFileStorage {
  public:
    virtual ~RecentFileStorage() = default;
    // Entry n, 1..4; empty when none is stored.
    virtual std::string Read(int n) const = 0;
    virtual void Write(int n, const std::string& path) = 0;
};

class RecentFileList {
  public:
    static constexpr int kCount = 4;

    explicit RecentFileList(RecentFileStorage& storage) : storage_(storage) {}

    // Takes the stored list as it is now (another instance of the program may have changed it).
    void Reload();
    // Puts a path at the front. A path already listed moves up from its place; a new one pushes
    // the oldest out. Paths are compared whole and exactly: two that differ in letter case are
    // two entries. The whole list is stored.
    void Push(const std::string& path);

    // Entry n, 1..4; empty outside the list.
    std::string Entry(int n) const;
    const std::array<std::string, kCount>& entries() const { return entries_; }
    // Whether the File menu shows entry n: the block appears only when the first entry is set,
    // and then shows the first entry and every further one that is set.
    bool ShownInMenu(int n) const;

  private:
    RecentFileStorage& storage_;
    std::array<std::string, kCount> entries_;
};

} // namespace zr4700
