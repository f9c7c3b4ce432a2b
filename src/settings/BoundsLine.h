#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// A window's placement as stored: state (0 normal, 1 minimised, 2 maximised), the minimised
// and maximised positions (-1 where the platform has none) and the normal bounds.
struct TWindowBounds {
    int State = 0;
    int MinX = -1;
    int MinY = -1;
    int MaxX = -1;
    int MaxY = -1;
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// "state,minx,miny,maxx,maxy,left,top,right,bottom".
std::string FormatBounds(const TWindowBounds& Bounds);

// A stored line over the current placement: nothing unless it holds exactly nine items
// (split at commas, blanks and control characters; quoted items kept whole); an item that is
// no integer keeps the current value.
std::optional<TWindowBounds> ParseBounds(std::string_view Line, const TWindowBounds& Current);

} // namespace talvo
