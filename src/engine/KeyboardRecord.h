#pragma once
// The record of what a keyboard holds: after a complete transfer the programmer notes the
// image's digest, the keyboard type, the layout file and the time, keyed by the device address,
// so that a later run can tell that the keyboard already holds the image it would send.
//
// The records live in the machine's state folder, one small JSON file per device address. A
// record that cannot be read, or does not name its own address, counts as no record: the worst
// it can then cause is a transfer that was not needed, never one that is skipped.

#include <filesystem>
#include <optional>
#include <string>

namespace zr4700 {

struct KeyboardRecord {
    std::string device;       // the device address the record is kept for
    std::string imageSha256;  // the image the keyboard took, as sent
    int keyboardType = -1;    // 0, 1 or 2
    int layoutCode = -1;      // the layout code of the file it came from
    int bytes = 0;            // the image's size
    std::string layoutFile;   // the layout file it came from; empty when the layout had none
    std::string programmedAt; // when, in UTC: "2025-01-31T12:00:00Z"
};

// The state folder: $XDG_STATE_HOME/zr4700 when that is an absolute path, else /var/lib/zr4700
// for root and ~/.local/state/zr4700 for anyone else; %LOCALAPPDATA%\zr4700 on Windows.
// Nothing when none can be found (no home folder).
std::optional<std::filesystem::path> StateDirectory();

// False for the addresses of the in-process simulated keyboard ("sim", "sim:N"): that keyboard
// is gone when the program ends, so what it held must not outlive it.
bool AddressKeepsRecord(const std::string& deviceAddress);

// The record file of a device address in a state folder: the address with every byte other
// than letters, digits, '.', '-' and '_' written as %XX, and ".json"; a very long address is
// cut and completed with part of its digest, so the name stays within the file system's limit.
std::filesystem::path KeyboardRecordPath(const std::filesystem::path& stateDirectory,
                                         const std::string& deviceAddress);

// The record at path for deviceAddress; nothing when there is none, when it cannot be read or
// is no record, or when it was kept for another address.
std::optional<KeyboardRecord> ReadKeyboardRecord(const std::filesystem::path& path,
                                                 const std::string& deviceAddress);

// Replaces the record at path atomically (its folder is created when missing). On failure
// *reason (may be null) says why; the previous record, if any, is left as it was.
bool WriteKeyboardRecord(const std::filesystem::path& path, const KeyboardRecord& record,
                         std::string* reason);

// Removes the record at path; true also when there was none. On failure *reason says why.
bool RemoveKeyboardRecord(const std::filesystem::path& path, std::string* reason);

// The record's file contents, and the record read back from them (nothing when they are no
// record). Kept apart from the files so that both can be checked on their own.
std::string KeyboardRecordJson(const KeyboardRecord& record);
std::optional<KeyboardRecord> ParseKeyboardRecord(const std::string& json);

// A path as UTF-8 text (on Windows the wide name converted; elsewhere its bytes as they are).
std::string PathText(const std::filesystem::path& path);

// The current time in UTC as a record writes it.
std::string UtcTimestamp();

} // namespace zr4700
