#include "model/MapInfo.h"

#include <charconv>
#include <cmath>

#include "model/CrsName.h"
#include "model/Dms.h"
#include "platform/Cp932.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// A header may hold any finite value: a corner of 1e200 has some 200 digits before its point, so
// the text grows until the number fits.
template <typename T> std::string FormatReal(T Value, std::chars_format Format, int Precision) {
    std::string Text(64, '\0');
    while (true) {
        char* const End = Text.data() + Text.size();
        const auto [Last, Error] = Precision < 0
                                       ? std::to_chars(Text.data(), End, Value, Format)
                                       : std::to_chars(Text.data(), End, Value, Format, Precision);
        if (Error == std::errc()) {
            Text.resize(static_cast<size_t>(Last - Text.data()));
            return Text;
        }
        Text.resize(Text.size() * 2);
    }
}

std::string FormatCorner(double Corner, bool AlreadyDms) {
    long double Shown = AlreadyDms ? Corner : DegToDms(Corner);
    return FormatReal(Shown, std::chars_format::fixed, 6);
}

} // namespace

std::vector<TMapInfoField> MapInfoFields(const TLoadedMap& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    // Numeric-map corners are d.mmss already, projected ones no angles at all.
    const bool Dms = KindTraits(H.MapKind).CornersInDms || H.Projected;
    std::vector<TMapInfoField> Fields = {
        {"MeshCode", Cp932ToUtf8(H.MeshCode)},
        {"Org_Scale", std::to_string(H.SourceScale)},
        {"Org_Surv", Cp932ToUtf8(H.SurveyYear)},
        {"Org_Mod", Cp932ToUtf8(H.RevisionYear)},
        {"NumericY", Cp932ToUtf8(H.DigitisedYear)},
        {"Pts_WE", std::to_string(H.Columns)},
        {"Pts_NS", std::to_string(H.Rows)},
        {"Ido_WS", FormatCorner(H.SouthLatitude, Dms)},
        {"Kei_WS", FormatCorner(H.WestLongitude, Dms)},
        {"Ido_EN", FormatCorner(H.NorthLatitude, Dms)},
        {"Kei_EN", FormatCorner(H.EastLongitude, Dms)},
        {"Zuyou_Su", std::to_string(H.SheetCount)},
    };
    for (size_t Sheet = 0; Sheet < 4; ++Sheet) {
        std::string Number = std::to_string(Sheet + 1);
        Fields.push_back({"Zu_name" + Number, Cp932ToUtf8(H.SheetNames[Sheet])});
        Fields.push_back({"Zu_Flg" + Number, Cp932ToUtf8(H.SheetFlags[Sheet])});
    }
    Fields.push_back({"RecCnt", std::to_string(H.RecordCount)});
    Fields.push_back({"Comment", Cp932ToUtf8(H.Comment)});
    Fields.push_back({"RecFlg", Cp932ToUtf8(H.RecordFlags)});
    return Fields;
}

std::vector<TMapInfoField> MapDetailFields(const TLoadedMap& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    // Shortest text that reads back as the same double.
    auto Exact = [](double Value) { return FormatReal(Value, std::chars_format::general, -1); };
    std::vector<TMapInfoField> Fields = {
        {"MapKind", KindTraits(H.MapKind).Code},
        {"CellSpacing", std::to_string(H.CellSpacing)},
        {"BytesPerCell", std::to_string(H.BytesPerCell)},
        {"DataFileName", H.DataFileName},
        {"CellWidthLat", Exact(H.CellWidthLat)},
        {"CellWidthLon", Exact(H.CellWidthLon)},
        {"RowsRead", std::to_string(Map.RowsRead)},
    };
    if (KindTraits(H.MapKind).ReadThroughGdal) {
        Fields.push_back({"Driver", Cp932ToUtf8(H.Comment)}); // the reader keeps it as the comment
    }
    if (Map.Georeference.DegreesAssumed) {
        Fields.push_back({"CRS", "none (taken as degrees)"});
    } else if (*KindTraits(H.MapKind).Crs == '\0' && !Map.Georeference.Crs.empty()) {
        // The datum the file itself names (an FG-GML tile's srsName, a raster's CRS).
        Fields.push_back({"CRS", CrsName(Map.Georeference.Crs, Map.Georeference.Datum)});
    }
    if (const TGeoreference& Place = Map.Georeference; !Place.Gcps.empty()) {
        Fields.push_back({"GCPs", std::to_string(Place.Gcps.size()) + " in " +
                                      (Place.GcpCrs.empty() ? "no CRS" : CrsName(Place.GcpCrs)) +
                                      ", not applied: the raster is drawn as stored"});
    }
    return Fields;
}

std::vector<TMapInfoField> CountFields(const TCellCounts& Counts) {
    auto Value = [](const std::optional<double>& Number) {
        return Number ? ShortestText(static_cast<float>(*Number)) : std::string();
    };
    std::vector<TMapInfoField> Fields = {{"Cells", std::to_string(Counts.Cells)},
                                         {"Sea", std::to_string(Counts.Sea)},
                                         {"NoData", std::to_string(Counts.NoData)},
                                         {"Min", Value(Counts.Min)},
                                         {"Max", Value(Counts.Max)}};
    if (const std::optional<TLevelSize>& Grid = Counts.Overview) {
        Fields.push_back({"CountedOn", std::string(Counts.FromLevel ? "overview" : "sample") +
                                           " of " + std::to_string(Grid->Cols) + " x " +
                                           std::to_string(Grid->Rows) + " cells"});
    }
    return Fields;
}

std::string CountsLine(const TCellCounts& Counts) {
    std::string Line;
    for (const TMapInfoField& Field : CountFields(Counts)) {
        Line += (Line.empty() ? "" : "   ") + Field.Name + " " + Field.Value;
    }
    return Line;
}

} // namespace talvo
