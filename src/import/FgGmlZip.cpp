// A zip of FG-GML DEM tiles, as they are downloaded: every .xml entry is a tile, and so is every
// .xml entry of the zips inside it (GSI's bulk packs), and the tiles, all of one spacing, become
// one map over their bounding box. The north-west tile gives the cell size and the mesh code;
// every tile is placed at round((its edge − the map's edge) / cell), north at the top; where no
// tile lies there is no data. A mesh GSI republished is laid from its newest date; the older tiles
// are set aside and counted. What the archive declares its entries unpack to is checked before
// any is read, so a zip bomb is refused; so is a mosaic that its tiles would leave almost all
// empty. A zip without a tile but with one raster opens as that raster.

#include "import/FgGmlZip.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "import/FgGmlReader.h"
#include "import/FgGmlTuples.h"
#include "import/FileBytes.h"
#include "import/OpenMap.h"
#include "import/PathParts.h"
#include "import/ReadLimits.h"
#include "import/ZipTiles.h"
#include "import/ZippedRaster.h"
#include "model/CrsName.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// A mosaic whose tiles cover less than this part of its grid is refused: two small tiles far
// apart would otherwise take a gigabyte of no data.
constexpr int64_t MinCoverPercent = 1;

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

// The datum a tile is in, as a message names it: never blank.
std::string DatumText(const TFgGmlTile& Tile) {
    if (!Tile.Crs.empty()) {
        return CrsName(Tile.Crs, Tile.Datum);
    }
    return Tile.Datum.empty() ? Text(TText::DatumUnnamed) : Printable(Tile.Datum);
}

// Tiles of one horizontal datum and one spacing.
void CheckTilesAgree(const std::vector<TTile>& Tiles, const TTile& Corner) {
    const double Lat = CellLat(Corner.Header);
    const double Lon = CellLon(Corner.Header);
    for (const TTile& Tile : Tiles) {
        const TFgGmlTile& H = Tile.Header;
        if (H.Crs != Corner.Header.Crs || (H.Crs.empty() && H.Datum != Corner.Header.Datum)) {
            // A datum changes where a tile lies by up to 400 m: tiles of two are no one map.
            throw Placed(ETalvoError(Text(TText::ZipDatums,
                                          {DatumText(Corner.Header), Corner.File, DatumText(H)})),
                         Tile.File);
        }
        if (H.CellSpacing != Corner.Header.CellSpacing || std::abs(CellLat(H) - Lat) > Lat / 1000 ||
            std::abs(CellLon(H) - Lon) > Lon / 1000) {
            throw Placed(ETalvoError(Text(TText::ZipSpacings, {Corner.File})), Tile.File);
        }
    }
}

// The tiles' datum label when they share one; else none, and the code names the datum.
std::string CommonDatum(const std::vector<TTile>& Tiles) {
    for (const TTile& Tile : Tiles) {
        if (Tile.Header.Datum != Tiles.front().Header.Datum) {
            return "";
        }
    }
    return Tiles.front().Header.Datum;
}

// The date GSI ends a republished tile's name with ("…-DEM5A-20230101.xml"), which orders the
// versions of one mesh; "" for none, the oldest.
std::string VintageOf(const std::string& File) {
    std::string_view Name = FileNameOf(File);
    Name = Name.substr(0, Name.rfind('.'));
    constexpr size_t DateLength = 8;
    if (Name.size() <= DateLength || Name[Name.size() - DateLength - 1] != '-') {
        return "";
    }
    const std::string_view Date = Name.substr(Name.size() - DateLength);
    return std::all_of(Date.begin(), Date.end(), [](char C) { return C >= '0' && C <= '9'; })
               ? std::string(Date)
               : "";
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
    Bounds.Datum = CommonDatum(Tiles);
    SetFgGmlHeader(Bounds, static_cast<int32_t>(Cols), static_cast<int32_t>(Rows), Map);
    TNum_HeaderRec& H = Map.NumHeader;
    H.DataFileName = Path;
    for (int32_t Row = 0; Row < H.Rows; ++Row) {
        std::fill_n(HeightRow(Map, Row), H.Columns, NoDataHeight);
    }
    for (size_t T = 0; T < Tiles.size(); ++T) {
        PlaceFgGmlCells(Tiles[T].Header, Tiles[T].Cells, static_cast<int32_t>(Places[T].Row),
                        static_cast<int32_t>(Places[T].Col), Map);
    }
    Map.RowsRead = H.Rows;
}

// Tiles read one after another into one mosaic, the newest of each mesh kept.
class TMosaicReader {
  public:
    TMosaicReader(const std::string& Named, TProgress& Progress)
        : Named(Named), Progress(Progress) {}

