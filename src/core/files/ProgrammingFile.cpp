#include "core/files/ProgrammingFile.h"

#include "core/files/FileCommands.h"
#include "engine/AtomicFileWrite.h"
#include "engine/EngineResults.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#include <random>
#else
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zr4700 {

namespace fs = std::filesystem;

ProgrammingPlan PlanProgramming(const Layout& layout, int detectResult) {
    ProgrammingPlan plan;
    plan.keyboardType = detectResult;
    switch (detectResult) {
    case 0:
        plan.variant = FileVariant::Scan7;
        plan.verdict = KeysLosingCodes(layout, FileVariant::Scan7).keys > 0
                           ? ProgrammingPlan::Verdict::LosesCodes
                           : ProgrammingPlan::Verdict::Go;
        return plan;
    case 1:
    case 2:
        plan.variant = FileVariant::Save;
        plan.verdict = layout.keyCount == (detectResult == 1 ? kBlockKeys : kMaxKeys)
                           ? ProgrammingPlan::Verdict::Go
                           : ProgrammingPlan::Verdict::Mismatch;
        return plan;
    case -1:
        plan.engineResult = kResultInvalidTypeDetected;
        break;
    case -2:
        plan.engineResult = kResultDriverError;
        break;
    default:
        plan.engineResult = kResultDetectingError;
        break;
    }
    plan.keyboardType = -1;
    plan.verdict = ProgrammingPlan::Verdict::DetectFailed;
    return plan;
}

bool ProgrammingFile::CreateDirectory() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error)
        return false;
#ifdef _WIN32
    std::random_device seed;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path candidate = base / ("zr4700-" + std::to_string(seed()));
        if (fs::create_directory(candidate, error)) {
            directory_ = candidate.string();
            return true;
        }
    }
    return false;
#else
    // mkdtemp creates the directory exclusively, with permissions for the user alone.
    std::string pattern = (base / "zr4700-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return false;
    directory_ = pattern;
    return true;
#endif
}

WriteResult ProgrammingFile::Write(const Layout& layout, FileVariant variant,
                                   UserPrompts& prompts) {
    Remove();
    const std::string text = LayoutFileText(layout, variant);
    bool written = false;
    if (CreateDirectory()) {
        const std::string path = (fs::path(directory_) / kFileName).string();
#ifdef _WIN32
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        written = !out.fail();
#else
        // A new file in a new directory: never through a link, never one that was there.
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            const bool all = WriteAll(fd, text);
            written = ::close(fd) == 0 && all;
        }
#endif
        path_ = path;
    }
    if (!written) {
        Remove();
        prompts.ShowError(kStrCannotOpenFile);
        return WriteResult::Failed;
    }
    if (!AnyKeyProgrammed(layout)) {
        Remove();
        prompts.ShowError(kStrNoProgrammedKey);
        return WriteResult::StoredWithoutProgrammedKey;
    }
    return WriteResult::Stored;
}

void ProgrammingFile::Remove() {
    std::error_code error;
    if (!path_.empty())
        fs::remove(path_, error);
    if (!directory_.empty())
        fs::remove(directory_, error);
    path_.clear();
    directory_.clear();
}

} // namespace zr4700
