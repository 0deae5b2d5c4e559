#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "XDisplay.h"
#include "canvas/BitmapCanvas.h"
#include "scene/Frame.h"
#include "state/PlanetState.h"
#include "support/Layout.h"
#include "support/Pictures.h"
#include "support/Process.h"

namespace dorvath::e2e {
namespace {

using namespace std::chrono_literals;
using test::EnvChanges;
using test::Finished;

// Room for the window at twice the density.
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
// Sanitizer builds start slowly on a busy machine; the waits end as soon as the
// expected picture is there.
constexpr auto kPatience = 120s;

const std::string kLogDir = DORVATH_E2E_LOG_DIR;

// The program under test: ours, or the command line in DORVATH_E2E_PROGRAM (words
// separated by spaces), such as the Windows build under Wine:
//   DORVATH_E2E_PROGRAM="tests/wine/run Dorvath.exe"
std::vector<std::string> ProgramCommand() {
    const char* given = std::getenv("DORVATH_E2E_PROGRAM");
    if (given == nullptr || *given == '\0')
        return {DORVATH_EXECUTABLE};
    std::vector<std::string> words;
    std::istringstream in(given);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool OwnProgram() {
    return ProgramCommand() == std::vector<std::string>{DORVATH_EXECUTABLE};
}

// The environment the program gets: our X server and nothing that could steer it
// elsewhere. Another program (Windows under Wine) uses its own platform.
EnvChanges ProgramEnvironment(const std::string& display) {
    return {"DISPLAY=" + display,      OwnProgram() ? "QT_QPA_PLATFORM=xcb" : "QT_QPA_PLATFORM",
            "WAYLAND_DISPLAY",         "QT_SCALE_FACTOR",
            "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING"};
}

// A picture as the program draws it: the reset, then the given orbital steps, at the
// given density.
Bitmap Expected(std::initializer_list<double> steps, DeviceScale scale = {}) {
    BitmapCanvas canvas(layout::kImage.width, layout::kImage.height, clWhite, scale);
    PlanetState state = PlanetState::Create(layout::kImage.width, layout::kImage.height);
    Reset(canvas, state);
    for (const double step : steps)
        Step(canvas, state, step);
    return canvas.Pixels();
}

using test::WaitUntil;

std::map<std::string, int> ShellValues(const std::string& text) {
    std::map<std::string, int> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = std::stoi(line.substr(eq + 1));
    }
    return values;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server_.Display().empty()) << "Xvfb did not start";
        std::filesystem::create_directories(kLogDir);
        env_ = ProgramEnvironment(server_.Display());
    }

    Finished Tool(const std::vector<std::string>& argv) { return test::Run(argv, env_); }

    // The screen's density the program is started with, as QT_SCALE_FACTOR.
    void UseScaleFactor(double factor) {
        scale_ = DeviceScale::FromRatio(factor);
        env_.push_back(std::string("QT_SCALE_FACTOR=").append(std::to_string(factor)));
    }
    // Where a logical coordinate of the window lies on the screen.
    int Device(int logical) const { return static_cast<int>(scale_.ToDevice(logical)); }

    void StartProgram() {
        program_ =
            std::make_unique<test::Program>(ProgramCommand(), env_, kLogDir + "/e2e-Dorvath.log");
        ASSERT_GT(program_->Pid(), 0);
        std::string found;
        ASSERT_TRUE(WaitUntil(
            [&] {
                const Finished f =
                    Tool({"xdotool", "search", "--onlyvisible", "--name", "^Quonsel$"});
                found = f.out;
                return f.status == 0 && !found.empty();
            },
            kPatience))
            << "the window did not appear; see " << kLogDir << "/e2e-Dorvath.log";
        window_ = found.substr(0, found.find('\n'));
        const Finished g = Tool({"xdotool", "getwindowgeometry", "--shell", window_});
        ASSERT_EQ(g.status, 0) << g.err;
        auto values = ShellValues(g.out);
        // With no window manager there is no frame: the window's origin is that of its
        // client area.
        clientX_ = values["X"];
        clientY_ = values["Y"];
        ASSERT_GE(values["WIDTH"], Device(layout::kClientWidth));
        ASSERT_GE(values["HEIGHT"], Device(layout::kClientHeight));
    }