    // Reads the tile File, whose bytes are Read's; a tile older than another of its mesh is set
    // aside, before its points are read.
    template <typename TRead> void Add(const std::string& File, TRead Read) {
        Progress.StopIfCancelled();
        const TFileBytes Bytes = Read();
        TTile Tile;
        Tile.File = File;
        Tile.Header = ReadFgGmlTile(Bytes.View(), File);
        const std::string Vintage = VintageOf(File);
        TTile* Replaced = nullptr;
        if (!Tile.Header.Mesh.empty()) {
            const auto [Seen, New] =
                Versions.emplace(std::make_pair(Tile.Header.Mesh, Vintage), File);
            if (!New) {
                throw Placed(
                    ETalvoError(Text(TText::ZipMeshTwice, {Tile.Header.Mesh, Seen->second})), File);
            }
            const auto [Kept, First] = Newest.emplace(Tile.Header.Mesh, Tiles.size());
            if (!First) {
                ++SetAside;
                if (Vintage < VintageOf(Tiles[Kept->second].File)) {
                    Progress.Advance(1);
                    return;
                }
                Replaced = &Tiles[Kept->second];
                Cells -= int64_t{Replaced->Header.Cols} * Replaced->Header.Rows;
            }
        }
        Cells += int64_t{Tile.Header.Cols} * Tile.Header.Rows;
        if (Cells > MaxGridCells) {
            throw Placed(ETalvoError(Text(TText::ZipCellsTooMany, {std::to_string(MaxGridCells)})),
                         Named);
        }
        Tile.Cells = ReadFgGmlTuples(Tile.Header, Bytes.View(), File, Progress);
        (Replaced ? *Replaced : Tiles.emplace_back()) = std::move(Tile);
        Progress.Advance(1);
    }

    TOpenedMap Finish(TLoadedMap Map) {
        Mosaic(Tiles, Named, Map);
        TOpenedMap Opened{TOpenOutcome::Loaded, std::move(Map), {}};
        if (SetAside > 0) {
            Opened.Note = Text(TText::ZipOlderSetAside, {std::to_string(SetAside)});
        }
        return Opened;
    }

  private:
    const std::string& Named;
    TProgress& Progress;
    std::vector<TTile> Tiles;
    int64_t Cells = 0;
    std::map<std::pair<std::string, std::string>, std::string> Versions; // (mesh, date) → file
    std::map<std::string, size_t> Newest;                                // mesh → Tiles' index
    int64_t SetAside = 0;
};

// The tiles of Paths, read one after another into one map; each zip's listing is Zips' entry of
// the same place (none for a tile file).
TOpenedMap ReadMosaic(const std::vector<std::string>& Paths,
                      std::vector<std::unique_ptr<TZipTiles>>& Zips, TLoadedMap Map,
                      TProgress& Progress) {
    int64_t Count = 0;
    for (const auto& Zip : Zips) {
        Count += Zip ? static_cast<int64_t>(Zip->Tiles().size()) : 1;
    }
    Progress.Start(Count);
    TMosaicReader Reader(Paths.front(), Progress);
    for (size_t Input = 0; Input < Paths.size(); ++Input) {
        if (!Zips[Input]) {
            Reader.Add(Paths[Input], [&] {
                return ReadFileBytes(Paths[Input], MaxUnpackedBytes, RequireXmlStart);
            });
            continue;
        }
        TZipTiles& Zip = *Zips[Input];
        for (const TZipTile& Tile : Zip.Tiles()) {
            Reader.Add(Zip.TilePath(Tile), [&] { return Zip.Read(Tile); });
        }
    }
    return Reader.Finish(std::move(Map));
}

} // namespace

bool IdentifyFgGmlZip(const TFileStart& File) {
    return File.UpperExt == ".ZIP" || File.Bytes.starts_with(std::string_view("PK\x03\x04", 4));
}

TOpenedMap OpenFgGmlZip(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    std::vector<std::unique_ptr<TZipTiles>> Zips;
    Zips.push_back(std::make_unique<TZipTiles>(Path));
    if (Zips.front()->Tiles().empty()) {
        return OpenZippedRaster(Zips.front()->Archive(), std::move(Map), Progress);
    }
    return ReadMosaic({Path}, Zips, std::move(Map), Progress);
}

TOpenedMap OpenFgGmlMosaic(const std::vector<std::string>& Paths, TLoadedMap Map,
                           TProgress& Progress) {
    // Every zip is listed first: the progress counts tiles.
    std::vector<std::unique_ptr<TZipTiles>> Zips;
    for (const std::string& Path : Paths) {
        if (DriverOf(Path).Open == &OpenFgGmlZip) {
            Zips.push_back(std::make_unique<TZipTiles>(Path));
            if (Zips.back()->Tiles().empty()) {
                throw Placed(ETalvoError(Text(TText::MosaicNeedsFgGml)), Path);
            }
        } else if (DriverOf(Path).Open == &OpenFgGml) {
            Zips.emplace_back();
        } else {
            throw Placed(ETalvoError(Text(TText::MosaicNeedsFgGml)), Path);
        }
    }
    return ReadMosaic(Paths, Zips, std::move(Map), Progress);
}

} // namespace talvo
