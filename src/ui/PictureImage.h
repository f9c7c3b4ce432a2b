#pragma once

#include <QImage>

#include "platform/Bitmap.h"

namespace talvo {

// The picture as a Qt image, pixel for pixel.
QImage PictureImage(const TBitmap& Picture);

} // namespace talvo
