#pragma once

#include <string>

#include <gtest/gtest.h>

#include "canvas/Bitmap.h"
#include "canvas/BitmapCanvas.h"
#include "state/PlanetState.h"

namespace dorvath::test {

// What the reset shows: the whole surface in the background colour, then one frame.
void DrawReset(BitmapCanvas& canvas, const PlanetState& state);

// The frame a fresh surface shows for this state's current position: a white surface
// and one frame whose erase and planet are both at OrbitAngle.
Bitmap FrameFromScratch(const PlanetState& state, std::int32_t width = 300,
                        std::int32_t height = 300);

// Equal pictures; on a difference, names the first differing pixel and writes both
// pictures as PNGs (name-actual.png, name-expected.png) for a person to look at.
::testing::AssertionResult SamePicture(const Bitmap& actual, const Bitmap& expected,
                                       const std::string& name);

}  // namespace dorvath::test
