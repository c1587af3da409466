// The recent-file list's rules on a storage in memory: order, moves, the oldest dropped, exact
// comparison, what the menu shows.
#include "core/files/RecentFileList.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using zr4700::RecentFileList;

namespace {

class MemoryStorage final : public zr4700::RecentFileStorage {
  public:
    std::string Read(int n) const override {
        const auto found = values.find(n);
        return found == values.end() ? std::string() : found->second;
    }
    void Write(int n, const std::string& path) override { values[n] = path; }
    std::vector<std::string> Stored() const { return {Read(1), Read(2), Read(3), Read(4)}; }
    std::map<int, std::string> values;
};

} // namespace

TEST(RecentFileList, PushesMoveToTheFrontAndTheFifthDropsTheOldest) {
    struct Case {
        const char* name;
        std::vector<std::string> pushes;
        std::vector<std::string> stored;
    };
    const Case cases[] = {
        {"one", {"a"}, {"a", "", "", ""}},
        {"two", {"a", "b"}, {"b", "a", "", ""}},
        {"again moves up", {"a", "b", "a"}, {"a", "b", "", ""}},
        {"front stays", {"a", "b", "b"}, {"b", "a", "", ""}},
        {"fifth drops the oldest", {"1", "2", "3", "4", "5"}, {"5", "4", "3", "2"}},
        {"from further down", {"1", "2", "3", "4", "2"}, {"2", "4", "3", "1"}},
        {"letter case is two entries", {"case.txt", "CASE.txt"}, {"CASE.txt", "case.txt", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStorage storage;
        RecentFileList list(storage);
        for (const std::string& path : c.pushes)
            list.Push(path);
        EXPECT_EQ(storage.Stored(), c.stored);
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(list.Entry(n), c.stored[static_cast<size_t>(n - 1)]);
    }
}

TEST(RecentFileList, ReloadTakesTheStoredListAndTheMenuShowsItsEntries) {
    MemoryStorage storage;
    storage.values = {{1, "a"}, {2, ""}, {3, "c"}};
    RecentFileList list(storage);
    EXPECT_FALSE(list.ShownInMenu(1)) << "nothing is shown before the list is read";
    list.Reload();
    EXPECT_EQ(list.Entry(3), "c");
    EXPECT_EQ(list.Entry(5), "");
    const std::vector<bool> shown = {list.ShownInMenu(1), list.ShownInMenu(2), list.ShownInMenu(3),
                                     list.ShownInMenu(4)};
    EXPECT_EQ(shown, (std::vector<bool>{true, false, true, false}));

    storage.values = {{1, ""}, {2, "b"}};
    list.Reload();
    EXPECT_FALSE(list.ShownInMenu(2)) << "an empty first entry hides the whole block";
}
