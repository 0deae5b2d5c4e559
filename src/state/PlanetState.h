#pragma once

#include <cstdint>

#include "canvas/Color.h"

namespace dorvath {

// Every number a frame is drawn from. Angles are degrees clockwise from straight up
// and are never reduced modulo 360: each change adds whole degrees, so they stay
// exact, and the spin is always derived from the orbit, never accumulated.
struct PlanetState {
    double OrbitAngle = 0.0;
    double PrevOrbitAngle = 0.0;  // where the planet was last drawn
    double SpinAngle = 0.0;
    double SpinRatio = 1.5;  // three turns for every two orbits
    TColor BackColor = clWhite;
    double OrbitRadius = 100.0;
    double PlanetRadius = 20.0;
    std::int32_t CenterX = 0;
    std::int32_t CenterY = 0;

    // The centre follows the surface; the radii are fixed pixel sizes.
    static PlanetState Create(std::int32_t surfaceWidth, std::int32_t surfaceHeight);

    void ResetAngles();
    // Moves the planet on; PrevOrbitAngle stays so the next frame can erase it.
    void AdvanceOrbit(double delta);
    // Records that the planet has been drawn at OrbitAngle.
    void CommitDrawn();
};

}  // namespace dorvath
