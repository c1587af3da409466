#include "core/files/RecentFileList.h"

namespace zr4700 {

void RecentFileList::Reload() {
    for (int n = 1; n <= kCount; ++n)
        entries_[static_cast<std::size_t>(n - 1)] = storage_.Read(n);
}

void RecentFileList::Push(const std::string& path) {
    std::size_t found = kCount - 1;
    for (std::size_t i = 0; i < kCount; ++i) {
        if (entries_[i] == path) {
            found = i;
            break;
        }
    }
    for (std::size_t i = found; i > 0; --i)
        entries_[i] = entries_[i - 1];
    entries_[0] = path;
    for (int n = 1; n <= kCount; ++n)
        storage_.Write(n, entries_[static_cast<std::size_t>(n - 1)]);
}

std::string RecentFileList::Entry(int n) const {
    if (n < 1 || n > kCount)
        return {};
    return entries_[static_cast<std::size_t>(n - 1)];
}

bool RecentFileList::ShownInMenu(int n) const {
    if (n < 1 || n > kCount || entries_[0].empty())
        return false;
    return n == 1 || !entries_[static_cast<std::size_t>(n - 1)].empty();
}

} // namespace zr4700
