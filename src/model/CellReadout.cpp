#include "model/CellReadout.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/CellCounts.h"
#include "model/CellWindows.h"
#include "model/ClassNames.h"
#include "model/CrsName.h"
#include "model/LonLat.h"
#include "platform/Language.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

std::string Fixed(double Value, int Decimals) {
    char Text[64];
    std::snprintf(Text, sizeof Text, "%.*f", Decimals, Value);
    return Text;
}

// 36.7325 → 36°43′57.0″N: seconds to a tenth, rounded once so that 59.96″ carries.
std::string DegreesMinutesSeconds(double Degrees, char Positive, char Negative) {
    const auto Tenths = static_cast<int64_t>(std::llround(std::abs(Degrees) * 36000.0));
    char Text[64];
    std::snprintf(Text, sizeof Text, "%lld°%02lld′%02lld.%lld″%c",
                  static_cast<long long>(Tenths / 36000), static_cast<long long>(Tenths / 600 % 60),
                  static_cast<long long>(Tenths / 10 % 60), static_cast<long long>(Tenths % 10),
                  Degrees < 0 ? Negative : Positive);
    return Text;
}

// The last row read that names Line: the one the picture shows there (see DrawMapPicture). A
// map read by window has each row on its own line.
int32_t RowOnLine(const TLoadedMap& Map, int32_t Line) {
    if (Map.Windows) {
        return Line;
    }
    const TSDelDim& Lines = Map.NumData.RowLineGrid;
    const int32_t Rows = std::min(Map.RowsRead, Lines.Cols());
    if (Rows <= 0) {
        return -1;
    }
    const int16_t* Named = Lines.RowData(0);
    for (int32_t Row = Rows - 1; Row >= 0; --Row) {
        if (Named[Row] - 1 == Line) {
            return Row;
        }
    }
    return -1;
}

// The row a readout names: the grid row, or the line of a row never read.
int32_t ShownRow(const TGridCell& Cell) {
    return Cell.Row >= 0 ? Cell.Row : Cell.Line;
}

// Decimals of a place: degrees to a millionth, metres to a centimetre, pixels to a tenth.
int PlaceDecimals(const TLoadedMap& Map) {
    return !Map.Georeference.Georeferenced ? 1 : Map.NumHeader.Projected ? 2 : 6;
}

// Where a cell's centre lies: in the map's CRS, or at its pixel and line from the raster's
// top-left corner, y down, as GDAL counts them.
TMapPoint PlaceOf(const TLoadedMap& Map, const TGridCell& Cell) {
    if (!Map.Georeference.Georeferenced) {
        return {Cell.Col + 0.5, Cell.Line + 0.5};
    }
    return CellCentre(Map, Cell);
}

// Longitude and latitude of a cell's centre: a projected map's on WGS 84 where its CRS converts,
// a map in degrees its own; nothing for a raster without a place.
std::optional<TMapPoint> LonLatOf(const TLoadedMap& Map, TMapPoint Centre) {
    if (!Map.Georeference.Georeferenced) {
        return std::nullopt;
    }
    if (!Map.NumHeader.Projected) {
        return Centre;
    }
    return Map.Georeference.LonLat ? Map.Georeference.LonLat->ToLonLat(Centre) : std::nullopt;
}

} // namespace

std::optional<TGridCell> CellAtGrid(const TLoadedMap& Map, double Col, double Line) {
    const TNum_HeaderRec& H = Map.NumHeader;
    if (!IsMapLoaded(H.MapKind) || !(Col >= 0.0 && Col < H.Columns) ||
        !(Line >= 0.0 && Line < H.Rows)) {
        return std::nullopt;
    }
    TGridCell Cell{static_cast<int32_t>(Col), static_cast<int32_t>(Line)};
    Cell.Row = RowOnLine(Map, Cell.Line);
    return Cell;
}

std::optional<TGridCell> CellAt(const TLoadedMap& Map, TMapPoint Point) {
    const TMapPoint Grid = GridAtPoint(Map, Point);
    return CellAtGrid(Map, std::floor(Grid.X), std::floor(Grid.Y));
}

std::optional<TGridCell> CellOfRow(const TLoadedMap& Map, int32_t Col, int32_t Row) {
    const TNum_HeaderRec& H = Map.NumHeader;
    if (!IsMapLoaded(H.MapKind) || Col < 0 || Col >= H.Columns || Row < 0 || Row >= H.Rows) {
        return std::nullopt;
    }
    // A row never read would lie on its own line, as every row of a map read by window does.
    if (Map.Windows) {
        return TGridCell{Col, Row, Row};
    }
    const bool Read = Row < std::min(Map.RowsRead, Map.NumData.RowLineGrid.Cols());
    const int32_t Line = Read ? Map.NumData.RowLineGrid.GetVal(0, Row) - 1 : Row;
    return TGridCell{Col, Line, Read ? Row : -1};
}

