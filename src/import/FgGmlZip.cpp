// A zip of FG-GML DEM tiles, as they are downloaded: every .xml entry is a tile (entries inside a
// zip within the zip are not read), and the tiles, all of one spacing, become one map over their
// bounding box. The north-west tile gives the cell size and the mesh code; every tile is placed at
// round((its edge − the map's edge) / cell), north at the top; where no tile lies there is no data.
// The entries are read through GDAL's /vsizip/, and what the archive declares they unpack to is
// checked before any is read, so a zip bomb is refused; so is a mosaic that its tiles would leave
// almost all empty.

#include "import/FgGmlZip.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "import/FgGmlReader.h"
#include "import/FgGmlTuples.h"
#include "import/FileBytes.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "import/ReadLimits.h"
#include "model/CrsName.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

struct TZipCloser {
    const TalvoGdalApi* Api;
    void operator()(TalvoGdalZip* Zip) const { Api->CloseZip(Zip); }
};

struct TZipEntryCloser {
    const TalvoGdalApi* Api;
    void operator()(TalvoGdalZipEntry* Entry) const { Api->CloseZipEntry(Entry); }
};

// A mosaic whose tiles cover less than this part of its grid is refused: two small tiles far
// apart would otherwise take a gigabyte of no data.
constexpr int64_t MinCoverPercent = 1;

struct TEntry {
    int64_t Index;
    std::string Name;
    uint64_t Size;
};

// A tile's entry: an .xml file that no .zip holds, nor the folder of file attributes that archives
// made on a Mac carry beside every file.
bool IsTileEntry(const std::string& Name) {
    const std::string Upper = UpperAscii(Name);
    return Upper.ends_with(".XML") && Upper.find(".ZIP/") == std::string::npos &&
           !Upper.starts_with("__MACOSX/");
}

// The tile entries, whose declared sizes together stay within the unpacking limit.
std::vector<TEntry> TileEntries(const TalvoGdalApi& Gdal, const TalvoGdalZip& Zip,
                                const std::string& Path) {
    std::vector<TEntry> Entries;
    uint64_t Total = 0;
    for (int64_t Index = 0; Index < Gdal.ZipEntryCount(&Zip); ++Index) {
        TEntry Entry{Index, Gdal.ZipEntryName(&Zip, Index), Gdal.ZipEntrySize(&Zip, Index)};
        if (!IsTileEntry(Entry.Name)) {
            continue;
        }
        Total += std::min(Entry.Size, MaxUnpackedBytes + 1);
        if (Total > MaxUnpackedBytes) {
            throw Placed(
                ETalvoError(Text(TText::ZipBomb, {std::to_string(MaxUnpackedBytes >> 30)})), Path);
        }
        Entries.push_back(std::move(Entry));
    }
    if (Entries.empty()) {
        throw Placed(ETalvoError(Text(TText::ZipNoTile)), Path);
    }
    return Entries;
}

struct TTile {
    TFgGmlTile Header;
    std::string File;
    TFgGmlCells Cells;
};

double CellLat(const TFgGmlTile& Tile) {
    return (Tile.North - Tile.South) / Tile.Rows;
}

double CellLon(const TFgGmlTile& Tile) {
    return (Tile.East - Tile.West) / Tile.Cols;
}

// The tile north of all others, and of those the westernmost.
const TTile& NorthWest(const std::vector<TTile>& Tiles) {
    return *std::min_element(Tiles.begin(), Tiles.end(), [](const TTile& A, const TTile& B) {
        return A.Header.North != B.Header.North ? A.Header.North > B.Header.North
                                                : A.Header.West < B.Header.West;
    });
}

// Tiles of one spacing, each mesh once.
void CheckTilesAgree(const std::vector<TTile>& Tiles, const TTile& Corner) {
    const double Lat = CellLat(Corner.Header);
    const double Lon = CellLon(Corner.Header);
    std::map<std::string, const TTile*> Meshes;
    for (const TTile& Tile : Tiles) {
        const TFgGmlTile& H = Tile.Header;
        if (H.Crs != Corner.Header.Crs) {
            // A datum changes where a tile lies by up to 400 m: tiles of two are no one map.
            throw Placed(ETalvoError(Text(TText::ZipDatums, {CrsName(Corner.Header.Crs),
                                                             Corner.File, CrsName(H.Crs)})),
                         Tile.File);
        }
        if (H.CellSpacing != Corner.Header.CellSpacing || std::abs(CellLat(H) - Lat) > Lat / 1000 ||
            std::abs(CellLon(H) - Lon) > Lon / 1000) {
            throw Placed(ETalvoError(Text(TText::ZipSpacings, {Corner.File})), Tile.File);
        }
        if (!H.Mesh.empty()) {
            auto [Earlier, New] = Meshes.emplace(H.Mesh, &Tile);
            if (!New) {
                throw Placed(
                    ETalvoError(Text(TText::ZipMeshTwice, {H.Mesh, Earlier->second->File})),
                    Tile.File);
            }
        }
    }
}

