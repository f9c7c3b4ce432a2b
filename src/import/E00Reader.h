#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/MapState.h"
#include "platform/TextFile.h"

namespace talvo {

// Where layer Layer of the loaded map is looked for: beside the raster's data file (a
// numeric map: beside the map file), named layer code + MeshCode + ".e00".
std::string OverlayFileName(const MapState& Map, int Layer);

// Reads every layer of Layers that is not loaded yet. A layer whose file is missing stays not
// loaded and is looked for again at the next picture. A GDAL raster has no layers.
void LoadOverlays(MapState& Map, const TLayerFlags& Layers);

// Reads layer Layer's file into its list; false when there is no such file. On a failure the
// list is left as it was before the call.
bool LoadOverlayFile(int Layer, MapState& Map);

// The arc sections of an ARC/INFO export file, appended to List. A failure is raised naming the
// file and the line.
void ReadOverlayText(TTextFile& File, std::vector<OverlayPoint>& List);

// The values of one line: split at blanks, control characters and commas; a value in double
// quotes may hold them; a sign right after a digit starts a new value, as fixed-width
// columns of negative numbers touch ("3.66E+01-8.45E+01" is two values).
std::vector<std::string> SplitE00Values(std::string_view Line);

} // namespace talvo
