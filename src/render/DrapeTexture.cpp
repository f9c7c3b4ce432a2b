#include "render/DrapeTexture.h"

#include <algorithm>

namespace talvo {

TBitmap DrapeTexture(const TBitmap& Picture, const TLoadedMap& Map, const TRegion& Region) {
    TBitmap Texture(Region.SizeX, Region.SizeY, TBitmap::TStart::White);
    for (int32_t R = 0; R < Region.SizeY; ++R) {
        const int32_t Row = Region.StartY + R;
        if (Row < 0 || Row >= Map.NumData.RowLineGrid.Cols()) {
            continue;
        }
        const int32_t Line = Map.NumData.RowLineGrid.GetVal(0, Row) - 1;
        if (Line < 0 || Line >= Picture.Height()) {
            continue;
        }
        const int32_t First = std::clamp(Region.StartX, 0, Picture.Width());
        const int32_t Last = std::clamp(Region.StartX + Region.SizeX, 0, Picture.Width());
        std::copy(Picture.Row(Line) + First, Picture.Row(Line) + Last,
                  Texture.Row(R) + (First - Region.StartX));
    }
    return Texture;
}

} // namespace talvo
