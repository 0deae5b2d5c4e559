// Runs the real window's animation for a while, in process, and times every tick: the
// rate, how far the ticks drift from a 100 ms grid, and the CPU used. Prints key=value
// lines for scripts/bench. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.
//
//   dorvath_tick_rate [seconds]

#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/Form1Probe.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;

    TForm1 form;
    form.show();
    QApplication::processEvents();

    // Each tick's moment, taken right after the handler: wrapping the handler adds no
    // timer and no wake-up of its own.
    std::vector<Clock::time_point> ticks;
    ticks.reserve(static_cast<std::size_t>(seconds * 20) + 16);
    const auto handler = form.Timer1->OnTimer;
    form.Timer1->OnTimer = [&] {
        handler();
        ticks.push_back(Clock::now());
    };

    const double angle0 = TForm1Probe::State(form).OrbitAngle;
    const double cpu0 = CpuSeconds();
    const auto start = Clock::now();
    form.bVorVorClick(form.bVorVor);
    QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &app,
                       &QApplication::quit);
    QApplication::exec();
    const double elapsed = Seconds(Clock::now() - start);
    const double cpu = CpuSeconds() - cpu0;
    const double degrees = TForm1Probe::State(form).OrbitAngle - angle0;

    std::printf("seconds=%.3f\n", elapsed);
    std::printf("ticks=%zu\n", ticks.size());
    std::printf("orbit_degrees=%.0f\n", degrees);
    std::printf("ticks_per_s=%.4f\n", degrees / elapsed);
    if (ticks.size() >= 2) {
        const double span = Seconds(ticks.back() - ticks.front());
        const auto n = static_cast<double>(ticks.size() - 1);
        std::printf("ticks_per_s_first_to_last=%.4f\n", n / span);
        // Where each tick falls against a grid of exact 100 ms steps from the first one:
        // a timer that drifts shows a lateness that grows from tick to tick.
        double worst = 0.0;
        for (std::size_t k = 0; k < ticks.size(); ++k) {
            const double late = Seconds(ticks[k] - ticks.front()) - 0.1 * static_cast<double>(k);
            worst = std::max(worst, std::abs(late));
        }
        std::printf("drift_end_ms=%.3f\n", (span - 0.1 * n) * 1000.0);
        std::printf("max_offset_ms=%.3f\n", worst * 1000.0);
        // The rate over each third of the run: equal thirds mean no drift.
        const std::size_t third = ticks.size() / 3;
        for (int part = 0; part < 3 && third > 1; ++part) {
            const auto first = ticks[part * third];
            const auto last = ticks[(part + 1) * third - 1];
            std::printf("ticks_per_s_part%d=%.4f\n", part + 1,
                        static_cast<double>(third - 1) / Seconds(last - first));
        }
    }
    std::printf("cpu_s=%.4f\n", cpu);
    std::printf("cpu_percent=%.3f\n", 100.0 * cpu / elapsed);
    return 0;
}
