#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/MapHost.h"
#include "model/MapState.h"
#include "platform/Bitmap.h"
#include "platform/TextFile.h"

namespace talvo {

// Layer codes, in the order of MapState's overlay lists and of the check boxes.
inline constexpr std::array<const char*, OverlayLayerCount> OverlayLayerCodes = {"ad", "rv", "lk",
                                                                                 "rd", "hw", "rw"};

// Where layer Layer of the loaded map is looked for: beside the raster's data file (a
// numeric map: beside the map file), named layer code + MeshCode + ".e00".
std::string OverlayFileName(const MapState& Map, int Layer);

// Reads every ticked layer that is not loaded yet. A layer whose file is missing stays not
// loaded and is looked for again at the next picture.
void LoadOverlays(MapState& Map, const TMapHost& Host);

// Reads layer Layer's file into its list; false when there is no such file. On a failure the
// list is left as it was before the call.
bool LoadOverlayFile(int Layer, MapState& Map);

// The arc sections of an ARC/INFO export file, appended to List. Name is the file's name for
// messages.
void ReadOverlayText(TTextFile& File, const std::string& Name, std::vector<OverlayPoint>& List);

// The values of one line: split at blanks, control characters and commas; a value in double
// quotes may hold them; a sign right after a digit starts a new value, as fixed-width
// columns of negative numbers touch ("3.66E+01-8.45E+01" is two values).
std::vector<std::string> SplitE00Values(std::string_view Line);

// Draws List's polylines on Picture in Colour: each vertex projected linearly from the map's
// corners onto its Pts_WE × Pts_NS pixels. A map whose corners enclose no area draws nothing.
void DrawOverlay(TBitmap& Picture, const std::vector<OverlayPoint>& List, int32_t Colour,
                 const MapState& Map);

// A numeric map's d.mmss corner value as decimal degrees (36.3023 is 36°30'23").
double DmsToDegrees(double Dms);

} // namespace talvo
