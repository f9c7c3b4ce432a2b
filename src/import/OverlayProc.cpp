#include "import/OverlayProc.h"

#include <cmath>
#include <filesystem>
#include <limits>

#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/FileLookup.h"
#include "platform/TextConvert.h"
#include "platform/ValueSplit.h"

namespace talvo {

namespace {

[[noreturn]] void RaiseMalformed(const std::string& Name, int64_t Line, const std::string& What) {
    throw ETalvoError(Name + ", line " + std::to_string(Line) + ": " + What);
}

void ReadArc(TTextFile& File, const std::vector<std::string>& Header, const std::string& Name,
             std::vector<OverlayPoint>& List) {
    if (Header.size() < 7) {
        RaiseMalformed(Name, File.LineNumber(), "an arc header holds seven values");
    }
    const int32_t Count = StrToInt(Header[6]);
    int32_t Remaining = Count;
    while (Remaining > 0) {
        if (File.Eof()) {
            RaiseMalformed(Name, File.LineNumber(),
                           "the file ends before the arc's " + std::to_string(Count) + " vertices");
        }
        std::vector<std::string> Values = SplitE00Values(File.ReadLine());
        if (Values.empty() || Values.size() % 2 != 0) {
            RaiseMalformed(Name, File.LineNumber(), "coordinates come in pairs");
        }
        // Every pair of the line is taken, even beyond the arc's count.
        for (size_t Pair = 0; Pair < Values.size(); Pair += 2) {
            OverlayPoint Point;
            Point.Seq = CheckedSub(Count, Remaining);
            Point.Lon = StrToFloat(Values[Pair]);
            Point.Lat = StrToFloat(Values[Pair + 1]);
            List.push_back(Point);
            --Remaining;
        }
    }
}

// A projected position as a canvas coordinate; positions beyond the 32-bit range (only from
// absurd data) are held at its edge.
int32_t CanvasCoordinate(long double Position) {
    if (std::isnan(Position)) {
        return 0;
    }
    constexpr long double Low = std::numeric_limits<int32_t>::min();
    constexpr long double High = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(Position, Low, High));
}

} // namespace

std::string OverlayFileName(const MapState& Map, int Layer) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const std::string& Beside = H.DataFileName.empty() ? H.MapFileName : H.DataFileName;
    const std::string Name =
        std::string(OverlayLayerCodes[static_cast<size_t>(Layer)]) + H.MeshCode + ".e00";
    return (std::filesystem::path(Beside).parent_path() / Name).string();
}

void LoadOverlays(MapState& Map, const TMapHost& Host) {
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        bool& Loaded = Map.NumHeader.OverlayLoaded[static_cast<size_t>(Layer)];
        if (Host.LayerChecked(Layer) && !Loaded) {
            Loaded = LoadOverlayFile(Layer, Map);
        }
    }
}

bool LoadOverlayFile(int Layer, MapState& Map) {
    std::optional<std::string> Path = FindFileIgnoringCase(OverlayFileName(Map, Layer));
    if (!Path) {
        return false;
    }
    std::vector<OverlayPoint>& List = Map.NumHeader.OverlayLists[static_cast<size_t>(Layer)];
    const size_t Before = List.size();
    try {
        TTextFile File(*Path);
        ReadOverlayText(File, std::filesystem::path(*Path).filename().string(), List);
    } catch (...) {
        // A layer that failed is looked for again at the next picture: keep none of its points
        // so that they are not read twice.
        List.resize(Before);
        throw;
    }
    return true;
}

void ReadOverlayText(TTextFile& File, const std::string& Name, std::vector<OverlayPoint>& List) {
    bool InSection = false;
    while (!File.Eof()) {
        std::string_view Line = File.ReadLine();
        if (!InSection) {
            InSection = Line.starts_with("ARC");
            continue;
        }
        std::vector<std::string> Values = SplitE00Values(Line);
        if (Values.empty()) {
            RaiseMalformed(Name, File.LineNumber(), "an arc section line holds no value");
        }
        if (StrToInt(Values[0]) < 0) {
            InSection = false; // the section's closing line
        } else {
            ReadArc(File, Values, Name, List);
        }
    }
}

std::vector<std::string> SplitE00Values(std::string_view Line) {
    return SplitValues(Line, true);
}

double DmsToDegrees(double Dms) {
    if (Dms < 0) {
        return -DmsToDegrees(-Dms);
    }
    const double Degrees = std::trunc(Dms);
    // 36.30 is held as 36.29999…: a hair's allowance keeps it at 30 minutes.
    const double MinutesAndSeconds = (Dms - Degrees) * 100;
    const double Minutes = std::floor(MinutesAndSeconds + 1e-9);
    const double Seconds = std::max((MinutesAndSeconds - Minutes) * 100, 0.0);
    return Degrees + Minutes / 60 + Seconds / 3600;
}

void DrawOverlay(TBitmap& Picture, const std::vector<OverlayPoint>& List, int32_t Colour,
                 const MapState& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const bool Dms = H.MapKind == MapKindNumeric;
    auto Corner = [Dms](double Value) -> long double { return Dms ? DmsToDegrees(Value) : Value; };
    const long double South = Corner(H.Ido_WS), North = Corner(H.Ido_EN);
    const long double West = Corner(H.Kei_WS), East = Corner(H.Kei_EN);
    if (North == South || East == West) {
        return;
    }
    Picture.SetPenColour(Colour);
    for (const OverlayPoint& Point : List) {
        const long double Y =
            H.Pts_NS - std::trunc((Point.Lat - South) / (North - South) * H.Pts_NS);
        const long double X = std::trunc((Point.Lon - West) / (East - West) * H.Pts_WE);
        if (Point.Seq == 0) {
            Picture.MoveTo(CanvasCoordinate(X), CanvasCoordinate(Y));
        } else {
            Picture.LineTo(CanvasCoordinate(X), CanvasCoordinate(Y));
        }
    }
}

} // namespace talvo
