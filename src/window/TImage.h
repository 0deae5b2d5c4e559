#pragma once

#include <QWidget>
#include <functional>

#include "canvas/BitmapCanvas.h"

// The image control: a retained bitmap the handlers draw on, shown one to one from its
// top left corner. It repaints from the bitmap by itself and never calls back into the
// program's handlers, so covering, scrolling or resizing the window runs none.
//
// The bitmap holds the screen's own pixels: figures are drawn at the window's device
// pixel ratio, sharp on a dense screen. When that ratio changes (the window moved to
// another screen, the screen's scale changed) the bitmap is made anew at the new density
// and Redraw paints it.
class TImage final : public QWidget {
public:
    TImage(QWidget* owner, int width, int height);

    dorvath::BitmapCanvas& Canvas() { return canvas_; }
    const dorvath::BitmapCanvas& Canvas() const { return canvas_; }

    // Paints a new surface with what the old one held.
    std::function<void(dorvath::Canvas&)> Redraw;

    // Schedules a repaint of what the drawing since the last call changed, and only that.
    void Changed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Rebuilds the surface if the window's density is no longer the surface's.
    void FollowDensity();

    dorvath::BitmapCanvas canvas_;
};
