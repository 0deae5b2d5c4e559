#include <gtest/gtest.h>

#include <QtGlobal>
#include <memory>

#include "WindowTest.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests happens at build time and needs no window system.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<TApplication> app = NewTestApplication(argc, argv);
    return RUN_ALL_TESTS();
}
