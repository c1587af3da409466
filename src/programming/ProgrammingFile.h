#pragma once
// The layout file a programming run hands to the engine. It is written into a new directory of
// its own, readable by the user alone, so that no other file (a link planted in the current
// directory, another run's file) is ever written or read in its place, and the current directory
// is never written. The directory and the file go when the object does.

#include "layout/Layout.h"
#include "layout/UserPrompts.h"
#include "programming/LayoutFileEditor.h"

#include <string>

namespace zr4700 {

// A layout last read from a 16scan file is programmed as 16scan, any other as 7/3scan.
FileVariant ProgrammingVariant(const Layout& layout);

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
