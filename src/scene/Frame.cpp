#include "scene/Frame.h"

#include "scene/Scene.h"

namespace dorvath {

void Reset(Canvas& canvas, PlanetState& state) {
    state.ResetAngles();
    DrawAfresh(canvas, state);
}

void DrawAfresh(Canvas& canvas, const PlanetState& state) {
    canvas.Pen.Color = clWhite;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = state.BackColor;
    // The whole surface, not the window's size: a window smaller than the picture
    // would otherwise leave old planets standing in the start picture.
    canvas.Rectangle(0, 0, canvas.Width(), canvas.Height());
    // Drawn where the planet is now; the erase then falls on the same place.
    PlanetState shown = state;
    shown.CommitDrawn();
    DrawScene(canvas, shown);
}

void Step(Canvas& canvas, PlanetState& state, double delta) {
    state.AdvanceOrbit(delta);
    DrawScene(canvas, state);
    state.CommitDrawn();
}

}  // namespace dorvath