// The two tiles farthest apart, by their centres (in cells, at Places): two points of the centres'
// convex hull, which is all that needs comparing.
template <typename TPlace>
std::pair<size_t, size_t> FarthestApart(const std::vector<TTile>& Tiles,
                                        const std::vector<TPlace>& Places) {
    struct TCentre {
        double X, Y;
        size_t Tile;
    };
    std::vector<TCentre> Centres;
    for (size_t T = 0; T < Tiles.size(); ++T) {
        Centres.push_back({static_cast<double>(Places[T].Col) + Tiles[T].Header.Cols / 2.0,
                           static_cast<double>(Places[T].Row) + Tiles[T].Header.Rows / 2.0, T});
    }
    std::sort(Centres.begin(), Centres.end(), [](const TCentre& A, const TCentre& B) {
        return std::tie(A.X, A.Y) < std::tie(B.X, B.Y);
    });
    auto Turn = [](const TCentre& O, const TCentre& A, const TCentre& B) {
        return (A.X - O.X) * (B.Y - O.Y) - (A.Y - O.Y) * (B.X - O.X);
    };
    // Andrew's monotone chain: the lower hull, then the upper.
    std::vector<TCentre> Hull;
    for (int Pass = 0; Pass < 2; ++Pass) {
        const size_t Base = Hull.size();
        for (const TCentre& Centre : Centres) {
            while (Hull.size() >= Base + 2 &&
                   Turn(Hull[Hull.size() - 2], Hull.back(), Centre) <= 0) {
                Hull.pop_back();
            }
            Hull.push_back(Centre);
        }
        Hull.pop_back();
        std::reverse(Centres.begin(), Centres.end());
    }
    std::pair<size_t, size_t> Farthest{Centres.front().Tile, Centres.back().Tile};
    double Longest = -1.0;
    for (size_t A = 0; A < Hull.size(); ++A) {
        for (size_t B = A + 1; B < Hull.size(); ++B) {
            const double Length = std::hypot(Hull[A].X - Hull[B].X, Hull[A].Y - Hull[B].Y);
            if (Length > Longest) {
                Longest = Length;
                Farthest = {Hull[A].Tile, Hull[B].Tile};
            }
        }
    }
    return Farthest;
}

// Lays Tiles into Map over their bounding box.
void Mosaic(const std::vector<TTile>& Tiles, const std::string& Path, TLoadedMap& Map) {
    const TTile& Corner = NorthWest(Tiles);
    CheckTilesAgree(Tiles, Corner);
    const double Lat = CellLat(Corner.Header);
    const double Lon = CellLon(Corner.Header);
    TFgGmlTile Bounds = Corner.Header;
    for (const TTile& Tile : Tiles) {
        Bounds.West = std::min(Bounds.West, Tile.Header.West);
    }
    // Offsets and sizes in doubles first: tiles far apart must be refused, not wrapped around.
    struct TPlace {
        int64_t Col, Row;
    };
    std::vector<TPlace> Places;
    double Cols = 0.0;
    double Rows = 0.0;
    for (const TTile& Tile : Tiles) {
        const double Col = std::round((Tile.Header.West - Bounds.West) / Lon);
        const double Row = std::round((Bounds.North - Tile.Header.North) / Lat);
        Cols = std::max(Cols, Col + Tile.Header.Cols);
        Rows = std::max(Rows, Row + Tile.Header.Rows);
        if (!(Cols * Rows <= static_cast<double>(MaxGridCells))) {
            throw Placed(ETalvoError(Text(TText::ZipSpanTooLarge, {std::to_string(MaxGridCells)})),
                         Path);
        }
        Places.push_back({static_cast<int64_t>(Col), static_cast<int64_t>(Row)});
    }
    int64_t Covered = 0;
    for (const TTile& Tile : Tiles) {
        Covered += int64_t{Tile.Header.Cols} * Tile.Header.Rows;
    }
    if (Covered * 100 < static_cast<int64_t>(Cols * Rows) * MinCoverPercent) {
        const auto [First, Second] = FarthestApart(Tiles, Places);
        throw Placed(ETalvoError(Text(TText::ZipSparse, {Tiles[First].File, Tiles[Second].File})),
                     Path);
    }
    // The map's south and east edges are those of its cells, whatever the tiles' corners rounded.
    Bounds.East = Bounds.West + Cols * Lon;
    Bounds.South = Bounds.North - Rows * Lat;
    SetFgGmlHeader(Bounds, static_cast<int32_t>(Cols), static_cast<int32_t>(Rows), Map);
    TNum_HeaderRec& H = Map.NumHeader;
    H.DataFileName = Path;
    for (int32_t Row = 0; Row < H.Pts_NS; ++Row) {
        std::fill_n(HeightRow(Map, Row), H.Pts_WE, NoDataHeight);
    }
    for (size_t T = 0; T < Tiles.size(); ++T) {
        PlaceFgGmlCells(Tiles[T].Header, Tiles[T].Cells, static_cast<int32_t>(Places[T].Row),
                        static_cast<int32_t>(Places[T].Col), Map);
    }
    Map.RowsRead = H.Pts_NS;
}

