// main() of every user-interface test program: a QApplication around GoogleTest.
#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Without a display a Qt program aborts, and test discovery runs this binary at build time;
    // the offscreen platform works everywhere and still gives real focus, activation and pixels.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
