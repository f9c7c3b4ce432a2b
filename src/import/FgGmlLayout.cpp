// How FG-GML tiles make one grid: the layout over their bounding box, and which of the tiles of
// one mesh is laid.

#include "import/FgGmlLayout.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "import/PathParts.h"
#include "model/CrsName.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// A mosaic whose tiles cover less than this part of its grid is refused: two small tiles far
// apart would otherwise take a gigabyte of no data.
constexpr int64_t MinCoverPercent = 1;

double CellLat(const TFgGmlTile& Tile) {
    return (Tile.North - Tile.South) / Tile.Rows;
}

double CellLon(const TFgGmlTile& Tile) {
    return (Tile.East - Tile.West) / Tile.Cols;
}

// The tile north of all others, and of those the westernmost.
const TMosaicTile& NorthWest(const std::vector<TMosaicTile>& Tiles) {
    return *std::min_element(
        Tiles.begin(), Tiles.end(), [](const TMosaicTile& A, const TMosaicTile& B) {
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
void CheckTilesAgree(const std::vector<TMosaicTile>& Tiles, const TMosaicTile& Corner) {
    const double Lat = CellLat(Corner.Header);
    const double Lon = CellLon(Corner.Header);
    for (const TMosaicTile& Tile : Tiles) {
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
std::string CommonDatum(const std::vector<TMosaicTile>& Tiles) {
    for (const TMosaicTile& Tile : Tiles) {
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
std::pair<size_t, size_t> FarthestApart(const std::vector<TMosaicTile>& Tiles,
                                        const std::vector<TMosaicPlace>& Places) {
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

} // namespace

TMosaicLayout LayOutMosaic(const std::vector<TMosaicTile>& Tiles, const std::string& Path,
                           bool Bounded) {
    const TMosaicTile& Corner = NorthWest(Tiles);
    CheckTilesAgree(Tiles, Corner);
    const double Lat = CellLat(Corner.Header);
    const double Lon = CellLon(Corner.Header);
    TMosaicLayout Layout;
    TFgGmlTile& Bounds = Layout.Bounds;
    Bounds = Corner.Header;
    for (const TMosaicTile& Tile : Tiles) {
        Bounds.West = std::min(Bounds.West, Tile.Header.West);
    }
    // Offsets and sizes in doubles first: tiles far apart must be refused, not wrapped around.
    const double Limit = Bounded ? static_cast<double>(MaxGridCells) : 0.0;
    double Cols = 0.0;
    double Rows = 0.0;
    for (const TMosaicTile& Tile : Tiles) {
        const double Col = std::round((Tile.Header.West - Bounds.West) / Lon);
        const double Row = std::round((Bounds.North - Tile.Header.North) / Lat);
        Cols = std::max(Cols, Col + Tile.Header.Cols);
        Rows = std::max(Rows, Row + Tile.Header.Rows);
        if (Bounded ? !(Cols * Rows <= Limit) : !(Cols <= INT32_MAX && Rows <= INT32_MAX)) {
            throw Placed(ETalvoError(Text(TText::ZipSpanTooLarge,
                                          {std::to_string(Bounded ? MaxGridCells : INT32_MAX)})),
                         Path);
        }
        Layout.Places.push_back({static_cast<int64_t>(Col), static_cast<int64_t>(Row)});
    }
    int64_t Covered = 0;
    for (const TMosaicTile& Tile : Tiles) {
        Covered += int64_t{Tile.Header.Cols} * Tile.Header.Rows;
    }
    if (Bounded && Covered * 100 < static_cast<int64_t>(Cols * Rows) * MinCoverPercent) {
        const auto [First, Second] = FarthestApart(Tiles, Layout.Places);
        throw Placed(ETalvoError(Text(TText::ZipSparse, {Tiles[First].File, Tiles[Second].File})),
                     Path);
    }
    // The map's south and east edges are those of its cells, whatever the tiles' corners rounded.
    Bounds.East = Bounds.West + Cols * Lon;
    Bounds.South = Bounds.North - Rows * Lat;
    Bounds.Datum = CommonDatum(Tiles);
    Layout.Cols = static_cast<int32_t>(Cols);
    Layout.Rows = static_cast<int32_t>(Rows);
    return Layout;
}

std::optional<size_t> TNewestTiles::Place(const std::string& Mesh, const std::string& File,
                                          size_t Kept) {
    if (Mesh.empty()) {
        return Kept;
    }
    const std::string Vintage = VintageOf(File);
    const auto [Seen, New] = Versions.emplace(std::make_pair(Mesh, Vintage), File);
    if (!New) {
        throw Placed(ETalvoError(Text(TText::ZipMeshTwice, {Mesh, Seen->second})), File);
    }
    const auto [Held, First] = Newest.emplace(Mesh, std::make_pair(Kept, Vintage));
    if (First) {
        return Kept;
    }
    ++Older;
    if (Vintage < Held->second.second) {
        return std::nullopt;
    }
    Held->second.second = Vintage;
    return Held->second.first;
}

} // namespace talvo
