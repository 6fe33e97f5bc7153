#include "platform/fonts.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

// Fonts, QPainter and QPrinter need a QGuiApplication; the tests run it on the offscreen
// platform, with the Windows faces registered as the program does at start-up.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // No test needs a display; test discovery runs the binary without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    nobrisa::registerFaceSubstitutes();
    return RUN_ALL_TESTS();
}
