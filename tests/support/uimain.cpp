// Entry point of the test executables that drive the real windows offscreen.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Windows are driven offscreen; nothing of the test run may reach a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
