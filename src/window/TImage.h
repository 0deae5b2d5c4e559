#pragma once

#include <QWidget>

#include "canvas/BitmapCanvas.h"

// The image control: a retained bitmap the handlers draw on, shown one to one from its
// top left corner. It repaints from the bitmap by itself and never calls back into the
// program, so covering, scrolling or resizing the window runs no handler.
class TImage final : public QWidget {
public:
    TImage(QWidget* owner, int width, int height);

    dorvath::BitmapCanvas& Canvas() { return canvas_; }
    const dorvath::BitmapCanvas& Canvas() const { return canvas_; }

    // Schedules a repaint of what the drawing since the last call changed, and only that.
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    dorvath::BitmapCanvas canvas_;
};
