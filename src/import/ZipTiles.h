#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "import/FileBytes.h"
#include "import/FormatDriver.h"
#include "model/LoadedMap.h"
#include "platform/Progress.h"

struct TalvoGdalApi;
struct TalvoGdalZip;

namespace talvo {

// A DEM tile inside a zip: an .xml entry that no zip within the zip holds.
struct TZipTileEntry {
    int64_t Index = 0;
    std::string Name;  // the entry's path inside the archive
    uint64_t Size = 0; // unpacked, as the archive declares it
};

// A zip of FG-GML DEM tiles, open through the GDAL module. Its tile entries are listed when it
// opens, and what they declare they unpack to together is checked first, so a zip bomb is
// refused before any is read. Raises, naming the file, when GDAL is missing or the archive cannot
// be read.
class TZipTiles {
  public:
    explicit TZipTiles(const std::string& Path);
    ~TZipTiles();
    TZipTiles(const TZipTiles&) = delete;
    TZipTiles& operator=(const TZipTiles&) = delete;

    const std::vector<TZipTileEntry>& Tiles() const { return Entries; }
    // Entry's bytes, read in pieces, the first of which must begin an XML document; File names
    // the tile in messages. Memory is taken as bytes come, not as the archive declares them.
    TFileBytes Read(const TZipTileEntry& Entry, const std::string& File);

  private:
    const TalvoGdalApi& Gdal;
    TalvoGdalZip* Zip;
    std::vector<TZipTileEntry> Entries;
};

// The name a tile of a zip is known by in messages and manifests: "ZIP/ENTRY".
std::string ZipTilePath(const std::string& ZipPath, const std::string& EntryName);

// Opens the tile EntryName of the zip at ZipPath as a map of its own, as OpenMap opens a tile
// file: the map's file is the zip (overlays and outputs are judged beside it), messages name
// "ZIP/ENTRY", and a tile the zip does not hold is raised.
TOpenedMap OpenZipTile(const std::string& ZipPath, const std::string& EntryName,
                       TProgress& Progress);

} // namespace talvo
