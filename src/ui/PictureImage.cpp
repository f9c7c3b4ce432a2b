#include "ui/PictureImage.h"

namespace talvo {

QImage PictureImage(const TBitmap& Picture) {
    QImage Image(Picture.Width(), Picture.Height(), QImage::Format_RGB32);
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        const int32_t* Pixels = Picture.Row(Y);
        auto* Out = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int32_t X = 0; X < Picture.Width(); ++X) {
            // Colour values hold red in the low byte; Qt wants it above green.
            Out[X] = qRgb(Pixels[X] & 0xFF, (Pixels[X] >> 8) & 0xFF, (Pixels[X] >> 16) & 0xFF);
        }
    }
    return Image;
}

} // namespace talvo
