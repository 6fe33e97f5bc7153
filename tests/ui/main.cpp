#include "platform/fonts.h"
#include "ui/resources.h"

#include <QApplication>

#include <gtest/gtest.h>

// The window tests run a QApplication on the offscreen platform, with the Windows faces
// registered and the icons' resources linked in as the program does at start-up.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    nobrisa::registerFaceSubstitutes();
    nobrisa::initResources();
    return RUN_ALL_TESTS();
}
