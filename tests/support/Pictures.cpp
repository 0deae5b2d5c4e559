#include "support/Pictures.h"

#include <filesystem>
#include <sstream>

#include "scene/Scene.h"
#include "support/Png.h"

namespace dorvath::test {

void DrawReset(BitmapCanvas& canvas, const PlanetState& state) {
    canvas.Pen.Color = clWhite;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = state.BackColor;
    canvas.Rectangle(0, 0, canvas.Width(), canvas.Height());
    DrawScene(canvas, state);
}

Bitmap FrameFromScratch(const PlanetState& state, std::int32_t width, std::int32_t height) {
    PlanetState settled = state;
    settled.CommitDrawn();
    BitmapCanvas canvas(width, height, settled.BackColor);
    DrawScene(canvas, settled);
    return canvas.Pixels();
}

::testing::AssertionResult SamePicture(const Bitmap& actual, const Bitmap& expected,
                                       const std::string& name) {
    if (actual == expected)
        return ::testing::AssertionSuccess();
    std::ostringstream why;
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        why << name << ": size " << actual.Width() << "x" << actual.Height() << ", expected "
            << expected.Width() << "x" << expected.Height();
        return ::testing::AssertionFailure() << why.str();
    }
    int differing = 0;
    for (std::int32_t y = 0; y < actual.Height(); ++y) {
        for (std::int32_t x = 0; x < actual.Width(); ++x) {
            if (actual.Pixel(x, y) == expected.Pixel(x, y))
                continue;
            if (differing++ == 0) {
                why << name << ": first difference at (" << x << ", " << y << "): $" << std::hex
                    << actual.Pixel(x, y) << ", expected $" << expected.Pixel(x, y) << std::dec;
            }
        }
    }
    why << "; " << differing << " pixels differ";
    const std::filesystem::path dir = DORVATH_ARTIFACT_DIR;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::string base = (dir / name).string();
    if (WritePng(actual, base + "-actual.png") && WritePng(expected, base + "-expected.png")) {
        why << "; pictures in " << base << "-{actual,expected}.png";
    }
    return ::testing::AssertionFailure() << why.str();
}

}  // namespace dorvath::test
