#pragma once

#include <string>

#include "canvas/Bitmap.h"

namespace dorvath::test {

// Writes an RGB PNG (uncompressed deflate blocks): enough for a person to look at a
// failing picture, with no library behind it.
bool WritePng(const Bitmap& bitmap, const std::string& path);

}  // namespace dorvath::test