TMapPoint PointAtGrid(const TLoadedMap& Map, double Col, double Line) {
    const std::array<double, 6>& T = Map.Georeference.Transform;
    return {T[0] + Col * T[1] + Line * T[2], T[3] + Col * T[4] + Line * T[5]};
}

TMapPoint GridAtPoint(const TLoadedMap& Map, TMapPoint Point) {
    // Readers give north-up grids: the transform has no rotation terms.
    const std::array<double, 6>& T = Map.Georeference.Transform;
    if (T[1] == 0.0 || T[5] == 0.0) {
        return {NAN, NAN};
    }
    return {(Point.X - T[0]) / T[1], (Point.Y - T[3]) / T[5]};
}

TMapPoint CellCentre(const TLoadedMap& Map, const TGridCell& Cell) {
    return PointAtGrid(Map, Cell.Col + 0.5, Cell.Line + 0.5);
}

std::string HeightText(const TLoadedMap& Map, double Metres) {
    const int Decimals = KindTraits(Map.NumHeader.MapKind).HeightDecimals;
    if (Map.NumData.SourceHeights.Rows() == 0) {
        return Fixed(Metres, Decimals);
    }
    // Heights kept as the source wrote them read out with all their digits (a 5 m tile's
    // centimetres), never fewer decimals than the kind's own.
    char Text[64];
    const auto [End, Failed] = std::to_chars(Text, Text + sizeof Text, static_cast<float>(Metres),
                                             std::chars_format::fixed);
    const std::string_view Written(Text, Failed == std::errc() ? End - Text : 0);
    const size_t Point = Written.find('.');
    const size_t Given = Point == std::string_view::npos ? 0 : Written.size() - Point - 1;
    return Written.empty() || Given < static_cast<size_t>(Decimals) ? Fixed(Metres, Decimals)
                                                                    : std::string(Written);
}

TCellValue ValueAt(const TLoadedMap& Map, const TGridCell& Cell) {
    if (Map.Windows) {
        return ValuesAt(Map, {Cell}).front();
    }
    if (Cell.Row < 0 || Cell.Row >= Map.RowsRead || Cell.Col < 0 ||
        Cell.Col >= Map.NumData.HeightGrid.Cols() || Cell.Row >= Map.NumData.HeightGrid.Rows()) {
        return {TCellState::NotRead, std::nullopt, Text(TText::CellNotRead)};
    }
    const int32_t Value = Map.NumData.HeightGrid.GetVal(Cell.Row, Cell.Col);
    const TMapKindTraits& Traits = KindTraits(Map.NumHeader.MapKind);
    if (Traits.SeaCell == Value) {
        return {TCellState::Sea, std::nullopt, Text(TText::CellSea)};
    }
    if (Traits.NoDataCell == Value) {
        return {TCellState::NoData, std::nullopt, Text(TText::CellNoData)};
    }
    if (Traits.Colouring != TColouring::Elevation) {
        const std::string Name = ClassNameOf(Traits.Colouring, Value, MessageLanguage());
        return {TCellState::Value, std::nullopt, Name.empty() ? std::to_string(Value) : Name};
    }
    const double Metres =
        Map.NumData.SourceHeights.Rows() > 0 ? SourceValue(Map, Cell.Row, Cell.Col) : Value / 10.0;
    return {TCellState::Value, Metres, HeightText(Map, Metres)};
}

std::vector<TCellValue> ValuesAt(const TLoadedMap& Map, const std::vector<TGridCell>& Cells) {
    TProgress Unwatched;
    return ValuesAt(Map, Cells, Unwatched);
}

