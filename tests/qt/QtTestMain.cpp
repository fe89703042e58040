// One QApplication for every Qt test, on the offscreen platform unless the
// caller chose a display.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "platform/kit/Application.h"
#include "platform/qt/QtBridge.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const int status = RUN_ALL_TESTS();
    kz::qt::QtBridge::shared().forgetAll();
    return status;
}
