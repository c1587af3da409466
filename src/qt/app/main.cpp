#include "qt/app/CProgrammerApp.h"
#include "qt/legend/LegendCommandLine.h"

#include <QApplication>

#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // A screenshot, a legend sheet, the usage and an option error need no display: render
    // offscreen unless a platform was chosen.
    for (int i = 1; i < argc; ++i) {
        const bool headless = std::strcmp(argv[i], "--screenshot") == 0 ||
                              std::strcmp(argv[i], "--legend") == 0 ||
                              (argv[i][0] == '-' && argv[i][1] != '\0');
        if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // File names as the system gave them: on POSIX systems a name is bytes, and one that is no
    // valid UTF-8 would not survive the way through QString. (QApplication has taken its own
    // options out of argv by now, so the two lists agree.)
    std::vector<std::string> arguments;
#ifdef _WIN32
    for (const QString& argument : QApplication::arguments())
        arguments.push_back(argument.toStdString());
#else
    arguments.assign(argv, argv + argc);
#endif
    if (LegendCommandLine::Requested(arguments))
        return LegendCommandLine::Run(arguments);
    CProgrammerApp theApp;
    return theApp.InitInstance(QApplication::arguments(), arguments);
}