    // The pixels where the window shows its picture.
    std::optional<Bitmap> Screenshot() {
        const Finished shot = Tool({"import", "-window", "root", "-depth", "8", "rgb:-"});
        const std::size_t size = static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 3;
        if (shot.status != 0 || shot.out.size() != size)
            return std::nullopt;
        const layout::Box& image = layout::kImage;
        const int left = clientX_ + Device(image.left), top = clientY_ + Device(image.top);
        Bitmap picture(Device(image.width), Device(image.height));
        for (int y = 0; y < picture.Height(); ++y) {
            Rgb32* row = picture.Row(y);
            for (int x = 0; x < picture.Width(); ++x) {
                const std::size_t at =
                    (static_cast<std::size_t>(top + y) * kScreenWidth + left + x) * 3;
                const auto byte = [&](std::size_t i) {
                    return static_cast<Rgb32>(static_cast<unsigned char>(shot.out[at + i]));
                };
                row[x] = 0xFF000000u | byte(0) << 16 | byte(1) << 8 | byte(2);
            }
        }
        return picture;
    }

    // Waits for the picture area to satisfy a condition; on a timeout, the last
    // screenshot is compared with what was hoped for, so that both are kept as PNGs.
    ::testing::AssertionResult WaitForPicture(const Bitmap& expected, const std::string& name,
                                              bool equal = true) {
        std::optional<Bitmap> last;
        const bool ok = WaitUntil(
            [&] {
                last = Screenshot();
                return last && (*last == expected) == equal;
            },
            kPatience);
        if (ok)
            return ::testing::AssertionSuccess();
        if (!last)
            return ::testing::AssertionFailure() << name << ": no screenshot";
        if (!equal)
            return ::testing::AssertionFailure() << name << ": the picture never changed";
        return test::SamePicture(*last, expected, name);
    }

    struct Sighting {
        double orbit;
        std::chrono::steady_clock::time_point when;
    };

    // The orbital angle, at or past the given one, whose frame the running window shows,
    // and when the picture was taken (the middle of the screenshot's run).
    std::optional<Sighting> SightOrbit(double from) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            const auto before = std::chrono::steady_clock::now();
            const std::optional<Bitmap> shot = Screenshot();
            const auto after = std::chrono::steady_clock::now();
            if (!shot)
                continue;
            PlanetState state = PlanetState::Create(layout::kImage.width, layout::kImage.height);
            state.AdvanceOrbit(from);
            for (int tick = 0; tick < 600; ++tick, state.AdvanceOrbit(1.0)) {
                if (*shot == test::FrameFromScratch(state))
                    return Sighting{state.OrbitAngle, before + (after - before) / 2};
            }
        }
        return std::nullopt;
    }

    void Click(int x, int y) {
        // No --sync: it waits for the pointer to move, which it never does when it is
        // already there. The server handles the move before the click either way.
        const Finished f =
            Tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"});
        ASSERT_EQ(f.status, 0) << f.err;
    }
    void ClickAt(const layout::Box& button) {
        Click(clientX_ + Device(button.CenterX()), clientY_ + Device(button.CenterY()));
    }
    void ClickStep() { ClickAt(layout::kStepButton); }
    void ClickRun() { ClickAt(layout::kRunButton); }
    void ClickClear() { ClickAt(layout::kClearButton); }

    test::Xvfb server_{kScreenWidth, kScreenHeight};
    EnvChanges env_;
    std::unique_ptr<test::Program> program_;
    DeviceScale scale_;
    std::string window_;
    int clientX_ = 0;
    int clientY_ = 0;
};

