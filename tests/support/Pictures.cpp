#include "support/Pictures.h"

#include <filesystem>
#include <sstream>

#include "support/Png.h"

namespace dorvath::test {

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
    const PixelDifference d = Difference(actual, expected);
    why << name << ": first difference at (" << d.first.X << ", " << d.first.Y << "): $" << std::hex
        << actual.Pixel(d.first.X, d.first.Y) << ", expected $"
        << expected.Pixel(d.first.X, d.first.Y) << std::dec << "; " << d.count << " pixels differ";
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
