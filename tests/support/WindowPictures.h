#pragma once

// Pictures taken of real widgets, as bitmaps to compare with our own. Header only: the
// support library itself has no Qt, and only the window tests include this.

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstring>

#include "canvas/Bitmap.h"

namespace dorvath::test {

inline Bitmap ToBitmap(const QImage& shot) {
    const QImage image = shot.convertToFormat(QImage::Format_RGB32);
    Bitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(bitmap.Row(y), image.constScanLine(y),
                    static_cast<std::size_t>(bitmap.BytesPerLine()));
    }
    return bitmap;
}

// What the widget paints when asked for all of itself.
inline Bitmap Painted(QWidget& widget) {
    return ToBitmap(widget.grab().toImage());
}

// What its window really shows in the widget's place, after all the partial repaints so
// far: the window's own surface, not a fresh painting.
inline Bitmap OnScreen(QWidget& widget) {
    QCoreApplication::processEvents();
    QWidget* top = widget.window();
    QWindow* window = top->windowHandle();
    const QPoint at = widget.mapTo(top, QPoint(0, 0));
    return ToBitmap(
        window->screen()
            ->grabWindow(window->winId(), at.x(), at.y(), widget.width(), widget.height())
            .toImage());
}

}  // namespace dorvath::test