// Entry's bytes, read in pieces, the first of which must begin an XML document: an entry of
// anything else ends after its first piece. Memory is taken as bytes come, not as the archive
// declares them.
TFileBytes ReadTileEntry(const TalvoGdalApi& Gdal, TalvoGdalZip& Zip, const TEntry& Entry,
                         const std::string& File) {
    TalvoGdalFailure Failure{};
    const std::unique_ptr<TalvoGdalZipEntry, TZipEntryCloser> Opened(
        Gdal.OpenZipEntry(&Zip, Entry.Index, &Failure), TZipEntryCloser{&Gdal});
    if (!Opened) {
        throw Placed(ETalvoError(GdalFailureText(Failure)), File);
    }
    TFileBytes Bytes;
    while (true) {
        // One byte beyond the declared size, to find an entry that unpacks to more.
        char Beyond = 0;
        const uint64_t Want = Bytes.Size < Entry.Size
                                  ? std::min<uint64_t>(Entry.Size - Bytes.Size, FilePieceBytes)
                                  : 1;
        if (Bytes.Size < Entry.Size) {
            ReserveFileBytes(Bytes, Bytes.Size + Want);
        }
        char* To = Bytes.Size < Entry.Size ? Bytes.Data.get() + Bytes.Size : &Beyond;
        const int64_t Got = Gdal.ReadZipEntry(Opened.get(), To, Want, &Failure);
        if (Got < 0) {
            throw Placed(ETalvoError(GdalFailureText(Failure)), File);
        }
        if (To == &Beyond ? Got != 0 : Got == 0) {
            throw Placed(ETalvoError(Text(TText::ZipEntrySize)), File);
        }
        if (To == &Beyond) {
            break;
        }
        if (Bytes.Size == 0) {
            RequireXmlStart(std::string_view(To, static_cast<size_t>(Got)), File);
        }
        Bytes.Size += static_cast<uint64_t>(Got);
    }
    return Bytes;
}

} // namespace

bool IdentifyFgGmlZip(const TFileStart& File) {
    return File.UpperExt == ".ZIP" || File.Bytes.starts_with(std::string_view("PK\x03\x04", 4));
}

TOpenedMap OpenFgGmlZip(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    RequireReadableFile(Path);
    const TalvoGdalApi& Gdal = GdalModule();
    TalvoGdalFailure Failure{};
    const std::unique_ptr<TalvoGdalZip, TZipCloser> Zip(Gdal.OpenZip(Path.c_str(), &Failure),
                                                        TZipCloser{&Gdal});
    if (!Zip) {
        throw Placed(ETalvoError(GdalFailureText(Failure)), Path);
    }
    std::vector<TTile> Tiles;
    int64_t Cells = 0;
    const std::vector<TEntry> Entries = TileEntries(Gdal, *Zip, Path);
    Progress.Start(static_cast<int64_t>(Entries.size()));
    for (const TEntry& Entry : Entries) {
        Progress.StopIfCancelled();
        TTile& Tile = Tiles.emplace_back();
        Tile.File = Path + "/" + Entry.Name;
        const TFileBytes Bytes = ReadTileEntry(Gdal, *Zip, Entry, Tile.File);
        Tile.Header = ReadFgGmlTile(Bytes.View(), Tile.File);
        Cells += int64_t{Tile.Header.Cols} * Tile.Header.Rows;
        if (Cells > MaxGridCells) {
            throw Placed(ETalvoError(Text(TText::ZipCellsTooMany, {std::to_string(MaxGridCells)})),
                         Path);
        }
        Tile.Cells = ReadFgGmlTuples(Tile.Header, Bytes.View(), Tile.File, Progress);
        Progress.Advance(1);
    }
    Mosaic(Tiles, Path, Map);
    return {TOpenOutcome::Loaded, std::move(Map), {}};
}

} // namespace talvo