std::vector<TCellValue> ValuesAt(const TLoadedMap& Map, const std::vector<TGridCell>& Cells,
                                 TProgress& Progress) {
    std::vector<TCellValue> Values;
    Values.reserve(Cells.size());
    if (!Map.Windows) {
        for (const TGridCell& Cell : Cells) {
            Values.push_back(ValueAt(Map, Cell));
        }
        return Values;
    }
    // A piece of cells at a time, each read as the window around them at the map's own cells.
    for (size_t First = 0; First < Cells.size();) {
        TCellWindow Around{Cells[First].Col, Cells[First].Row, 1, 1};
        size_t End = First;
        for (; End < Cells.size(); ++End) {
            const TGridCell& Cell = Cells[End];
            if (Cell.Row < 0 || Cell.Col < 0 || Cell.Col >= Map.NumHeader.Columns ||
                Cell.Row >= Map.NumHeader.Rows) {
                break;
            }
            const int32_t Left = std::min(Around.Col, Cell.Col);
            const int32_t Top = std::min(Around.Row, Cell.Row);
            const TCellWindow Wider{Left, Top,
                                    std::max(Around.Col + Around.Cols, Cell.Col + 1) - Left,
                                    std::max(Around.Row + Around.Rows, Cell.Row + 1) - Top};
            if (int64_t{Wider.Cols} * Wider.Rows > ReadoutWindowCells) {
                break;
            }
            Around = Wider;
        }
        if (End == First) { // a cell off the map
            Values.push_back({TCellState::NotRead, std::nullopt, Text(TText::CellNotRead)});
            ++First;
            continue;
        }
        Progress.StopIfCancelled();
        TPartProgress Part(Progress);
        const TLoadedMap Read = Map.Windows->Read(Around, Around.Cols, Around.Rows, Part);
        for (; First < End; ++First) {
            const int32_t Row = Cells[First].Row - Around.Row;
            Values.push_back(ValueAt(Read, {Cells[First].Col - Around.Col, Row, Row}));
        }
    }
    return Values;
}

std::vector<TMapInfoField> PlaceFields(const TLoadedMap& Map, const TGridCell& Cell) {
    const TMapPoint Centre = PlaceOf(Map, Cell);
    const int Decimals = PlaceDecimals(Map);
    const std::string Crs = CrsName(Map.Georeference.Crs, Map.Georeference.Datum);
    const TMapInfoField CrsField{Text(TText::ReadoutCrs),
                                 Crs.empty() ? Text(TText::ReadoutCrsNone) : Crs};
    if (!Map.Georeference.Georeferenced) {
        return {{Text(TText::ReadoutPixel), Fixed(Centre.X, Decimals)},
                {Text(TText::ReadoutLine), Fixed(Centre.Y, Decimals)},
                CrsField};
    }
    std::vector<TMapInfoField> Fields;
    if (const std::optional<TMapPoint> LonLat = LonLatOf(Map, Centre)) {
        Fields = {{Text(TText::ReadoutLon),
                   Fixed(LonLat->X, 6) + " " + DegreesMinutesSeconds(LonLat->X, 'E', 'W')},
                  {Text(TText::ReadoutLat),
                   Fixed(LonLat->Y, 6) + " " + DegreesMinutesSeconds(LonLat->Y, 'N', 'S')}};
    }
    if (Map.NumHeader.Projected) {
        Fields.push_back({Text(TText::ReadoutEasting), Fixed(Centre.X, Decimals)});
        Fields.push_back({Text(TText::ReadoutNorthing), Fixed(Centre.Y, Decimals)});
        Fields.push_back(CrsField);
    }
    return Fields;
}

std::vector<TMapInfoField> CellFields(const TLoadedMap& Map, const TGridCell& Cell) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const bool Heights = KindTraits(H.MapKind).Colouring == TColouring::Elevation;
    std::vector<TMapInfoField> Fields = {
        {Text(TText::ReadoutCol), std::to_string(Cell.Col)},
        {Text(TText::ReadoutRow), std::to_string(ShownRow(Cell))},
        {Text(Heights ? TText::ReadoutHeight : TText::ReadoutClass), ValueAt(Map, Cell).Text}};
    if (!H.MeshCode.empty()) {
        Fields.push_back({Text(TText::ReadoutMeshCode), H.MeshCode});
    }
    return Fields;
}

std::vector<TMapInfoField> ReadoutFields(const TLoadedMap& Map, const TGridCell& Cell) {
    std::vector<TMapInfoField> Fields = PlaceFields(Map, Cell);
    for (TMapInfoField& Field : CellFields(Map, Cell)) {
        Fields.push_back(std::move(Field));
    }
    return Fields;
}

std::string ReadoutCopy(const TLoadedMap& Map, const TGridCell& Cell) {
    const TMapPoint Centre = PlaceOf(Map, Cell);
    const std::optional<TMapPoint> LonLat = LonLatOf(Map, Centre);
    const TMapPoint Place = LonLat.value_or(Centre);
    const int Decimals = LonLat ? 6 : PlaceDecimals(Map);
    return Fixed(Place.X, Decimals) + '\t' + Fixed(Place.Y, Decimals) + '\t' +
           std::to_string(Cell.Col) + '\t' + std::to_string(ShownRow(Cell)) + '\t' +
           ValueAt(Map, Cell).Text;
}

std::string ReadoutLine(const std::vector<TMapInfoField>& Fields) {
    std::string Line;
    for (const TMapInfoField& Field : Fields) {
        Line += (Line.empty() ? "" : "   ") + Field.Name + ": " + Field.Value;
    }
    return Line;
}

} // namespace talvo
