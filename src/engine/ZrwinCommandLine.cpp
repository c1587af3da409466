#include "engine/ZrwinCommandLine.h"

namespace zr4700 {

ZrwinCommandLine ParseZrwinCommandLine(int argc, const char* const argv[]) {
    ZrwinCommandLine command;
    if (argc < 1 || !argv) {
        return command;
    }
    command.engineArguments.push_back(argv[0]);
    int next = 1;
    for (; next < argc && argv[next]; ++next) {
        const std::string_view argument = argv[next];
        if (argument == "--json") {
            command.json = true;
        } else if (argument == "--check") {
            command.check = true;
        } else if (argument == "--if-changed") {
            command.ifChanged = true;
        } else if (argument == "--") {
            ++next;
            break;
        } else {
            break;
        }
    }
    for (; next < argc; ++next) {
        command.engineArguments.push_back(argv[next]);
    }
    return command;
}

} // namespace zr4700
