#pragma once
// The layout file a programming run hands to the engine. It is written into a new directory of
// its own, readable by the user alone, so that no other file (a link planted in the current
// directory, another run's file) is ever written or read in its place, and the current directory
// is never written. The directory and the file go when the object does.

#include "core/document/UserPrompts.h"
#include "core/files/LayoutFileEditor.h"
#include "core/model/Layout.h"

#include <string>

namespace zr4700 {

// What programming a layout into the keyboard found by detection comes to, before anything is
// sent: the variant that fits the keyboard, or why the layout cannot go to it.
struct ProgrammingPlan {
    enum class Verdict {
        Go,           // write `variant` and pass `keyboardType` to the engine
        LosesCodes,   // as Go, but 7/3scan keeps fewer codes than some keys hold: ask first
        Mismatch,     // the layout's number of keys does not suit the keyboard
        DetectFailed, // the keyboard could not be asked: `engineResult` says why
    };
    Verdict verdict = Verdict::DetectFailed;
    int keyboardType = -1;
    FileVariant variant = FileVariant::Save;
    int engineResult = 0; // for DetectFailed: the engine's own result for the failure
};

// detectResult is what DetectKeyboard returned: the type 0..2 or its failure -1..-3.
// Type 0 takes 7/3scan with the layout's 56 or 112 keys; type 1 16scan with 56 keys; type 2
// 16scan with 112 keys.
ProgrammingPlan PlanProgramming(const Layout& layout, int detectResult);

class ProgrammingFile {
  public:
    // The name of the file inside its directory.
    static constexpr const char* kFileName = "zr4700.tmp";

    ProgrammingFile() = default;
    ~ProgrammingFile() { Remove(); }
    ProgrammingFile(const ProgrammingFile&) = delete;
    ProgrammingFile& operator=(const ProgrammingFile&) = delete;

    // Writes the layout in a variant; the document is not changed. A file that cannot be made
    // gives "Cannot open file!", a layout without a programmed key "The file contains no
    // programmed key" (the file is then removed again, as nothing is to be programmed).
    WriteResult Write(const Layout& layout, FileVariant variant, UserPrompts& prompts);
    // The file's path, empty until written.
    const std::string& path() const { return path_; }
    void Remove();

  private:
    bool CreateDirectory();

    std::string directory_;
    std::string path_;
};

} // namespace zr4700
