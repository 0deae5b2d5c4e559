#pragma once

#include <cstdint>

namespace dorvath {

// A plain colour as $00BBGGRR: red in the low byte.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;

constexpr std::uint8_t RedOf(TColor c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GreenOf(TColor c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(TColor c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

// Pixels are stored as 0xFFRRGGBB, the layout a display takes as it is, so that
// showing the bitmap needs no conversion pass.
using Rgb32 = std::uint32_t;

constexpr Rgb32 ToRgb32(TColor c) {
    return 0xFF000000u | (static_cast<Rgb32>(RedOf(c)) << 16) |
           (static_cast<Rgb32>(GreenOf(c)) << 8) | BlueOf(c);
}

constexpr TColor FromRgb32(Rgb32 p) {
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

}  // namespace dorvath
