#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "import/FormatDriver.h"
#include "model/LoadedMap.h"

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
    std::string Crs;      // from gml:Envelope's srsName: "EPSG:6668", "EPSG:4612" or ""
    // The datum srsName names ("JGD2011", "JGD2000", "JGD2024"), or srsName as it is when Talvo
    // does not know it (Crs is then "").
    std::string Datum;
};

// The structure of the FG-GML DEM document Bytes, checked; File names it in messages. A grid
// over 64 MiB that the tuple list could not fill even half of is refused.
TFgGmlTile ReadFgGmlTile(std::string_view Bytes, const std::string& File);

// Raises, naming File, when FirstBytes cannot begin an XML document: after a byte-order mark and
// white space comes "<".
void RequireXmlStart(std::string_view FirstBytes, const std::string& File);

// Sets Map's header for a grid of Cols × Rows cells over the tile or tiles' bounds, and makes
// its grids.
void SetFgGmlHeader(const TFgGmlTile& Bounds, int32_t Cols, int32_t Rows, TLoadedMap& Map);
// The same without the grids, for a map whose cells are never held whole.
void SetFgGmlPlace(const TFgGmlTile& Bounds, int32_t Cols, int32_t Rows, TLoadedMap& Map);

// The namespace every FG-GML document declares, which tells a tile by its content.
inline constexpr std::string_view FgGmlNamespace = "http://fgd.gsi.go.jp/spec/2008/FGD_GMLSchema";

// An FG-GML DEM tile: named *.xml, or declaring the FG-GML namespace near its start.
bool IdentifyFgGml(const TFileStart& File);
// Opens an FG-GML DEM tile into Map as a load starts it; a bad file is raised.
TOpenedMap OpenFgGml(const std::string& Path, TLoadedMap Map, TProgress& Progress);
// The same, of a tile's document Bytes already read (Path names it).
TOpenedMap OpenFgGmlBytes(std::string_view Bytes, const std::string& Path, TLoadedMap Map,
                          TProgress& Progress);

} // namespace talvo
