#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/FileBytes.h"
#include "import/FormatDriver.h"
#include "import/ZipArchive.h"
#include "model/LoadedMap.h"
#include "platform/Progress.h"

namespace talvo {

// A DEM tile in a zip, or in a zip inside it (GSI's bulk download packs the zips of its meshes).
struct TZipTile {
    std::string Name;      // its path inside the outer zip: "TILE.xml", or "INNER.zip/TILE.xml"
    int Inner = -1;        // which zip inside holds it; -1 for the outer zip itself
    std::string InnerName; // that zip's path inside the outer one; "" for the outer zip itself
    TZipEntry Entry;       // its entry in the zip that holds it
};

// The FG-GML DEM tiles of a zip: its .xml entries, and those of the zips inside it (one level:
// zips inside those are not read). What the entries declare they unpack to is checked against
// the unpacking limit before any is read: the outer zip's tiles and zips first, then each inner
// zip's tiles as it is listed, all of them together. An inner zip is read into memory to be listed
// and read. Raises, naming "ZIP" or "ZIP/INNER", for an archive that cannot be read.
class TZipTiles {
  public:
    // Every tile of the zip at Path; with Only, just the tile of that name, and only the inner zip
    // that may hold it is read.
    explicit TZipTiles(const std::string& Path, const std::optional<std::string>& Only = {});

    const std::vector<TZipTile>& Tiles() const { return Found; }
    const TZipArchive& Archive() const { return Outer; }
    // Tile's bytes; the first piece must begin an XML document.
    TFileBytes Read(const TZipTile& Tile);
    // "ZIP/TILE" or "ZIP/INNER/TILE", as messages and manifests name a tile.
    std::string TilePath(const TZipTile& Tile) const { return Outer.Where() + "/" + Tile.Name; }

  private:
    TZipArchive Outer;
    std::vector<TZipEntry> Inners;
    std::vector<TZipTile> Found;
    uint64_t Declared = 0; // what the tiles and inner zips listed so far unpack to
    int OpenInner = -1;    // the inner zip held open for reading, as Inners' index
    std::unique_ptr<TZipArchive> Opened;

    // Adds an entry of In to what the pack unpacks to, refusing it beyond the limit.
    void Count(uint64_t Size, const TZipArchive& In);
    TZipArchive& InnerArchive(int Inner);
};

// Opens the tile Name ("TILE.xml" or "INNER.zip/TILE.xml") of the zip at ZipPath as a map of its
// own, as OpenMap opens a tile file: the map's file is the zip (overlays and outputs are judged
// beside it), messages name "ZIP/TILE", and a tile the zip does not hold is raised.
TOpenedMap OpenZipTile(const std::string& ZipPath, const std::string& Name, TProgress& Progress);

} // namespace talvo