TEST_F(EndToEnd, StepsRunsAndResetsAsAPersonSeesIt) {
    StartProgram();
    const Bitmap start = Expected({});
    ASSERT_TRUE(WaitForPicture(start, "e2e-start"));

    ClickStep();
    ClickStep();
    ClickStep();
    const Bitmap fifteen = Expected({5.0, 5.0, 5.0});
    ASSERT_TRUE(WaitForPicture(fifteen, "e2e-three-steps"));

    ClickRun();
    ASSERT_TRUE(WaitForPicture(fifteen, "e2e-running", false));
    // The rate, from the planet's place on two pictures a few seconds apart.
    const std::optional<Sighting> first = SightOrbit(15.0);
    ASSERT_TRUE(first.has_value()) << "the running picture shows no frame of the orbit";
    std::this_thread::sleep_for(4s);
    const std::optional<Sighting> second = SightOrbit(first->orbit);
    ASSERT_TRUE(second.has_value()) << "the running picture shows no frame of the orbit";
    const double seconds = std::chrono::duration<double>(second->when - first->when).count();
    const double rate = (second->orbit - first->orbit) / seconds;
    EXPECT_GE(rate, 7.0) << second->orbit - first->orbit << " ticks in " << seconds << " s";
    EXPECT_LE(rate, 13.0) << second->orbit - first->orbit << " ticks in " << seconds << " s";

    ClickClear();
    ASSERT_TRUE(WaitForPicture(start, "e2e-cleared"));

    // Closed as a window manager would close it, the program ends cleanly; in the
    // sanitizer build its leak check runs then too.
    ASSERT_TRUE(RequestClose(server_.Display(), std::stoul(window_)));
    const std::optional<int> status = program_->WaitForExit(kPatience);
    ASSERT_TRUE(status.has_value()) << "the program did not end when its window was closed";
    EXPECT_EQ(*status, 0) << "see " << kLogDir << "/e2e-Dorvath.log";
}

// On a denser screen the picture is drawn at the screen's own resolution: exactly our
// rendering of the same frame at that density, not the plain picture enlarged.
class EndToEndAtDensity : public EndToEnd, public ::testing::WithParamInterface<double> {};

TEST_P(EndToEndAtDensity, ThreeStepsShowTheExactFrameAtTheScreensDensity) {
    if (!OwnProgram())
        GTEST_SKIP() << "the density is set through Qt's environment on Linux";
    UseScaleFactor(GetParam());
    StartProgram();
    const DeviceScale scale = DeviceScale::FromRatio(GetParam());
    const std::string name =
        std::string("e2e-x").append(std::to_string(static_cast<int>(GetParam() * 100)));
    ASSERT_TRUE(WaitForPicture(Expected({}, scale), name + "-start"));
    ClickStep();
    ClickStep();
    ClickStep();
    ASSERT_TRUE(WaitForPicture(Expected({5.0, 5.0, 5.0}, scale), name + "-three-steps"));
}

INSTANTIATE_TEST_SUITE_P(Densities, EndToEndAtDensity, ::testing::Values(1.5, 2.0),
                         [](const ::testing::TestParamInfo<double>& info) {
                             return std::string("x").append(
                                 std::to_string(static_cast<int>(info.param * 100)));
                         });

struct CannotStartCase {
    const char* name;
    EnvChanges env;
};

class CannotStart : public ::testing::TestWithParam<CannotStartCase> {};

TEST_P(CannotStart, SaysSoInOneLineAndFails) {
    if (!OwnProgram())
        GTEST_SKIP() << "start-up failures are those of the Linux program";
    const Finished f = test::Run({DORVATH_EXECUTABLE}, GetParam().env);
    EXPECT_EQ(f.status, 1) << f.err;
    EXPECT_EQ(std::count(f.err.begin(), f.err.end(), '\n'), 1) << f.err;
    EXPECT_EQ(f.err.rfind("Dorvath: ", 0), 0u) << f.err;
    EXPECT_EQ(f.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CannotStart,
    ::testing::Values(CannotStartCase{"NoneSet", {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}},
                      // A display nobody serves: Qt's own failure, which would otherwise abort.
                      CannotStartCase{"Unreachable",
                                      {"DISPLAY=:65000", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb"}},
                      CannotStartCase{"UnknownPlatform", {"QT_QPA_PLATFORM=nosuchplatform"}},
                      // A display, but not a single font to label the buttons with.
                      CannotStartCase{
                          "NoFonts",
                          {"QT_QPA_PLATFORM=offscreen", "FONTCONFIG_FILE=" DORVATH_E2E_NO_FONTS}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dorvath::e2e
