#include "window/TImage.h"

#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

dorvath::DeviceScale ScaleOf(const QWidget& widget) {
    return dorvath::DeviceScale::FromRatio(widget.devicePixelRatioF());
}

}  // namespace

TImage::TImage(QWidget* owner, int width, int height)
    : QWidget(owner), canvas_(width, height, dorvath::clWhite, ScaleOf(*this)) {
    setFixedSize(width, height);
    // Every pixel comes from the bitmap; nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TImage::Changed() {
    const dorvath::TRect r = canvas_.Scale().ToLogicalOutward(canvas_.TakeChangedRect());
    if (!r.IsEmpty())
        update(r.Left, r.Top, r.Width(), r.Height());
}

void TImage::FollowDensity() {
    const dorvath::DeviceScale scale = ScaleOf(*this);
    if (scale == canvas_.Scale())
        return;
    canvas_ = dorvath::BitmapCanvas(canvas_.Width(), canvas_.Height(), dorvath::clWhite, scale);
    if (Redraw)
        Redraw(canvas_);
    canvas_.TakeChangedRect();  // all of it is new: the whole widget repaints
    update();
}

bool TImage::event(QEvent* event) {
    // Qt tells widgets of a new screen this way; a new scale of the same screen shows in
    // the next paint, which checks too.
    if (event->type() == QEvent::ScreenChangeInternal)
        FollowDensity();
    return QWidget::event(event);
}

void TImage::paintEvent(QPaintEvent* event) {
    FollowDensity();
    const dorvath::Bitmap& bitmap = canvas_.Pixels();
    // The bitmap already holds 0xFFRRGGBB words, which is what Format_RGB32 is: the
    // image only borrows the pixels, nothing is copied or converted.
    QImage image(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                 bitmap.BytesPerLine(), QImage::Format_RGB32);
    // Its pixels are the screen's: drawn one to one, never scaled or blended.
    const double ratio = static_cast<double>(bitmap.Width()) / std::max(width(), 1);
    image.setDevicePixelRatio(ratio);
    const QRect exposed = event->rect() & rect();
    const QRect source(
        QPoint(static_cast<int>(exposed.left() * ratio), static_cast<int>(exposed.top() * ratio)),
        QPoint(static_cast<int>((exposed.right() + 1) * ratio + 0.999) - 1,
               static_cast<int>((exposed.bottom() + 1) * ratio + 0.999) - 1));
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(source.left() / ratio, source.top() / ratio, source.width() / ratio,
                             source.height() / ratio),
                      image, source & image.rect());
}
