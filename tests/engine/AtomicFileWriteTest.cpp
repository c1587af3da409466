// Saving through the temporary beside the file: links, modes and what a killed save leaves.

#include "engine/AtomicFileWrite.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zr4700 {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(AtomicFileWrite, NewFileTakesTheUmaskAndAnOldOneKeepsItsMode) {
    test::TempDir dir;
    const mode_t saved = ::umask(027);
    EXPECT_TRUE(ReplaceFileAtomically(dir.file("new.txt"), "new"));
    ::umask(saved);
    EXPECT_EQ(ModeOf(dir.file("new.txt")), 0640u);

    const std::string old = dir.write("old.txt", "old");
    ::chmod(old.c_str(), 0604);
    EXPECT_TRUE(ReplaceFileAtomically(old, "replaced"));
    EXPECT_EQ(test::ReadFileBytes(old), "replaced");
    EXPECT_EQ(ModeOf(old), 0604u);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"new.txt", "old.txt"}));
}

TEST(AtomicFileWrite, DanglingLinkIsWrittenAtItsTarget) {
    test::TempDir dir;
    fs::create_directory(dir.file("sub"));
    // link.txt -> sub/hop.txt -> missing.txt (relative to sub/)
    fs::create_symlink("sub/hop.txt", dir.file("link.txt"));
    fs::create_symlink("missing.txt", dir.file("sub/hop.txt"));
    EXPECT_TRUE(ReplaceFileAtomically(dir.file("link.txt"), "through links"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    EXPECT_TRUE(fs::is_symlink(dir.file("sub/hop.txt")));
    EXPECT_EQ(test::ReadFileBytes(dir.file("sub/missing.txt")), "through links");
    EXPECT_EQ(Entries(dir.file("sub")), (std::vector<std::string>{"hop.txt", "missing.txt"}));
}

TEST(AtomicFileWrite, LinkLoopRefusesTheSave) {
    test::TempDir dir;
    fs::create_symlink("b.txt", dir.file("a.txt"));
    fs::create_symlink("a.txt", dir.file("b.txt"));
    fs::create_symlink("self.txt", dir.file("self.txt"));
    EXPECT_FALSE(ReplaceFileAtomically(dir.file("a.txt"), "x"));
    EXPECT_FALSE(ReplaceFileAtomically(dir.file("self.txt"), "x"));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"a.txt", "b.txt", "self.txt"}));
}

// A temporary as a save killed between writing and renaming leaves it: named after its process,
// locked while it lived.
void LeaveTemporaryAndDie(const fs::path& target) {
    const pid_t child = ::fork();
    if (child == 0) {
        const fs::path temporary =
            target.parent_path() /
            (TemporaryNamePrefix(target.filename()) + std::to_string(::getpid()) + "-0badf00d.tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ::flock(fd, LOCK_EX);
        [[maybe_unused]] ssize_t written = ::write(fd, "half a lay", 10);
        ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST(AtomicFileWrite, NextSaveRemovesTheTemporaryOfAKilledSave) {
    test::TempDir dir;
    const fs::path target = dir.file("layout.txt");
    test::WriteFileBytes(target, "old");
    LeaveTemporaryAndDie(target);
    LeaveTemporaryAndDie(dir.file("other.txt"));
    // One of a live process (pid 1 always lives) may be a save in progress: it stays.
    const std::string live = TemporaryNamePrefix("layout.txt") + "1-12345678.tmp";
    test::WriteFileBytes(dir.file(live), "in progress");
    ASSERT_EQ(Entries(dir.path()).size(), 4u);

    EXPECT_TRUE(ReplaceFileAtomically(target, "new"));
    EXPECT_EQ(test::ReadFileBytes(target), "new");
    const std::vector<std::string> left = Entries(dir.path());
    EXPECT_EQ(left.size(), 3u);
    EXPECT_NE(std::find(left.begin(), left.end(), live), left.end());
    EXPECT_NE(std::find(left.begin(), left.end(), "layout.txt"), left.end());
    EXPECT_EQ(std::count_if(left.begin(), left.end(),
                            [](const std::string& name) {
                                return name.starts_with(TemporaryNamePrefix("other.txt"));
                            }),
              1)
        << "another file's temporaries are that file's saves' business";
}

TEST(AtomicFileWrite, LongNamesStillSave) {
    test::TempDir dir;
    const std::string name = std::string(250, 'n') + ".txt";
    EXPECT_TRUE(ReplaceFileAtomically(dir.file(name), "long"));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{name}));
}

} // namespace
} // namespace zr4700
