#include "model/ElevationProfile.h"

#include <GeographicLib/Geodesic.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

namespace talvo {

namespace {

// The fractional grid position of an end of the line, which must lie on the map.
TMapPoint EndOnMap(const TLoadedMap& Map, TMapPoint Point) {
    if (!CellAt(Map, Point)) {
        char Text[80];
        std::snprintf(Text, sizeof Text, "%.8g,%.8g", Point.X, Point.Y);
        throw Placed(ETalvoError(talvo::Text(TText::PointOffMap, {Text})),
                     Map.NumHeader.MapFileName);
    }
    return GridAtPoint(Map, Point);
}

} // namespace

double DistanceBetween(const TLoadedMap& Map, TMapPoint From, TMapPoint To) {
    if (Map.NumHeader.Projected) {
        return std::hypot(To.X - From.X, To.Y - From.Y);
    }
    double Metres = 0.0;
    GeographicLib::Geodesic::WGS84().Inverse(From.Y, From.X, To.Y, To.X, Metres);
    return Metres;
}

namespace {

std::vector<TProfileSample> SampleLeg(const TLoadedMap& Map, TMapPoint From, TMapPoint To,
                                      TProgress& Progress) {
    const TMapPoint Start = EndOnMap(Map, From);
    const TMapPoint End = EndOnMap(Map, To);
    // Steps of one cell along the longer axis: sample K then lies in the K-th cell from the start
    // cell along that axis, as the fractional parts of the ends interpolate within [0, 1). Both
    // ends are samples, even of a line within one cell.
    const double Steps = std::max(std::abs(std::floor(End.X) - std::floor(Start.X)),
                                  std::abs(std::floor(End.Y) - std::floor(Start.Y)));
    const size_t Count = std::max<size_t>(static_cast<size_t>(Steps) + 1, 2);
    const double Parts = static_cast<double>(Count - 1);
    const TNum_HeaderRec& H = Map.NumHeader;
    std::vector<TProfileSample> Samples;
    Samples.reserve(Count);
    for (size_t K = 0; K < Count; ++K) {
        const double Along = static_cast<double>(K) / Parts;
        const double Col = Start.X + (End.X - Start.X) * Along;
        const double Line = Start.Y + (End.Y - Start.Y) * Along;
        // Rounding must not carry a sample past the map's edge.
        const std::optional<TGridCell> Cell =
            CellAtGrid(Map, std::clamp(std::floor(Col), 0.0, H.Columns - 1.0),
                       std::clamp(std::floor(Line), 0.0, H.Rows - 1.0));
        TProfileSample Sample;
        Sample.Point = K == 0 ? From : K + 1 == Count ? To : PointAtGrid(Map, Col, Line);
        // Along the line drawn, piece by piece: the shortest way from the start to a sample is
        // another line, and beyond half the globe a much shorter one.
        Sample.Distance = K == 0 ? 0.0
                                 : Samples.back().Distance +
                                       DistanceBetween(Map, Samples.back().Point, Sample.Point);
        Sample.Cell = *Cell;
        Samples.push_back(std::move(Sample));
    }
    std::vector<TGridCell> Cells;
    Cells.reserve(Count);
    for (const TProfileSample& Sample : Samples) {
        Cells.push_back(Sample.Cell);
    }
    std::vector<TCellValue> Values = ValuesAt(Map, Cells, Progress);
    for (size_t K = 0; K < Count; ++K) {
        Samples[K].Value = std::move(Values[K]);
    }
    return Samples;
}

std::vector<TProfileSample> SampleLegs(const TLoadedMap& Map, const std::vector<TMapPoint>& Points,
                                       TProgress& Progress) {
    std::vector<TProfileSample> Samples;
    for (size_t Leg = 1; Leg < Points.size(); ++Leg) {
        std::vector<TProfileSample> Part = SampleLeg(Map, Points[Leg - 1], Points[Leg], Progress);
        const double Before = Samples.empty() ? 0.0 : Samples.back().Distance;
        for (size_t K = Samples.empty() ? 0 : 1; K < Part.size(); ++K) {
            Part[K].Distance += Before;
            Samples.push_back(std::move(Part[K]));
        }
    }
    return Samples;
}

} // namespace

std::vector<TProfileSample> SampleProfile(const TLoadedMap& Map, TMapPoint From, TMapPoint To) {
    TProgress Unwatched;
    return SampleLeg(Map, From, To, Unwatched);
}

std::vector<TProfileSample> SampleProfileAlong(const TLoadedMap& Map,
                                               const std::vector<TMapPoint>& Points) {
    TProgress Unwatched;
    return SampleLegs(Map, Points, Unwatched);
}

std::vector<TProfileSample> SampleProfileThroughCells(const TLoadedMap& Map,
                                                      const std::vector<TGridCell>& Cells) {
    TProgress Unwatched;
    return SampleProfileThroughCells(Map, Cells, Unwatched);
}

std::vector<TProfileSample> SampleProfileThroughCells(const TLoadedMap& Map,
                                                      const std::vector<TGridCell>& Cells,
                                                      TProgress& Progress) {
    std::vector<TMapPoint> Points;
    for (const TGridCell& Cell : Cells) {
        Points.push_back(CellCentre(Map, Cell));
    }
    return SampleLegs(Map, Points, Progress);
}

std::vector<TProfileSample> SampleProfileBetweenCells(const TLoadedMap& Map, const TGridCell& From,
                                                      const TGridCell& To) {
    return SampleProfileThroughCells(Map, {From, To});
}

TProfileSummary SummariseProfile(const std::vector<TProfileSample>& Samples) {
    TProfileSummary Summary;
    std::optional<double> Previous;
    for (const TProfileSample& Sample : Samples) {
        Summary.Length = Sample.Distance;
        if (!Sample.Value.Metres) {
            Previous.reset(); // a gap: no climb is known across it
            continue;
        }
        const double Height = *Sample.Value.Metres;
        Summary.Min = std::min(Summary.Min.value_or(Height), Height);
        Summary.Max = std::max(Summary.Max.value_or(Height), Height);
        if (Previous) {
            (Height > *Previous ? Summary.Ascent : Summary.Descent) += std::abs(Height - *Previous);
        }
        Previous = Height;
    }
    return Summary;
}

std::string ProfileCsv(const TLoadedMap& Map, const std::vector<TProfileSample>& Samples) {
    const int Decimals = Map.NumHeader.Projected ? 3 : 8;
    std::string Csv = "distance_m,lon,lat,col,row,height_m,note\n";
    char Line[200];
    for (const TProfileSample& S : Samples) {
        std::snprintf(Line, sizeof Line, "%.2f,%.*f,%.*f,%d,%d,", S.Distance, Decimals, S.Point.X,
                      Decimals, S.Point.Y, S.Cell.Col, S.Cell.Row >= 0 ? S.Cell.Row : S.Cell.Line);
        Csv += Line;
        // The note is for programs: the same words in every language.
        switch (S.Value.State) {
        case TCellState::Value:
            Csv += S.Value.Metres ? S.Value.Text + "," : ",";
            break;
        case TCellState::Sea:
            Csv += ",sea";
            break;
        case TCellState::NoData:
            Csv += ",no data";
            break;
        case TCellState::NotRead:
            Csv += ",not read";
            break;
        }
        Csv += '\n';
    }
    return Csv;
}

void WriteProfileCsv(const TLoadedMap& Map, const std::vector<TProfileSample>& Samples,
                     const std::string& Path) {
    const std::string Csv = ProfileCsv(Map, Samples);
    TAtomicFile File(Path);
    File.Write(Csv.data(), Csv.size());
    File.Commit();
}

} // namespace talvo
