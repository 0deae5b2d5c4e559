#pragma once

#include "canvas/Canvas.h"
#include "state/PlanetState.h"

namespace dorvath {

// The reset ("Cl"): the angles back to 0, the whole surface in the background colour,
// then the start picture.
void Reset(Canvas& canvas, PlanetState& state);

// One step of the animation: the planet moved on by delta degrees, its frame drawn,
// and the place it was drawn at committed.
void Step(Canvas& canvas, PlanetState& state, double delta);

}  // namespace dorvath
