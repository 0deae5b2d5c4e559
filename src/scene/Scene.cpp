#include "scene/Scene.h"

#include <cmath>

#include "scene/Numeric.h"

namespace dorvath {

TPoint PlanetPosition(const PlanetState& state, double orbitAngle) {
    const SinCos sc = SinCosDegrees(orbitAngle);
    const long double r = state.OrbitRadius;
    return {state.CenterX + Round(r * sc.sin), state.CenterY - Round(r * sc.cos)};
}

void DrawPlanet(Canvas& canvas, std::int32_t x, std::int32_t y, double radius, bool lit,
                TColor backColor) {
    canvas.Pen.Color = lit ? clBlack : backColor;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = lit ? clYellow : backColor;
    const std::int32_t r = Trunc(static_cast<long double>(radius) + 0.5L);
    canvas.Ellipse(x - r, y - r, x + r, y + r);
}

void DrawNightSide(Canvas& canvas, std::int32_t x, std::int32_t y, double radius, double angle,
                   bool lit, TColor backColor) {
    canvas.Pen.Color = lit ? clBlack : backColor;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = lit ? clSilver : backColor;
    const SinCos sc = SinCosDegrees(angle);
    const long double len = radius;
    const std::int32_t r = Trunc(len + 0.5L);
    // Trunc, not Round: for negative values this moves toward zero, which decides
    // where the chord ends.
    const std::int32_t s = Trunc(len * sc.sin + 0.5L);
    const std::int32_t c = Trunc(len * sc.cos + 0.5L);
    canvas.Pie(x - r, y - r, x + r, y + r, x - s, y - c, x + s, y + c);
}

void DrawSpinMarker(Canvas& canvas, std::int32_t x, std::int32_t y, double length, double angle) {
    canvas.Pen.Color = clRed;
    const SinCos sc = SinCosDegrees(angle);
    const long double len = length;
    canvas.MoveTo(x, y);
    canvas.LineTo(x + Round(len * sc.sin), y - Round(len * sc.cos));
}

void DrawScene(Canvas& canvas, const PlanetState& state) {
    canvas.Brush.Style = TBrushStyle::bsSolid;

    const TPoint old = PlanetPosition(state, state.PrevOrbitAngle);
    DrawPlanet(canvas, old.X, old.Y, state.PlanetRadius, false, state.BackColor);
    DrawNightSide(canvas, old.X, old.Y, state.PlanetRadius, 270.0 - state.PrevOrbitAngle, false,
                  state.BackColor);

    canvas.Pen.Color = clBlack;
    canvas.Brush.Color = clYellow;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    const std::int32_t s = Round(static_cast<long double>(state.PlanetRadius));
    canvas.Ellipse(state.CenterX - s, state.CenterY - s, state.CenterX + s, state.CenterY + s);

    // The axes and the orbit repaint whatever the erase above wiped of them.
    canvas.Pen.Color = clBlue;
    canvas.MoveTo(0, state.CenterY);
    canvas.LineTo(canvas.Width(), state.CenterY);
    canvas.MoveTo(state.CenterX, 0);
    canvas.LineTo(state.CenterX, canvas.Height());

    canvas.Brush.Style = TBrushStyle::bsClear;
    const std::int32_t o = Round(static_cast<long double>(state.OrbitRadius));
    canvas.Ellipse(state.CenterX - o, state.CenterY - o, state.CenterX + o, state.CenterY + o);
    canvas.Brush.Style = TBrushStyle::bsSolid;

    const TPoint now = PlanetPosition(state, state.OrbitAngle);
    DrawPlanet(canvas, now.X, now.Y, state.PlanetRadius, true, state.BackColor);
    DrawNightSide(canvas, now.X, now.Y, state.PlanetRadius, 270.0 - state.OrbitAngle, true,
                  state.BackColor);
    DrawSpinMarker(canvas, now.X, now.Y, state.PlanetRadius, state.SpinAngle);
}

}  // namespace dorvath
