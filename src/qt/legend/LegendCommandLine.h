#pragma once
// `zr4700 --legend OUT.pdf|OUT.svg|OUT.png [options] LAYOUT.txt`: writes the legend sheet of a
// layout file and exits, without a window, so that sheets can be made in scripts. The options
// are --arrange keyboard|packed, --pitch MM, --margin MM, --all-keys and --code-names.

#include <string>
#include <vector>

namespace LegendCommandLine {

// Whether the arguments (the program name first) ask for a sheet.
bool Requested(const std::vector<std::string>& arguments);
// Runs the command: 0 when the sheet was written; 2 for a bad argument and 1 when the layout
// cannot be read or the sheet cannot be written, each with a message on stderr. The arguments
// are the program's own bytes: file names are opened and written as given, in any encoding.
int Run(const std::vector<std::string>& arguments);

} // namespace LegendCommandLine
