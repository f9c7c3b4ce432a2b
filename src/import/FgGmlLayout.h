#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "import/FgGmlReader.h"

namespace talvo {

// A tile of a mosaic: its structure, and its file as messages name it.
struct TMosaicTile {
    TFgGmlTile Header;
    std::string File;
};

// Where a tile's north-west cell lies in the mosaic's grid.
struct TMosaicPlace {
    int64_t Col = 0;
    int64_t Row = 0;
};

// The grid tiles are laid on: its bounds (and the datum, mesh code and spacing of its north-west
// tile), its size, and each tile's place in it.
struct TMosaicLayout {
    TFgGmlTile Bounds;
    int32_t Cols = 0;
    int32_t Rows = 0;
    std::vector<TMosaicPlace> Places;
};

// Lays Tiles (of one datum and one spacing, else raised) over their bounding box, north at the
// top: the north-west tile gives the cell size and the mesh code, and every tile lies at
// round((its edge − the map's edge) / cell). With Bounded, a grid of more than MaxGridCells, or
// one its tiles would leave almost all empty, is raised naming Path; without it, only a grid
// beyond 32-bit columns or rows is.
TMosaicLayout LayOutMosaic(const std::vector<TMosaicTile>& Tiles, const std::string& Path,
                           bool Bounded);

// The newest tile of each mesh, by the date GSI ends a republished tile's name with; the older
// ones are set aside and counted.
class TNewestTiles {
  public:
    // Where the tile File of Mesh goes among the Kept tiles so far: Kept for a new one, the place
    // of the older tile of its mesh it replaces, or nothing when a newer one is kept. A mesh
    // given twice with one date is raised.
    std::optional<size_t> Place(const std::string& Mesh, const std::string& File, size_t Kept);
    int64_t SetAside() const { return Older; }

  private:
    std::map<std::pair<std::string, std::string>, std::string> Versions; // (mesh, date) → file
    std::map<std::string, std::pair<size_t, std::string>> Newest;        // mesh → (place, date)
    int64_t Older = 0;
};

} // namespace talvo
