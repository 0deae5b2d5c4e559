#include "state/PlanetState.h"

namespace dorvath {

PlanetState PlanetState::Create(std::int32_t surfaceWidth, std::int32_t surfaceHeight) {
    PlanetState s;
    s.BackColor = clWhite;
    s.OrbitAngle = 0.0;
    s.PrevOrbitAngle = s.OrbitAngle;
    s.SpinRatio = 1.5;
    s.SpinAngle = s.OrbitAngle * s.SpinRatio;
    s.OrbitRadius = 100.0;
    s.PlanetRadius = 20.0;
    // Integer division truncates toward zero.
    s.CenterX = surfaceWidth / 2;
    s.CenterY = surfaceHeight / 2;
    return s;
}

void PlanetState::ResetAngles() {
    OrbitAngle = 0.0;
    PrevOrbitAngle = OrbitAngle;
    SpinAngle = OrbitAngle * SpinRatio;
}

void PlanetState::AdvanceOrbit(double delta) {
    OrbitAngle += delta;
    SpinAngle = OrbitAngle * SpinRatio;
}

void PlanetState::CommitDrawn() {
    PrevOrbitAngle = OrbitAngle;
}

}  // namespace dorvath
