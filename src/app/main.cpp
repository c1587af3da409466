#include "app/CProgrammerApp.h"

#include <QApplication>

#include <cstring>

int main(int argc, char** argv) {
    // A screenshot needs no display: render offscreen unless a platform was chosen.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    CProgrammerApp theApp;
    return theApp.InitInstance(QApplication::arguments());
}
