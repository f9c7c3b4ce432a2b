#pragma once

#include <cstdint>
#include <string>

#include "platform/Bitmap.h"

namespace talvo {

// Picture files at the picture's natural size. A file that cannot be written raises
// EInOutError "<Path> に書き込めません (reason)".

// Windows bitmap, 24 bits per pixel.
void WriteBmp(const TBitmap& Picture, const std::string& Path);
// Baseline colour JPEG at quality 90.
void WriteJpeg(const TBitmap& Picture, const std::string& Path);
// 8-bit RGB PNG.
void WritePng(const TBitmap& Picture, const std::string& Path);

// The format named by Path's extension, in any letter case: .bmp, .jpg or .jpeg, .png.
// Any other extension, or a picture larger than the format holds, raises ETalvoError.
void WritePicture(const TBitmap& Picture, const std::string& Path);

// A name ending in ".tif" or ".tiff", in any letter case: a GeoTIFF, which GDAL writes.
bool IsGeoTiffPath(const std::string& Path);

// Raises ETalvoError, before a picture of Width × Height pixels is drawn, when the format Path's
// extension names cannot hold it (JPEG: 65,500 pixels a side) or is not a picture format.
void CheckPictureSize(const std::string& Path, int64_t Width, int64_t Height);

// Whether the PNG file at Path is a picture of Width × Height pixels that decodes to its last
// pixel: a file cut short does not. The size is read from the header first, so that a picture of
// another size is never decoded.
bool PngDecodesWhole(const std::string& Path, int64_t Width, int64_t Height);

} // namespace talvo
