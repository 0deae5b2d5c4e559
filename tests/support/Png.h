#pragma once

#include <string>

#include "canvas/Bitmap.h"

namespace dorvath::test {

// Writes an RGB PNG, for a person to look at a failing picture. Tests that link Qt get
// QImage's writer (QtPng.cpp); the Qt-free core tests a small one of their own (Png.cpp).
bool WritePng(const Bitmap& bitmap, const std::string& path);

}  // namespace dorvath::test
