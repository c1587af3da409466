#pragma once
// Replacing a file so that a failed or interrupted save never damages the previous one: the bytes
// go to a temporary file beside the target, reach the disk, and are then renamed over it.

#include <filesystem>
#include <string>
#include <string_view>

namespace zr4700 {

// Writes the bytes as the file at target. A link is followed to the file it names, also when that
// file does not exist yet (the file is then created there, as editors do); a loop of links, or a
// target that exists but is not a regular file or that the user may not write, refuses the save.
// The temporary is created for this save alone (never through a link, readable by the user only
// until the old file's permissions are applied) and the folder is synced after the rename.
// Temporaries left beside the file by a save that was killed are removed. On any failure the
// temporary is removed, the target is left as it was and the result is false.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);
// The same; on failure *reason (may be null) says why in the system's words, for example
// "Permission denied", "No space left on device" or "not a regular file".
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           std::string* reason);

// The start of the names of the temporaries for the file named fileName: ".fileName.zr4700-save-"
// followed by the saving process's id, a dash, random hex digits and ".tmp". A long name is
// shortened so the temporary's name stays within the file system's limit.
std::string TemporaryNamePrefix(const std::filesystem::path& fileName);

#ifndef _WIN32
// Writes all the bytes to a descriptor, going on after an interrupted or short write; false
// when a write fails.
bool WriteAll(int fd, std::string_view bytes);
#endif

} // namespace zr4700
