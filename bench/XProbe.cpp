// Measures a real program from the outside, on an X server (Xvfb): starts it, watches
// its window's pixels, clicks its buttons with xdotool and reads what the kernel counts
// for it under /proc. Prints key=value lines for scripts/bench.
//
//   dorvath_xprobe startup <title> <picture|painted> <hold-ms> -- program [args...]
//   dorvath_xprobe session <title> <stopped-s> <running-s> <span-s> -- program [args...]
//   dorvath_xprobe display -- program [args...]
//
// "picture" waits until the picture area shows exactly the start picture, "painted"
// until it shows any one uniform non-black colour (an empty window's first paint).
// "display" runs the program on a private Xvfb of its own, with DISPLAY and
// DORVATH_XVFB_PID set, and returns its exit status.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "canvas/Bitmap.h"
#include "state/PlanetState.h"
#include "support/Frames.h"
#include "support/Layout.h"
#include "support/Process.h"

namespace {

using Clock = std::chrono::steady_clock;
using dorvath::Bitmap;
using dorvath::PlanetState;

// Where the picture lies in the window's client area.
constexpr dorvath::layout::Box kPicture = dorvath::layout::kImage;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(std::max(seconds, 0.0)));
}

void SleepUntil(Clock::time_point t) {
    std::this_thread::sleep_until(t);
}

// ---- The program under test and what the kernel counts for it ----

struct Usage {
    std::uint64_t cpuNs = 0;        // time on a CPU, all threads (schedstat)
    double cpuStatS = 0.0;          // utime + stime from /proc/PID/stat, 10 ms resolution
    std::uint64_t switches = 0;     // voluntary context switches, all threads: wake-ups
    std::uint64_t involuntary = 0;  // involuntary context switches, all threads
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::uint64_t StatusField(const std::string& status, const std::string& key) {
    const auto at = status.find(key + ":");
    if (at == std::string::npos)
        return 0;
    return std::strtoull(status.c_str() + at + key.size() + 1, nullptr, 10);
}

double StatCpuSeconds(pid_t pid) {
    const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return 0.0;
    std::istringstream rest(stat.substr(close + 2));
    std::string field;
    std::uint64_t utime = 0, stime = 0;
    // Fields after the command: state is field 3, utime 14, stime 15.
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15)
            stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

Usage ReadUsage(pid_t pid) {
    Usage u;
    const std::string base = "/proc/" + std::to_string(pid);
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator(base + "/task", ec)) {
        const std::string dir = task.path().string();
        u.cpuNs += std::strtoull(ReadFile(dir + "/schedstat").c_str(), nullptr, 10);
        const std::string status = ReadFile(dir + "/status");
        u.switches += StatusField(status, "voluntary_ctxt_switches");
        u.involuntary += StatusField(status, "nonvoluntary_ctxt_switches");
    }
    u.cpuStatS = StatCpuSeconds(pid);
    return u;
}

// One phase's figures, named by prefix: its length, the program's CPU by two counts,
// its wake-ups and the X server's CPU over the same time.
void PrintPhase(const char* prefix, double seconds, const Usage& from, const Usage& to,
                double xvfbFrom, double xvfbTo) {
    std::printf("%s_s=%.3f\n", prefix, seconds);
    std::printf("%s_cpu_s=%.6f\n", prefix, static_cast<double>(to.cpuNs - from.cpuNs) / 1e9);
    std::printf("%s_cpu_stat_s=%.2f\n", prefix, to.cpuStatS - from.cpuStatS);
    std::printf("%s_wakeups=%llu\n", prefix,
                static_cast<unsigned long long>(to.switches - from.switches));
    std::printf("%s_xvfb_cpu_s=%.2f\n", prefix, xvfbTo - xvfbFrom);
}

std::uint64_t PeakResidentKb(pid_t pid) {
    return StatusField(ReadFile("/proc/" + std::to_string(pid) + "/status"), "VmHWM");
}

std::vector<std::string> Arguments(char** argv) {
    std::vector<std::string> args;
    for (; *argv != nullptr; ++argv)
        args.emplace_back(*argv);
    return args;
}

// ---- The X server side ----

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

