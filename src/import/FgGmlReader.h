#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "import/OpenedMap.h"
#include "model/MapState.h"

namespace talvo {

// What the structure of one FG-GML DEM document says, and where its tuple list lies.
struct TFgGmlTile {
    std::string Mesh;        // <mesh>
    int32_t CellSpacing = 0; // tenths of a metre, from <type>; 0 when it names no spacing
    double South = 0.0;      // gml:lowerCorner and gml:upperCorner, degrees
    double West = 0.0;
    double North = 0.0;
    double East = 0.0;
    int32_t Cols = 0; // gml:GridEnvelope
    int32_t Rows = 0;
    int64_t StartIndex = 0; // gml:startPoint as a cell index
    size_t ListBegin = 0;   // the bytes between gml:tupleList's tags
    size_t ListEnd = 0;
    int64_t ListLine = 1; // the line ListBegin lies on
};

// The structure of the FG-GML DEM document Bytes, checked; File names it in messages. A grid
// over 64 MiB that the tuple list could not fill even half of is refused.
TFgGmlTile ReadFgGmlTile(std::string_view Bytes, const std::string& File);

// Raises, naming File, when FirstBytes cannot begin an XML document: after a byte-order mark and
// white space comes "<".
void RequireXmlStart(std::string_view FirstBytes, const std::string& File);

// Sets Map's header for a grid of Cols × Rows cells over the tile or tiles' bounds.
void SetFgGmlHeader(const TFgGmlTile& Bounds, int32_t Cols, int32_t Rows, MapState& Map);

// Opens an FG-GML DEM tile (*.xml) into Map as a load starts it; a bad file is raised.
TOpenedMap OpenFgGml(const std::string& Path, MapState Map);

} // namespace talvo
