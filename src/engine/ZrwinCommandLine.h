#pragma once
// zrwin's own options, taken off the front of its command line before the rest goes to the
// engine unchanged: zrwin [--json] [--check] [--if-changed] [--] [FILE [/N]].
// Only leading arguments are options, and "--" ends them, so that the engine sees the argument
// vector it always saw (a file named like an option is given after "--").

#include <string_view>
#include <vector>

namespace zr4700 {

struct ZrwinCommandLine {
    bool json = false;      // --json: one JSON object on stdout at the end of the run
    bool check = false;     // --check: everything but the transfer
    bool ifChanged = false; // --if-changed: no transfer when the record shows it is not needed
    // The engine's argument vector: the program's name, then every argument after the options.
    std::vector<const char*> engineArguments;

    int engineArgc() const { return static_cast<int>(engineArguments.size()); }
    const char* const* engineArgv() const { return engineArguments.data(); }
};

ZrwinCommandLine ParseZrwinCommandLine(int argc, const char* const argv[]);

} // namespace zr4700
