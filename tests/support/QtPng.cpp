#include <QImage>
#include <QString>

#include "support/Png.h"

namespace dorvath::test {

bool WritePng(const Bitmap& bitmap, const std::string& path) {
    // The bitmap's 0xFFRRGGBB words are Format_RGB32 as they stand: borrowed, not copied.
    const QImage image(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(),
                       bitmap.Height(), bitmap.BytesPerLine(), QImage::Format_RGB32);
    return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace dorvath::test
