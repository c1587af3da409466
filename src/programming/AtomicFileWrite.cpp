#include "programming/AtomicFileWrite.h"

#include <fstream>
#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define ZR4700_HAVE_FSYNC 1
#endif

namespace zr4700 {

namespace fs = std::filesystem;

namespace {

// A name for the temporary file beside the target that no file uses yet; empty if none found.
fs::path UnusedTemporaryPath(const fs::path& target) {
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<uint32_t> draw;
    static constexpr char kHex[] = "0123456789abcdef";
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string suffix = ".";
        uint32_t value = draw(random);
        for (int digit = 0; digit < 8; ++digit, value >>= 4)
            suffix += kHex[value & 0x0F];
        suffix += ".tmp";
        fs::path candidate = target;
        candidate += suffix;
        std::error_code error;
        if (fs::symlink_status(candidate, error).type() == fs::file_type::not_found)
            return candidate;
    }
    return {};
}

// Makes sure the bytes are on the disk before the rename makes them the file: otherwise a crash
// right after the rename could leave an empty file where the old layout was.
bool SyncToDisk([[maybe_unused]] const fs::path& path) {
#ifdef ZR4700_HAVE_FSYNC
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    return true;
#endif
}

// Writes the whole text to a temporary file beside the target and renames it over the target.
// On any failure the temporary is removed and the target is left as it was.
} // namespace

bool ReplaceFileAtomically(const fs::path& target, std::string_view bytes) {
    std::error_code error;
    fs::path destination = target;
    if (fs::is_symlink(target, error)) {
        // Replace the file the link points to, not the link.
        fs::path resolved = fs::canonical(target, error);
        if (!error)
            destination = resolved;
    }
    if (destination.filename().empty())
        return false;
    // Renaming needs only the folder's permission: a file the user has made read-only must refuse
    // the save as writing it in place would, not be replaced behind the user's back. Nor may the
    // rename put a text file where a device, a pipe or a socket was (a link can point anywhere).
    const fs::file_status old = fs::status(destination, error);
    if (fs::exists(old)) {
        if (!fs::is_regular_file(old))
            return false;
        // Opened for appending: nothing is truncated or written.
        std::ofstream probe(destination, std::ios::out | std::ios::app | std::ios::binary);
        if (!probe.is_open())
            return false;
    }
    const fs::path temporary = UnusedTemporaryPath(destination);
    if (temporary.empty())
        return false;

    bool done = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out.is_open()) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
            out.close();
            done = !out.fail();
        }
    }
    if (done)
        done = SyncToDisk(temporary);
    if (done) {
        // Keep the old file's permissions (best effort).
        if (fs::is_regular_file(old))
            fs::permissions(temporary, old.permissions(), error);
        fs::rename(temporary, destination, error);
        done = !error;
    }
    if (!done)
        fs::remove(temporary, error);
    return done;
}

} // namespace zr4700
