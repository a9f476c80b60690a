// Entry point of every test executable: a headless application object,
// exceptions captured instead of shown in message boxes.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "TestSupport.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    tsbtest::InstallTestEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
