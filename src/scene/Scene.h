#pragma once

#include <cstdint>

#include "canvas/Canvas.h"
#include "canvas/Geometry.h"
#include "state/PlanetState.h"

namespace dorvath {

// Where the planet's centre is drawn for an orbital angle.
TPoint PlanetPosition(const PlanetState& state, double orbitAngle);

// One frame: erases the planet where it was last drawn, repaints the Sun, the axes and
// the orbit, and draws the planet where it is now. Reads the state, changes nothing.
void DrawScene(Canvas& canvas, const PlanetState& state);

// The planet's full disc; unlit paints it in the background colour.
void DrawPlanet(Canvas& canvas, std::int32_t x, std::int32_t y, double radius, bool lit,
                TColor backColor);
// The half disc given by angle (degrees); unlit paints it in the background colour.
void DrawNightSide(Canvas& canvas, std::int32_t x, std::int32_t y, double radius, double angle,
                   bool lit, TColor backColor);
// The spin marker from (x, y) in the direction angle (degrees).
void DrawSpinMarker(Canvas& canvas, std::int32_t x, std::int32_t y, double length, double angle);

}  // namespace dorvath
