#include <QCoreApplication>

#include "WindowTest.h"

std::unique_ptr<TApplication> NewTestApplication(int& argc, char** argv) {
    return std::make_unique<RecordingApplication>(argc, argv);
}

RecordingApplication& TestApplication() {
    return *static_cast<RecordingApplication*>(QCoreApplication::instance());
}