class Screen {
public:
    Screen() : display_(XOpenDisplay(nullptr)) {
        if (display_ == nullptr) {
            std::fprintf(stderr, "dorvath_xprobe: cannot open display\n");
            std::exit(2);
        }
        XSetErrorHandler(IgnoreXErrors);
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
    }
    ~Screen() { XCloseDisplay(display_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // The viewable top-level window with this title, if there is one yet.
    std::optional<Window> Find(const std::string& title) {
        return FindUnder(DefaultRootWindow(display_), title, 0);
    }

    // The window's client origin in root coordinates.
    void Origin(Window w, int& x, int& y) {
        Window child = 0;
        XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    }

    // The picture area as the server shows it; nothing when it cannot be read.
    std::optional<Bitmap> Grab(Window w) {
        XImage* image = XGetImage(display_, w, kPicture.left, kPicture.top, kPicture.width,
                                  kPicture.height, AllPlanes, ZPixmap);
        if (image == nullptr)
            return std::nullopt;
        std::optional<Bitmap> p;
        // A 24-bit TrueColor server hands out 0x00RRGGBB words, our bitmap's own layout.
        if (image->bits_per_pixel == 32) {
            p.emplace(kPicture.width, kPicture.height);
            for (int y = 0; y < kPicture.height; ++y) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(
                    image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line);
                for (int x = 0; x < kPicture.width; ++x)
                    p->Row(y)[x] = 0xFF000000u | (row[x] & 0xFFFFFFu);
            }
        }
        XDestroyImage(image);
        return p;
    }

private:
    std::optional<Window> FindUnder(Window w, const std::string& title, int depth) {
        if (depth > 0 && TitleOf(w) == title) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable)
                return w;
        }
        if (depth >= 2)
            return std::nullopt;
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, w, &root, &parent, &children, &count))
            return std::nullopt;
        std::optional<Window> found;
        for (unsigned i = 0; i < count && !found; ++i)
            found = FindUnder(children[i], title, depth + 1);
        if (children != nullptr)
            XFree(children);
        return found;
    }

    std::string TitleOf(Window w) {
        std::string title;
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, w, netWmName_, 0, 256, False, utf8_, &type, &format,
                               &items, &after, &data) == Success &&
            data != nullptr) {
            title.assign(reinterpret_cast<const char*>(data), items);
            XFree(data);
            return title;
        }
        char* name = nullptr;
        if (XFetchName(display_, w, &name) && name != nullptr) {
            title = name;
            XFree(name);
        }
        return title;
    }

    Display* display_;
    Atom netWmName_;
    Atom utf8_;
};

// ---- Pictures rendered by our own scene code, to recognise what the window shows ----

PlanetState StateAt(double orbitAngle) {
    PlanetState state = PlanetState::Create(kPicture.width, kPicture.height);
    state.AdvanceOrbit(orbitAngle);
    return state;
}

Bitmap Render(double orbitAngle) {
    return dorvath::test::FrameFromScratch(StateAt(orbitAngle), kPicture.width, kPicture.height);
}

std::size_t Mismatches(const Bitmap& a, const Bitmap& b) {
    return static_cast<std::size_t>(dorvath::test::Difference(a, b).count);
}

struct Angle {
    int degrees = -1;  // orbit angle modulo 720 (the marker tells the two orbits apart)
    std::size_t mismatches = 0;
};

// Finds the planet by the centroid of its colours away from the Sun, then picks the
// whole degree whose rendered frame matches the picture best.
Angle Recognise(const Bitmap& p) {
    const PlanetState scene = StateAt(0.0);
    double sumX = 0, sumY = 0, n = 0;
    for (int y = 0; y < p.Height(); ++y) {
        for (int x = 0; x < p.Width(); ++x) {
            const dorvath::TColor c = p.Pixel(x, y);
            if (c == scene.BackColor || c == dorvath::clBlue)
                continue;  // background, axes and orbit
            const double dx = x - scene.CenterX, dy = y - scene.CenterY;
            if (dx * dx + dy * dy < 50.0 * 50.0)
                continue;  // the Sun
            sumX += x;
            sumY += y;
            n += 1;
        }
    }
    Angle best;
    if (n == 0)
        return best;
    const double guess =
        std::atan2(sumX / n - scene.CenterX, scene.CenterY - sumY / n) * 180.0 / std::numbers::pi;
    const int centre = static_cast<int>(std::lround(guess));
    best.mismatches = static_cast<std::size_t>(p.Width()) * p.Height() + 1;
    for (int d = centre - 3; d <= centre + 3; ++d) {
        for (int turn = 0; turn < 720; turn += 360) {
            const int k = ((d + turn) % 720 + 720) % 720;
            const std::size_t m = Mismatches(p, Render(k));
            if (m < best.mismatches)
                best = {k, m};
        }
    }
    return best;
}

