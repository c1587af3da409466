#include "engine/AtomicFileWrite.h"

#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#define ZR4700_POSIX_SAVE 1
#else
#include <fstream>
#endif

namespace zr4700 {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMarker = ".zr4700-save-";
constexpr std::string_view kTemporaryEnd = ".tmp";
// Room left in a name of at most 255 bytes for the marker, the process id, the random part and
// the end.
constexpr std::size_t kLongestNamePart = 200;

std::string RandomHex() {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::uint32_t> draw;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    std::uint32_t value = draw(random);
    for (int digit = 0; digit < 8; ++digit, value >>= 4) {
        text += kHex[value & 0x0F];
    }
    return text;
}

} // namespace

std::string TemporaryNamePrefix(const fs::path& fileName) {
    std::string name = fileName.filename().string();
    if (name.size() > kLongestNamePart) {
        name.resize(kLongestNamePart);
    }
    return "." + name + std::string(kTemporaryMarker);
}

#ifdef ZR4700_POSIX_SAVE

bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

namespace {

// Enough for any chain a person makes; more means the links go round in a loop.
constexpr int kMostLinks = 40;

// The file a save of path writes: path itself, or the end of its chain of links, which need not
// exist (a dangling link is written at the path it names). Nothing for a loop of links or a
// chain that cannot be read.
std::optional<fs::path> FollowLinks(fs::path path) {
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return path;
            }
            return std::nullopt;
        }
        if (!S_ISLNK(status.st_mode)) {
            return path;
        }
        std::error_code error;
        const fs::path next = fs::read_symlink(path, error);
        if (error) {
            return std::nullopt;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

// The permissions a new file gets from this process: 0666 less the umask. The umask is read from
// the kernel's status of the process where it can be; setting it to read it back would race
// with other threads creating files.
mode_t NewFileMode() {
    mode_t mask = 0;
    bool known = false;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned int value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                known = true;
                break;
            }
        }
        std::fclose(status);
    }
    if (!known) {
        mask = ::umask(022);
        ::umask(mask);
    }
    return 0666 & ~mask;
}

// The id of the process that made a temporary of this name, or nothing when the name is not one.
std::optional<pid_t> SaverOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || !name.ends_with(kTemporaryEnd)) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    long pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end == name.data() + name.size() || *end != '-' || pid <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

// Removes the temporaries of earlier saves of the same file whose process is gone (the save was
// killed between creating and renaming). A temporary in use is locked by its saver and belongs
// to a live process; either keeps it.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) {
        return;
    }
    while (const dirent* entry = ::readdir(directory)) {
        const std::optional<pid_t> saver = SaverOf(entry->d_name, prefix);
        if (!saver || *saver == ::getpid() || ::kill(*saver, 0) == 0 || errno != ESRCH) {
            continue;
        }
        const fs::path stale = folder / entry->d_name;
        const int fd = ::open(stale.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(stale.c_str());
        }
        ::close(fd);
    }
    ::closedir(directory);
}

// Makes the rename itself durable: without it a crash soon after the save could bring back the
// old directory entry.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool ReplaceFileAtomically(const fs::path& target, std::string_view bytes, std::string* reason) {
    // Notes why the save fails, with the errno of the call that failed.
    auto fail = [reason](const std::string& why) {
        if (reason) {
            *reason = why;
        }
        return false;
    };
    auto failErrno = [&fail](const std::string& context) {
        const int error = errno;
        return fail(context + std::strerror(error));
    };
    if (target.empty()) {
        return fail("no file name");
    }
    errno = 0;
    const std::optional<fs::path> followed = FollowLinks(target);
    if (!followed) {
        return errno != 0 ? failErrno("") : fail("too many levels of symbolic links");
    }
    if (followed->filename().empty()) {
        return fail("not a regular file");
    }
    const fs::path destination = *followed;
    const fs::path folder = destination.has_parent_path() ? destination.parent_path() : ".";

    // Renaming needs only the folder's permission: a file the user has made read-only must refuse
    // the save as writing it in place would, not be replaced behind the user's back. Nor may the
    // rename put a text file where a device, a pipe or a socket was.
    struct stat old {};
    const bool oldExists = ::lstat(destination.c_str(), &old) == 0;
    if (oldExists) {
        if (!S_ISREG(old.st_mode)) {
            return fail("not a regular file");
        }
        // Opened for writing, but nothing is truncated or written.
        const int probe =
            ::open(destination.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0) {
            return failErrno("");
        }
        ::close(probe);
    }

    const std::string prefix =
        TemporaryNamePrefix(destination.filename()) + std::to_string(::getpid()) + "-";
    RemoveStaleTemporaries(folder, TemporaryNamePrefix(destination.filename()));

    // Created for this save alone: never an existing file, never through a link another user
    // placed there, and readable by nobody else while it holds the bytes.
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = folder / (prefix + RandomHex() + std::string(kTemporaryEnd));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) {
            return failErrno("the folder " + folder.string() + ": ");
        }
    }
    if (fd < 0) {
        return fail("the folder " + folder.string() + ": no temporary file could be created");
    }
    // Held until the end of the save: a temporary in use is never taken for a stale one.
    ::flock(fd, LOCK_EX | LOCK_NB);

    // The bytes reach the disk before the rename makes them the file: otherwise a crash right
    // after the rename could leave an empty file where the old layout was.
    bool done = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (done) {
        const mode_t mode = oldExists ? (old.st_mode & 07777) : NewFileMode();
        done = ::fchmod(fd, mode) == 0;
    }
    if (done) {
        done = ::rename(temporary.c_str(), destination.c_str()) == 0;
    }
    if (!done) {
        failErrno("");
        ::unlink(temporary.c_str());
    }
    ::close(fd);
    if (done) {
        SyncFolder(folder);
    }
    return done;
}

#else

static bool ReplaceFileAtomicallyHere(const fs::path& target, std::string_view bytes) {
    std::error_code error;
    fs::path destination = target;
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::weakly_canonical(target, error);
        if (error) {
            return false;
        }
        destination = resolved;
    }
    if (destination.filename().empty()) {
        return false;
    }
    const fs::file_status old = fs::status(destination, error);
    if (fs::exists(old)) {
        if (!fs::is_regular_file(old)) {
            return false;
        }
        std::ofstream probe(destination, std::ios::out | std::ios::app | std::ios::binary);
        if (!probe.is_open()) {
            return false;
        }
    }
    const fs::path temporary =
        destination.parent_path() / (TemporaryNamePrefix(destination.filename()) + "0-" +
                                     RandomHex() + std::string(kTemporaryEnd));
    bool done = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out.is_open()) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            done = !out.fail();
        }
    }
    if (done) {
        if (fs::is_regular_file(old)) {
            fs::permissions(temporary, old.permissions(), error);
        }
        fs::rename(temporary, destination, error);
        done = !error;
    }
    if (!done) {
        fs::remove(temporary, error);
    }
    return done;
}

bool ReplaceFileAtomically(const fs::path& target, std::string_view bytes, std::string* reason) {
    const bool done = ReplaceFileAtomicallyHere(target, bytes);
    if (!done && reason) {
        *reason = "the file could not be written";
    }
    return done;
}

#endif

bool ReplaceFileAtomically(const fs::path& target, std::string_view bytes) {
    return ReplaceFileAtomically(target, bytes, nullptr);
}

} // namespace zr4700
