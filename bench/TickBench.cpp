// One whole tick handler of the real window, including the repaint of what the frame
// changed, as the program runs it: advance, draw, commit, then the pending events, among
// them the repaint. Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <cstdint>

#include "support/Form1Probe.h"

namespace {

// Counts the picture's paint events, to show that each tick's repaint is in the figure.
class PaintCounter final : public QObject {
public:
    std::int64_t paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

void BM_Tick(benchmark::State& bm) {
    TForm1 form;
    form.show();
    QApplication::processEvents();
    PaintCounter counter;
    form.Image1->installEventFilter(&counter);
    for (auto _ : bm) {
        form.Timer1Timer(form.Timer1);
        // Whatever the handler left pending is part of the tick's cost too.
        QApplication::sendPostedEvents();
    }
    bm.counters["paints_per_tick"] =
        static_cast<double>(counter.paints) / static_cast<double>(bm.iterations());
    bm.counters["orbit_deg"] = TForm1Probe::State(form).OrbitAngle;
}
BENCHMARK(BM_Tick)->Name("Tick/handler_with_repaint");

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