// One colour all over, and not the black of the root window showing through.
bool Uniform(const std::optional<Bitmap>& p) {
    if (!p || p->Pixel(0, 0) == dorvath::clBlack)
        return false;
    return *p == Bitmap(p->Width(), p->Height(), p->Pixel(0, 0));
}

// Waits for the window and the wanted picture in it; returns the window, or 0.
Window AwaitVisible(Screen& screen, const std::string& title, const std::string& check,
                    Clock::time_point deadline) {
    const Bitmap start = Render(0.0);
    std::optional<Window> w;
    while (Clock::now() < deadline) {
        if (!w)
            w = screen.Find(title);
        if (w) {
            const std::optional<Bitmap> p = screen.Grab(*w);
            if (check == "picture" ? p == start : Uniform(p))
                return *w;
        }
        Sleep(0.001);
    }
    return 0;
}

struct Edge {
    Clock::time_point when;
    Angle angle;
};

// Polls until the picture changes, so the time taken is that of a tick's frame arriving,
// not of a moment somewhere between two ticks.
Edge AwaitChange(Screen& screen, Window w) {
    const std::optional<Bitmap> before = screen.Grab(w);
    auto last = Clock::now();
    const auto deadline = last + std::chrono::seconds(2);
    while (Clock::now() < deadline) {
        Sleep(0.0005);
        const auto grabbedFrom = Clock::now();
        const std::optional<Bitmap> now = screen.Grab(w);
        if (now && now != before)
            return {last + (Clock::now() - last) / 2, Recognise(*now)};
        last = grabbedFrom;
    }
    return {Clock::now(), {}};
}

void Click(Screen& screen, Window w, const dorvath::layout::Box& button) {
    int originX = 0, originY = 0;
    screen.Origin(w, originX, originY);
    const dorvath::test::Finished f =
        dorvath::test::Run({"xdotool", "mousemove", std::to_string(originX + button.CenterX()),
                            std::to_string(originY + button.CenterY()), "click", "1"});
    if (f.status != 0)
        std::fprintf(stderr, "dorvath_xprobe: click failed: %s\n", f.err.c_str());
}

std::optional<pid_t> XvfbPid() {
    const char* s = std::getenv("DORVATH_XVFB_PID");
    if (s == nullptr)
        return std::nullopt;
    return static_cast<pid_t>(std::atoi(s));
}

// The program under test, running in the background until it is finished.
class Subject {
public:
    explicit Subject(char** program)
        : process_(Arguments(program), {}), pid_(static_cast<pid_t>(process_.Pid())) {}

    pid_t Pid() const { return pid_; }
    // Its peak resident set in KiB, as the kernel keeps it.
    std::uint64_t PeakKb() const { return PeakResidentKb(pid_); }
    void Finish() { process_.Stop(); }

private:
    dorvath::test::Program process_;
    pid_t pid_;
};

double XvfbCpuSeconds(const std::optional<pid_t>& xvfb) {
    return xvfb ? StatCpuSeconds(*xvfb) : 0.0;
}

int Startup(const std::string& title, const std::string& check, double holdMs, char** program) {
    Screen screen;
    const auto start = Clock::now();
    Subject subject(program);
    const Window w = AwaitVisible(screen, title, check, start + std::chrono::seconds(30));
    const auto visible = Clock::now();
    if (w == 0) {
        std::printf("error=not visible\n");
        return 1;
    }
    std::printf("visible_ms=%.2f\n", Seconds(visible - start) * 1000.0);
    Sleep(holdMs / 1000.0);
    std::printf("hwm_kb=%llu\n", static_cast<unsigned long long>(subject.PeakKb()));
    return 0;
}

