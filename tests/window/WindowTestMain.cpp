#include <gtest/gtest.h>

#include <QtGlobal>

#include "WindowTest.h"

namespace {
RecordingApplication* application = nullptr;
}

RecordingApplication& TestApplication() {
    return *application;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests happens at build time and needs no window system.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    RecordingApplication app(argc, argv);
    application = &app;
    const int result = RUN_ALL_TESTS();
    application = nullptr;
    return result;
}
