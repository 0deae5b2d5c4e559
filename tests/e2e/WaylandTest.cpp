// The real program on a real Wayland compositor: weston's headless back end in a
// runtime directory of its own, the program started as a Wayland desktop starts it
// (QT_QPA_PLATFORM unset, WAYLAND_DISPLAY set), photographed with weston-screenshooter.
// Every wait has a timeout: a compositor that renders nothing leaves the screenshooter
// waiting for ever.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "canvas/Bitmap.h"
#include "state/PlanetState.h"
#include "support/Frames.h"
#include "support/Pictures.h"
#include "support/Png.h"
#include "support/Process.h"

namespace dorvath::e2e {
namespace {

using test::EnvChanges;
using test::Finished;
using test::Program;
using test::WaitUntil;
using test::Xvfb;

using namespace std::chrono_literals;

constexpr auto kPatience = 120s;  // for the program's first picture; sanitizer builds are slow
constexpr auto kShotTimeout = 30s;
constexpr const char* kSocket = "wayland-dorvath";
const std::string kLogDir = DORVATH_E2E_LOG_DIR;

bool OnPath(const std::string& tool) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (!dir.empty() && access((dir + "/" + tool).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A binary PPM (P6, 8 bits) as a bitmap.
std::optional<Bitmap> FromPpm(const std::string& ppm) {
    std::istringstream in(ppm);
    std::string magic;
    int width = 0;
    int height = 0;
    int maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    const std::size_t start = static_cast<std::size_t>(in.tellg());
    if (magic != "P6" || maxValue != 255 || width <= 0 || height <= 0 ||
        ppm.size() - start != static_cast<std::size_t>(width) * height * 3) {
        return std::nullopt;
    }
    Bitmap bitmap(width, height);
    const auto* bytes = reinterpret_cast<const unsigned char*>(ppm.data() + start);
    for (int y = 0; y < height; ++y) {
        Rgb32* row = bitmap.Row(y);
        for (int x = 0; x < width; ++x, bytes += 3)
            row[x] = 0xFF000000u | Rgb32{bytes[0]} << 16 | Rgb32{bytes[1]} << 8 | bytes[2];
    }
    return bitmap;
}

// Whether the picture lies somewhere in the screenshot, pixel for pixel. The compositor
// places windows where it likes and the window decoration is Qt's own, so the place is
// searched for rather than assumed.
bool Contains(const Bitmap& screen, const Bitmap& picture) {
    const std::size_t rowBytes = static_cast<std::size_t>(picture.BytesPerLine());
    for (int y = 0; y + picture.Height() <= screen.Height(); ++y) {
        for (int x = 0; x + picture.Width() <= screen.Width(); ++x) {
            int row = 0;
            while (row < picture.Height() &&
                   std::memcmp(screen.Row(y + row) + x, picture.Row(row), rowBytes) == 0) {
                ++row;
            }
            if (row == picture.Height())
                return true;
        }
    }
    return false;
}

struct WaylandCase {
    const char* name;
    bool withX;  // a desktop session with XWayland has DISPLAY set as well
};

class Wayland : public ::testing::TestWithParam<WaylandCase> {
protected:
    void SetUp() override {
        for (const auto& [tool, package] :
             {std::pair{"weston", "weston"}, std::pair{"weston-screenshooter", "weston"},
              std::pair{"convert", "imagemagick"}, std::pair{"timeout", "coreutils"}}) {
            ASSERT_TRUE(OnPath(tool)) << tool << " is missing: install the Debian package "
                                      << package << " (scripts/setup.sh does)";
        }
        std::filesystem::create_directories(kLogDir);
        char dir[] = "/tmp/dorvath-wayland-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);  // mode 0700, as Wayland wants its runtime dir
        runtime_ = dir;
        // No session bus to reach: nothing may start one that outlives the test.
        const std::string noBus = "DBUS_SESSION_BUS_ADDRESS=unix:path=" + runtime_ + "/no-bus";
        compositorEnv_ = {"XDG_RUNTIME_DIR=" + runtime_, "WAYLAND_DISPLAY", "DISPLAY", noBus};
        compositor_.emplace(
            std::vector<std::string>{"weston", "--backend=headless-backend.so", "--use-pixman",
                                     // lets weston-screenshooter take its picture
                                     "--debug", std::string("--socket=") + kSocket, "--width=1024",
                                     "--height=768", "--idle-time=0"},
            compositorEnv_, kLogDir + "/wayland-weston.log");
        ASSERT_GT(compositor_->Pid(), 0);
        ASSERT_TRUE(
            WaitUntil([&] { return std::filesystem::exists(runtime_ + "/" + kSocket); }, 60s))
            << "weston did not open its socket; see " << kLogDir << "/wayland-weston.log";
        clientEnv_ = {"XDG_RUNTIME_DIR=" + runtime_, std::string("WAYLAND_DISPLAY=") + kSocket,
                      noBus};
    }

    void TearDown() override {
        program_.reset();
        compositor_.reset();
        xvfb_.reset();
        if (!runtime_.empty())
            std::filesystem::remove_all(runtime_);
    }

    // The compositor's whole output, or nothing (with the reason recorded) when no
    // screenshot could be had in time.
    std::optional<Bitmap> Screenshot() {
        const std::string dir = runtime_ + "/shots";
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        // It writes wayland-screenshot-<time>.png into its working directory.
        Program shooter({"sh", "-c", "cd \"$1\" && exec weston-screenshooter", "sh", dir},
                        clientEnv_, kLogDir + "/wayland-screenshooter.log");
        if (!shooter.WaitForExit(kShotTimeout)) {
            why_ =
                "weston-screenshooter did not finish within 30 s (weston renders nothing "
                "without --use-pixman, and refuses screenshots without --debug)";
            return std::nullopt;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const Finished ppm = test::Run(
                {"timeout", "60", "convert", entry.path().string(), "-depth", "8", "ppm:-"});
            if (ppm.status == 0)
                return FromPpm(ppm.out);
        }
        why_ =
            "weston-screenshooter wrote no picture; see " + kLogDir + "/wayland-screenshooter.log";
        return std::nullopt;
    }

    std::optional<Program> compositor_;
    std::optional<Program> program_;
    std::optional<Xvfb> xvfb_;
    std::string runtime_;
    EnvChanges compositorEnv_;
    EnvChanges clientEnv_;
    std::string why_;
};

TEST_P(Wayland, StartsNativelyWithItsTitleAndAppIdAndShowsTheStartPicture) {
    EnvChanges env = clientEnv_;
    // As a Wayland desktop starts programs: the platform left to Qt to choose.
    for (const char* unset : {"QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "QT_SCALE_FACTOR",
                              "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING"}) {
        env.push_back(unset);
    }
    if (GetParam().withX) {
        // A real X server beside the compositor: had Qt chosen X, the window would open
        // there and the compositor's screenshot would not show it.
        xvfb_.emplace(1024, 768);
        ASSERT_FALSE(xvfb_->Display().empty()) << "Xvfb did not start";
        env.push_back("DISPLAY=" + xvfb_->Display());
    } else {
        env.push_back("DISPLAY");
    }
    // The client's side of the protocol goes to its log: title and app id are read there.
    env.push_back("WAYLAND_DEBUG=client");
    const std::string log = kLogDir + "/wayland-" + GetParam().name + "-Dorvath.log";
    program_.emplace(std::vector<std::string>{DORVATH_EXECUTABLE}, env, log);
    ASSERT_GT(program_->Pid(), 0);

    const Bitmap start = test::FrameFromScratch(PlanetState::Create(300, 300));
    std::optional<Bitmap> shot;
    bool ended = false;
    const bool shown = WaitUntil(
        [&] {
            ended = program_->WaitForExit(0ms).has_value();
            if (ended)
                return true;
            shot = Screenshot();
            return shot && Contains(*shot, start);
        },
        kPatience);
    if (ended) {
        program_.reset();
        FAIL() << "the program ended; see " << log;
    }
    if (!shown || !shot || !Contains(*shot, start)) {
        std::string kept;
        if (shot && test::WritePng(*shot, kLogDir + "/wayland-" + GetParam().name + "-screen.png"))
            kept = "; the last screenshot is in " + kLogDir + "/wayland-" + GetParam().name +
                   "-screen.png";
        FAIL() << "the start picture never appeared on the compositor's screen"
               << (shot ? "" : ": " + why_) << kept << "; see " << log;
    }

    const std::string protocol = ReadAll(log);
    EXPECT_NE(protocol.find("xdg_toplevel@"), std::string::npos) << "not a Wayland client";
    EXPECT_NE(protocol.find(".set_title(\"Quonsel\")"), std::string::npos);
    // Wayland has no window icons: the desktop finds the icon through the desktop entry
    // the app id names.
    EXPECT_NE(protocol.find(".set_app_id(\"" DORVATH_APP_ID "\")"), std::string::npos);
    const std::string entry = ReadAll(DORVATH_DESKTOP_ENTRY);
    EXPECT_EQ(std::filesystem::path(DORVATH_DESKTOP_ENTRY).filename(), DORVATH_APP_ID ".desktop");
    EXPECT_NE(entry.find("\nIcon=" DORVATH_APP_ID "\n"), std::string::npos) << entry;
}

INSTANTIATE_TEST_SUITE_P(Sessions, Wayland,
                         ::testing::Values(WaylandCase{"WaylandOnly", false},
                                           WaylandCase{"WaylandAndX", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dorvath::e2e
