#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/LoadedMap.h"
#include "model/OverlaySet.h"
#include "platform/TextFile.h"

namespace talvo {

// Where layer Layer of Map is looked for, named layer code + MeshCode + ".e00": beside the file
// or the data file its kind says; "" for a kind without layers.
std::string OverlayFileName(const TLoadedMap& Map, int Layer);

// Reads into Overlays every layer of Layers that it has not loaded yet. A layer whose file is
// missing stays not loaded and is looked for again at the next picture.
void LoadOverlays(TOverlaySet& Overlays, const TLoadedMap& Map, const TLayerFlags& Layers);

// Reads layer Layer's file into its list; false when there is no such file. On a failure the
// list is left as it was before the call.
bool LoadOverlayFile(int Layer, TOverlaySet& Overlays, const TLoadedMap& Map);

// The arc sections of an ARC/INFO export file, appended to List. A failure is raised naming the
// file and the line.
void ReadOverlayText(TTextFile& File, std::vector<OverlayPoint>& List);

// The values of one line: split at blanks, control characters and commas; a value in double
// quotes may hold them; a sign right after a digit starts a new value, as fixed-width
// columns of negative numbers touch ("3.66E+01-8.45E+01" is two values).
std::vector<std::string> SplitE00Values(std::string_view Line);

} // namespace talvo
