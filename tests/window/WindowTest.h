#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <vector>

#include "support/Layout.h"
#include "window/TApplication.h"

// The application object a window test binary runs in; each binary defines it.
std::unique_ptr<TApplication> NewTestApplication(int& argc, char** argv);

// The application most window tests run in: it records the errors it would show in a
// message box, so that no test blocks on one.
class RecordingApplication final : public TApplication {
public:
    RecordingApplication(int& argc, char** argv) : TApplication(argc, argv) {}

    std::vector<QString> Shown;

protected:
    void ShowException(const QString& message) override { Shown.push_back(message); }
};

RecordingApplication& TestApplication();

// The layout's places as Qt has them.
inline QRect Geometry(const dorvath::layout::Box& box) {
    return {box.left, box.top, box.width, box.height};
}
inline QSize ClientSize() {
    return {dorvath::layout::kClientWidth, dorvath::layout::kClientHeight};
}
