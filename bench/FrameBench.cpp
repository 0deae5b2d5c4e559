// One frame of the running animation (advance one degree, draw, commit) on our canvas and,
// through the same drawing interface and the same calls, on QPainter over a QImage; at
// scale 1 and at scale 2 (a dense screen).
// Also the single primitives a frame consists of, to show where a frame's time goes.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "QPainterCanvas.h"
#include "canvas/BitmapCanvas.h"
#include "scene/Frame.h"
#include "state/PlanetState.h"
#include "support/Frames.h"
#include "support/Layout.h"
#include "support/WindowPictures.h"

namespace {

using dorvath::BitmapCanvas;
using dorvath::Canvas;
using dorvath::DeviceScale;
using dorvath::PlanetState;
using dorvath::TBrushStyle;
using dorvath::bench::QPainterCanvas;

constexpr std::int32_t kSize = dorvath::layout::kImage.width;

// At a device scale, the same logical size: scale 2 draws 600 x 600 device pixels.
template <typename C>
std::unique_ptr<C> MakeCanvas(double ratio = 1.0) {
    if constexpr (std::is_same_v<C, BitmapCanvas>) {
        return std::make_unique<C>(kSize, kSize, dorvath::clWhite, DeviceScale::FromRatio(ratio));
    } else {
        return std::make_unique<C>(kSize, kSize, ratio);
    }
}

// A fresh state and the start picture, as the reset draws it.
void Start(Canvas& canvas, PlanetState& state) {
    state = PlanetState::Create(kSize, kSize);
    dorvath::Reset(canvas, state);
}

template <typename C>
void BM_Frame(benchmark::State& bm, double ratio) {
    auto canvas = MakeCanvas<C>(ratio);
    PlanetState state;
    Start(*canvas, state);
    for (auto _ : bm) {
        dorvath::Step(*canvas, state, 1.0);
        benchmark::ClobberMemory();
    }
    if constexpr (std::is_same_v<C, QPainterCanvas>) {
        // How far QPainter's picture differs from ours of the same state: the two
        // rasterizers place a few edge pixels differently, nothing more. At scale 2 many
        // more: the scaled edges and the wider pen land differently.
        const dorvath::Bitmap ours =
            dorvath::test::FrameFromScratch(state, kSize, kSize, DeviceScale::FromRatio(ratio));
        bm.counters["px_differing"] = static_cast<double>(
            dorvath::test::Difference(dorvath::test::ToBitmap(canvas->Image()), ours).count);
    }
}

// The primitives of a frame at their real sizes, each drawn in place over and over.
enum class Primitive { kDisc, kWedge, kOrbit, kHLine, kVLine, kMarker };

template <typename C>
void BM_Primitive(benchmark::State& bm, Primitive which) {
    auto canvas = MakeCanvas<C>();
    PlanetState state;
    Start(*canvas, state);
    canvas->Pen.Color = dorvath::clBlack;
    canvas->Brush.Color = dorvath::clYellow;
    canvas->Brush.Style = which == Primitive::kOrbit ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
    for (auto _ : bm) {
        switch (which) {
            case Primitive::kDisc:
                canvas->Ellipse(139, 30, 179, 70);
                break;
            case Primitive::kWedge:
                canvas->Pie(139, 30, 179, 70, 178, 51, 140, 49);
                break;
            case Primitive::kOrbit:
                canvas->Ellipse(50, 50, 250, 250);
                break;
            case Primitive::kHLine:
                canvas->MoveTo(0, 150);
                canvas->LineTo(kSize, 150);
                break;
            case Primitive::kVLine:
                canvas->MoveTo(150, 0);
                canvas->LineTo(150, kSize);
                break;
            case Primitive::kMarker:
                canvas->MoveTo(159, 50);
                canvas->LineTo(162, 30);
                break;
        }
        benchmark::ClobberMemory();
    }
}

}  // namespace

int main(int argc, char** argv) {
    // scripts/bench reads these names.
    const std::pair<const char*, double> scales[] = {{"", 1.0}, {"/scale2", 2.0}};
    for (const auto& [suffix, ratio] : scales) {
        benchmark::RegisterBenchmark((std::string("Frame/ours") + suffix).c_str(),
                                     BM_Frame<BitmapCanvas>, ratio);
        benchmark::RegisterBenchmark((std::string("Frame/QPainter") + suffix).c_str(),
                                     BM_Frame<QPainterCanvas>, ratio);
    }
    const std::pair<const char*, Primitive> primitives[] = {
        {"disc", Primitive::kDisc},   {"wedge", Primitive::kWedge}, {"orbit", Primitive::kOrbit},
        {"hline", Primitive::kHLine}, {"vline", Primitive::kVLine}, {"marker", Primitive::kMarker},
    };
    for (const auto& [name, which] : primitives) {
        benchmark::RegisterBenchmark((std::string("Primitive/ours/") + name).c_str(),
                                     BM_Primitive<BitmapCanvas>, which);
        benchmark::RegisterBenchmark((std::string("Primitive/QPainter/") + name).c_str(),
                                     BM_Primitive<QPainterCanvas>, which);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
