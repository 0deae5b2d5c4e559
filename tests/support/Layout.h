#pragma once

// The main window's layout as its users see it, in pixels of the client area: what the
// tests hold the window to and where the benchmarks find its picture and buttons.

namespace dorvath::layout {

struct Box {
    int left;
    int top;
    int width;
    int height;

    constexpr int CenterX() const { return left + width / 2; }
    constexpr int CenterY() const { return top + height / 2; }
};

inline constexpr int kClientWidth = 343;   // the buttons' right edge and an 8 pixel margin
inline constexpr int kClientHeight = 316;  // the image's bottom edge and an 8 pixel margin

inline constexpr Box kImage{8, 8, 300, 300};
inline constexpr Box kStepButton{312, 8, 23, 22};    // ">"
inline constexpr Box kRunButton{312, 32, 23, 22};    // ">>"
inline constexpr Box kClearButton{312, 56, 23, 22};  // "Cl"

}  // namespace dorvath::layout
