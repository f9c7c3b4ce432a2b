#pragma once

#include <string>

#include "platform/Bitmap.h"

namespace talvo {

// Picture files at the picture's natural size. A file that cannot be written raises
// EInOutError "<Path> に書き込めません".

// Windows bitmap, 24 bits per pixel.
void WriteBmp(const TBitmap& Picture, const std::string& Path);
// Baseline colour JPEG at quality 90.
void WriteJpeg(const TBitmap& Picture, const std::string& Path);
// 8-bit RGB PNG.
void WritePng(const TBitmap& Picture, const std::string& Path);

// The format named by Path's extension, in any letter case: .bmp, .jpg or .jpeg, .png.
// Any other extension raises ETalvoError.
void WritePicture(const TBitmap& Picture, const std::string& Path);

} // namespace talvo
