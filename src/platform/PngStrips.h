#pragma once

#include <cstdio>

#include "platform/Bitmap.h"

namespace talvo {

// Writes Picture to File as an 8-bit RGB PNG, filtered and compressed in strips of rows on every
// core at once. The strips make one zlib stream, cut at flush points between them (as parallel
// gzip does), each strip compressed with the 32 KiB of filtered rows before it as its dictionary,
// so the file is nearly as small as one written by a single stream. Returns false when a write
// fails (errno tells why) or memory runs out.
bool WritePngStrips(std::FILE* File, const TBitmap& Picture);

} // namespace talvo
