#pragma once

#include "canvas/Canvas.h"
#include "state/PlanetState.h"

namespace dorvath {

// The reset ("Cl"): the angles back to 0, the whole surface in the background colour,
// then the start picture.
void Reset(Canvas& canvas, PlanetState& state);

// The picture the surface holds for a state, drawn on a surface of any contents: the
// whole surface in the background colour, then one frame at the planet's current place.
// What a new surface (another screen density, say) starts from. Changes no state.
void DrawAfresh(Canvas& canvas, const PlanetState& state);

// One step of the animation: the planet moved on by delta degrees, its frame drawn,
// and the place it was drawn at committed.
void Step(Canvas& canvas, PlanetState& state, double delta);

}  // namespace dorvath
