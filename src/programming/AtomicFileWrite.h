#pragma once
// Replacing a file so that a failed or interrupted save never damages the previous one: the bytes
// go to a temporary file beside the target, reach the disk, and are then renamed over it.

#include <filesystem>
#include <string_view>

namespace zr4700 {

// Writes the bytes as the file at target (through a link, at the link's target). A target that
// exists but is not a regular file, or that the user may not write, refuses the save. On any
// failure the temporary is removed, the target is left as it was and the result is false.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace zr4700
