#include <QApplication>

#include <gtest/gtest.h>

// Every test program runs with an application object; screens need one, and the rest do not
// mind. Without a display the offscreen platform is used.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
