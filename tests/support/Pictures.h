#pragma once

#include <string>

#include <gtest/gtest.h>

#include "canvas/Bitmap.h"
#include "support/Frames.h"

namespace dorvath::test {

// Equal pictures; on a difference, names the first differing pixel and writes both
// pictures as PNGs (name-actual.png, name-expected.png) for a person to look at.
::testing::AssertionResult SamePicture(const Bitmap& actual, const Bitmap& expected,
                                       const std::string& name);

}  // namespace dorvath::test
