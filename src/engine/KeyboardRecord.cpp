#include "engine/KeyboardRecord.h"

#include "engine/AtomicFileWrite.h"
#include "engine/ImageDigest.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <system_error>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace zr4700 {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

namespace {

// A record is a few hundred bytes; anything far larger is none, and is not read.
constexpr std::uintmax_t kMaxRecordSize = 64 * 1024;
// The format of the record files; a record of another format counts as none.
constexpr int kRecordFormat = 1;
// Longest escaped address kept whole in a file name (limit 255 bytes, ".json" and margin).
constexpr std::size_t kLongestEscapedAddress = 160;
constexpr std::size_t kKeptOfLongAddress = 100;

bool IsPlainNameByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

std::string EscapeAddress(const std::string& address) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsPlainNameByte(byte)) {
            name += c;
        } else {
            name += '%';
            name += kHex[byte >> 4];
            name += kHex[byte & 0x0F];
        }
    }
    return name;
}

// A number of the record within [low, high]; nothing when the field is missing or another kind.
std::optional<int> IntegerField(const json& object, const char* name, int low, int high) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_number_integer()) {
        return std::nullopt;
    }
    const auto value = found->get<std::int64_t>();
    if (value < low || value > high) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<std::string> StringField(const json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_string()) {
        return std::nullopt;
    }
    return found->get<std::string>();
}

#ifndef _WIN32
std::optional<fs::path> AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') {
        return std::nullopt;
    }
    return fs::path(value);
}
#endif

} // namespace

std::optional<fs::path> StateDirectory() {
#ifdef _WIN32
    const wchar_t* localAppData = _wgetenv(L"LOCALAPPDATA");
    if (!localAppData || !*localAppData) {
        return std::nullopt;
    }
    return fs::path(localAppData) / "zr4700";
#else
    // The base folder's rule: a relative XDG_STATE_HOME is ignored.
    if (const auto state = AbsoluteFromEnvironment("XDG_STATE_HOME")) {
        return *state / "zr4700";
    }
    if (::geteuid() == 0) {
        return fs::path("/var/lib/zr4700");
    }
    std::optional<fs::path> home = AbsoluteFromEnvironment("HOME");
    if (!home) {
        if (const passwd* user = ::getpwuid(::geteuid());
            user && user->pw_dir && user->pw_dir[0] == '/') {
            home = fs::path(user->pw_dir);
        }
    }
    if (!home) {
        return std::nullopt;
    }
    return *home / ".local" / "state" / "zr4700";
#endif
}

bool AddressKeepsRecord(const std::string& deviceAddress) {
    return deviceAddress != "sim" && deviceAddress.rfind("sim:", 0) != 0;
}

fs::path KeyboardRecordPath(const fs::path& stateDirectory, const std::string& deviceAddress) {
    std::string name = EscapeAddress(deviceAddress);
    if (name.size() > kLongestEscapedAddress) {
        // The digest keeps two long addresses that share their start apart.
        name = name.substr(0, kKeptOfLongAddress) + "~" + Sha256Hex(deviceAddress).substr(0, 32);
    }
    return stateDirectory / (name + ".json");
}

std::string KeyboardRecordJson(const KeyboardRecord& record) {
    json object = {
        {"zr4700_record", kRecordFormat},
        {"device", record.device},
        {"image_sha256", record.imageSha256},
        {"keyboard_type", record.keyboardType},
        {"layout_code", record.layoutCode},
        {"bytes", record.bytes},
        {"layout_file", record.layoutFile.empty() ? json(nullptr) : json(record.layoutFile)},
        {"programmed_at", record.programmedAt},
    };
    // A name that is no UTF-8 is written with U+FFFD in place of its bad bytes: the record
    // stays valid JSON, and the name is only there for a person to read.
    return object.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<KeyboardRecord> ParseKeyboardRecord(const std::string& text) {
    const json object = json::parse(text, nullptr, false);
    if (object.is_discarded() || !object.is_object() ||
        IntegerField(object, "zr4700_record", kRecordFormat, kRecordFormat) != kRecordFormat) {
        return std::nullopt;
    }
    KeyboardRecord record;
    const auto device = StringField(object, "device");
    const auto digest = StringField(object, "image_sha256");
    const auto type = IntegerField(object, "keyboard_type", 0, 2);
    if (!device || !digest || !IsSha256Hex(*digest) || !type) {
        return std::nullopt;
    }
    record.device = *device;
    record.imageSha256 = *digest;
    record.keyboardType = *type;
    record.layoutCode = IntegerField(object, "layout_code", 0, 255).value_or(-1);
    record.bytes = IntegerField(object, "bytes", 0, 1 << 30).value_or(0);
    record.layoutFile = StringField(object, "layout_file").value_or("");
    record.programmedAt = StringField(object, "programmed_at").value_or("");
    return record;
}

std::optional<KeyboardRecord> ReadKeyboardRecord(const fs::path& path,
                                                 const std::string& deviceAddress) {
    // Only a regular file of a record's size is read: a FIFO or a device put there would
    // otherwise hold the run.
    std::error_code error;
    if (!fs::is_regular_file(path, error) || fs::file_size(path, error) > kMaxRecordSize || error) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        return std::nullopt;
    }
    std::optional<KeyboardRecord> record = ParseKeyboardRecord(text.str());
    if (!record || record->device != deviceAddress) {
        return std::nullopt;
    }
    return record;
}

bool WriteKeyboardRecord(const fs::path& path, const KeyboardRecord& record, std::string* reason) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        if (reason) {
            *reason = PathText(path.parent_path()) + ": " + error.message();
        }
        return false;
    }
    std::string why;
    if (!ReplaceFileAtomically(path, KeyboardRecordJson(record), &why)) {
        if (reason) {
            *reason = PathText(path) + ": " + why;
        }
        return false;
    }
    return true;
}

bool RemoveKeyboardRecord(const fs::path& path, std::string* reason) {
    std::error_code error;
    fs::remove(path, error);
    if (error) {
        if (reason) {
            *reason = PathText(path) + ": " + error.message();
        }
        return false;
    }
    return true;
}

std::string PathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string UtcTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

} // namespace zr4700
