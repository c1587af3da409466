#include "qt/app/CProgrammerApp.h"
#include "qt/legend/LegendCommandLine.h"

#include <QApplication>

#include <cstring>

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
    if (LegendCommandLine::Requested(QApplication::arguments()))
        return LegendCommandLine::Run(QApplication::arguments());
    CProgrammerApp theApp;
    return theApp.InitInstance(QApplication::arguments());
}