int Session(const std::string& title, double stoppedS, double runningS, double spanS,
            char** program) {
    Screen screen;
    const auto start = Clock::now();
    Subject subject(program);
    const Window w = AwaitVisible(screen, title, "picture", start + std::chrono::seconds(30));
    if (w == 0) {
        std::printf("error=not visible\n");
        return 1;
    }
    std::printf("visible_ms=%.2f\n", Seconds(Clock::now() - start) * 1000.0);
    Sleep(1.0);  // let start-up work (font caches, first expose) settle

    const auto xvfb = XvfbPid();
    const Usage stoppedFrom = ReadUsage(subject.Pid());
    const double xvfbStoppedFrom = XvfbCpuSeconds(xvfb);
    Sleep(stoppedS);
    const Usage stoppedTo = ReadUsage(subject.Pid());
    const double xvfbStoppedTo = XvfbCpuSeconds(xvfb);
    PrintPhase("stopped", stoppedS, stoppedFrom, stoppedTo, xvfbStoppedFrom, xvfbStoppedTo);

    Click(screen, w, dorvath::layout::kRunButton);
    Sleep(1.0);
    const Edge a = AwaitChange(screen, w);
    const Usage runningFrom = ReadUsage(subject.Pid());
    const double xvfbRunningFrom = XvfbCpuSeconds(xvfb);
    const auto runningStart = Clock::now();
    SleepUntil(runningStart + std::chrono::duration_cast<Clock::duration>(
                                  std::chrono::duration<double>(runningS)));
    const Usage runningTo = ReadUsage(subject.Pid());
    const double xvfbRunningTo = XvfbCpuSeconds(xvfb);
    const double ranS = Seconds(Clock::now() - runningStart);
    PrintPhase("running", ranS, runningFrom, runningTo, xvfbRunningFrom, xvfbRunningTo);

    // The planet's angle in frames spanS apart, with one more in the middle to show drift.
    const auto half = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(spanS / 2 - 0.05));
    SleepUntil(a.when + half);
    const Edge m = AwaitChange(screen, w);
    SleepUntil(a.when + 2 * half);
    const Edge b = AwaitChange(screen, w);
    const auto ticks = [](const Edge& from, const Edge& to) {
        return ((to.angle.degrees - from.angle.degrees) % 720 + 720) % 720;
    };
    std::printf("angle_a=%d angle_m=%d angle_b=%d\n", a.angle.degrees, m.angle.degrees,
                b.angle.degrees);
    std::printf("angle_mismatched_px=%zu\n",
                std::max({a.angle.mismatches, m.angle.mismatches, b.angle.mismatches}));
    std::printf("span_s=%.4f\n", Seconds(b.when - a.when));
    std::printf("ticks=%d\n", ticks(a, b));
    std::printf("ticks_per_s=%.4f\n", ticks(a, b) / Seconds(b.when - a.when));
    std::printf("ticks_per_s_first_half=%.4f\n", ticks(a, m) / Seconds(m.when - a.when));
    std::printf("ticks_per_s_second_half=%.4f\n", ticks(m, b) / Seconds(b.when - m.when));
    std::printf("session_hwm_kb=%llu\n", static_cast<unsigned long long>(subject.PeakKb()));
    return 0;
}

// Runs the program on a private X server and returns its exit status.
int OnDisplay(char** program) {
    const dorvath::test::Xvfb server(1024, 768);
    if (server.Display().empty()) {
        std::fprintf(stderr, "dorvath_xprobe: Xvfb did not start\n");
        return 2;
    }
    dorvath::test::Program run(
        Arguments(program),
        {"DISPLAY=" + server.Display(), "DORVATH_XVFB_PID=" + std::to_string(server.Pid()),
         "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    return run.WaitForExit(std::chrono::hours(24)).value_or(2);
}

int PrintUsage(const char* self) {
    std::fprintf(stderr,
                 "usage: %s startup <title> <picture|painted> <hold-ms> -- program [args]\n"
                 "       %s session <title> <stopped-s> <running-s> <span-s> -- program "
                 "[args]\n"
                 "       %s display -- program [args]\n",
                 self, self, self);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int dashes = 0;
    while (dashes < argc && std::strcmp(argv[dashes], "--") != 0)
        ++dashes;
    if (dashes + 1 >= argc)
        return PrintUsage(argv[0]);
    const std::string mode = dashes > 1 ? argv[1] : "";
    char** program = argv + dashes + 1;
    if (mode == "startup" && dashes == 5)
        return Startup(argv[2], argv[3], std::atof(argv[4]), program);
    if (mode == "session" && dashes == 6)
        return Session(argv[2], std::atof(argv[3]), std::atof(argv[4]), std::atof(argv[5]),
                       program);
    if (mode == "display" && dashes == 2)
        return OnDisplay(program);
    return PrintUsage(argv[0]);
}
