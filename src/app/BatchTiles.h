#pragma once

#include <string>
#include <vector>

namespace talvo {

// One output of a batch: a map file, or one DEM tile of a zip.
struct TBatchTile {
    std::string Input;   // the tile, absolute: "/data/a.zip/TILE.xml" for a zip's; one per tile
    std::string Source;  // the file opened: the map file, or the zip
    std::string Entry;   // the tile's path in the zip ("TILE.xml", "INNER.zip/TILE.xml"); "" for a
                         // map file
    std::string Output;  // absolute
    std::string Failure; // why the tile cannot be done; "" when it can
};

// The map files of Inputs: files as given, and the files of folders, searched through for the
// formats Talvo reads. LeftOut (a batch's output folder and manifest, a mosaic's output) are never
// taken from a folder, known by device and inode however they are named. Files are absolute, each
// once, sorted. An entry whose kind cannot be told (a loop of symbolic links) is skipped, and told
// in Skipped, one line each; a folder that cannot be searched through is raised.
struct TMapFileSearch {
    std::vector<std::string> Files;
    std::vector<std::string> Skipped;
};
TMapFileSearch SearchMapFiles(const std::vector<std::string>& Inputs,
                              const std::vector<std::string>& LeftOut = {});

// The tiles of Inputs: map files; folders, searched through for the formats Talvo reads (the
// output folder and LeftOut left out); zips, one tile per DEM entry, those of the zips inside
// included. Each once, sorted by Input, so that the same inputs give the same list in any order. A
// zip's tile goes to OutDir/ZIP/TILE + Extension (OutDir/ZIP/INNER/TILE from a zip inside), a map
// file or a zip of one raster to OutDir/NAME + Extension (without the file's own extension, unless
// another such file would take the same name: then with it, as jacksboro.bil.tif beside
// jacksboro.tif.tif); a name that would climb out of OutDir ("", ".", "..") is "_". A zip that
// cannot be listed, an output that a tile sorted earlier already has and an output that does not
// lie under OutDir are tiles with their Failure.
struct TBatchList {
    std::vector<TBatchTile> Tiles;
    std::vector<std::string> Skipped; // as SearchMapFiles tells them
};
TBatchList ListBatchTiles(const std::vector<std::string>& Inputs, const std::string& OutDir,
                          const std::string& Extension,
                          const std::vector<std::string>& LeftOut = {});

// Part Index (from 1) of Count disjoint parts of Tiles: every Count-th tile of the sorted list,
// which splits any set evenly.
struct TShard {
    int Index = 1;
    int Count = 1;
};
std::vector<TBatchTile> ShardOf(const std::vector<TBatchTile>& Tiles, TShard Shard);

} // namespace talvo
