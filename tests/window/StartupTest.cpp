#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/Startup.h"

namespace {

struct DisplayCase {
    const char* name;
    std::vector<const char*> args;
    const char* platform;
    const char* display;
    const char* wayland;
    bool missing;
};

// On Windows the window always has the desktop to open on; the check is for X11 and
// Wayland.
#ifdef Q_OS_WIN
constexpr bool kDisplayCanBeMissing = false;
#else
constexpr bool kDisplayCanBeMissing = true;
#endif

class MissingDisplay : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(MissingDisplay, IsReportedOnlyWhenThePlatformNeedsOneAndNoneIsSet) {
    const DisplayCase& c = GetParam();
    std::vector<const char*> argv = {"Dorvath"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const std::string message = dorvath::MissingDisplayMessage(
        static_cast<int>(argv.size()), argv.data(), c.platform, c.display, c.wayland);
    const bool missing = c.missing && kDisplayCanBeMissing;
    EXPECT_EQ(!message.empty(), missing) << message;
    if (missing) {
        EXPECT_EQ(message.find('\n'), std::string::npos);
        EXPECT_NE(message.find("xvfb-run"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingDisplay,
    ::testing::Values(
        DisplayCase{"NothingSet", {}, nullptr, nullptr, nullptr, true},
        DisplayCase{"EmptyValues", {}, "", "", "", true},
        DisplayCase{"XDisplay", {}, nullptr, ":0", nullptr, false},
        DisplayCase{"WaylandDisplay", {}, nullptr, nullptr, "wayland-0", false},
        DisplayCase{"WaylandAndXDisplays", {}, nullptr, ":0", "wayland-0", false},
        DisplayCase{"WaylandPlatformOnWayland", {}, "wayland", nullptr, "wayland-1", false},
        DisplayCase{"XcbWithOptions", {}, "xcb:nograb", nullptr, nullptr, true},
        DisplayCase{"WaylandThenXcb", {}, "wayland;xcb", nullptr, nullptr, true},
        DisplayCase{"Offscreen", {}, "offscreen", nullptr, nullptr, false},
        DisplayCase{"OffscreenAmongOthers", {}, "xcb;offscreen", nullptr, nullptr, false},
        DisplayCase{"PlatformOption", {"-platform", "offscreen"}, "xcb", nullptr, nullptr, false},
        DisplayCase{
            "PlatformOptionTwoDashes", {"--platform", "vnc"}, nullptr, nullptr, nullptr, false},
        DisplayCase{"PlatformOptionXcb", {"-platform", "xcb"}, "offscreen", nullptr, nullptr, true},
        DisplayCase{"DisplayOption", {"-display", ":3"}, nullptr, nullptr, nullptr, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartupMessages, FatalMessageBecomesOneLineLedByThePlatformsReason) {
    const QString fatal = QStringLiteral(
        "This application failed to start because no Qt platform plugin could be "
        "initialized.\n\nAvailable platform plugins are: offscreen, xcb.\n");
    EXPECT_EQ(dorvath::StartupMessages::FatalLine(
                  fatal, {QStringLiteral("could not connect to display :9"),
                          QStringLiteral("Could not load the Qt platform plugin \"xcb\"")}),
              "Dorvath: cannot open the window: could not connect to display :9; This "
              "application failed to start because no Qt platform plugin could be initialized.");
    EXPECT_EQ(dorvath::StartupMessages::FatalLine(QStringLiteral("out of memory\nmore"), {}),
              "Dorvath: cannot open the window: out of memory");
}

}  // namespace
