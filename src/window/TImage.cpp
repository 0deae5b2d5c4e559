#include "window/TImage.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

TImage::TImage(QWidget* owner, int width, int height)
    : QWidget(owner), canvas_(width, height, dorvath::clWhite) {
    setFixedSize(width, height);
    // Every pixel comes from the bitmap; nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TImage::Changed() {
    const dorvath::TRect r = canvas_.TakeChangedRect();
    if (!r.IsEmpty())
        update(r.Left, r.Top, r.Width(), r.Height());
}

void TImage::paintEvent(QPaintEvent* event) {
    const dorvath::Bitmap& bitmap = canvas_.Pixels();
    // The bitmap already holds 0xFFRRGGBB words, which is what Format_RGB32 is: the
    // image only borrows the pixels, nothing is copied or converted.
    const QImage image(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(),
                       bitmap.Height(), bitmap.BytesPerLine(), QImage::Format_RGB32);
    const QRect exposed = event->rect() & image.rect();
    QPainter painter(this);
    // On a high-density screen pixels are repeated, never blended: the picture stays sharp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(exposed.topLeft(), image, exposed);
}
