// ARC/INFO export files (".e00"), one per vector layer: layer code + mesh code + ".e00", beside
// the raster's data file (a numeric map: beside the map file). Only the arc section is read: it
// starts at a line whose first value is exactly "ARC" (attribute tables name items "ARC#") and
// ends at a line whose first value is negative. Each arc is a
// header line of seven values, the last the vertex count, followed by lines of longitude and
// latitude pairs. Values are separated by blanks, control characters or commas; fixed-width
// columns let a sign follow a digit directly ("3.66E+01-8.45E+01" is two values).

#include "import/E00Reader.h"

#include <filesystem>

#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/FileLookup.h"
#include "platform/Messages.h"
#include "platform/TextConvert.h"
#include "platform/ValueSplit.h"

namespace talvo {

namespace {

void ReadArc(TTextFile& File, const std::vector<std::string>& Header,
             std::vector<OverlayPoint>& List) {
    if (Header.size() < 7) {
        throw ETalvoError(Text(TText::ArcHeaderShort));
    }
    const int32_t Count = StrToInt(Header[6]);
    int32_t Remaining = Count;
    while (Remaining > 0) {
        if (File.Eof()) {
            throw ETalvoError(Text(TText::ArcCutShort, {std::to_string(Count)}));
        }
        std::vector<std::string> Values = SplitE00Values(File.ReadLine());
        if (Values.empty() || Values.size() % 2 != 0) {
            throw ETalvoError(Text(TText::CoordinatesInPairs));
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

// "ARC  2" opens the arcs; an attribute table's "ARC#" item, or any other word that starts so,
// does not.
bool OpensArcSection(std::string_view Line) {
    if (!Line.starts_with("ARC")) {
        return false;
    }
    const std::vector<std::string> Values = SplitE00Values(Line);
    return !Values.empty() && Values.front() == "ARC";
}

void ReadArcSections(TTextFile& File, std::vector<OverlayPoint>& List) {
    bool InSection = false;
    while (!File.Eof()) {
        std::string_view Line = File.ReadLine();
        if (!InSection) {
            InSection = OpensArcSection(Line);
            continue;
        }
        std::vector<std::string> Values = SplitE00Values(Line);
        if (Values.empty()) {
            throw ETalvoError(Text(TText::ArcLineEmpty));
        }
        if (StrToInt(Values[0]) < 0) {
            InSection = false; // the section's closing line
        } else {
            ReadArc(File, Values, List);
        }
    }
}

} // namespace

std::string OverlayFileName(const TLoadedMap& Map, int Layer) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const TOverlayPlace Place = KindTraits(H.MapKind).Overlays;
    if (Place == TOverlayPlace::None) {
        return "";
    }
    const std::string& Beside =
        Place == TOverlayPlace::BesideMapFile ? H.MapFileName : H.DataFileName;
    const std::string Name =
        std::string(OverlayLayerCodes[static_cast<size_t>(Layer)]) + H.MeshCode + ".e00";
    return (std::filesystem::path(Beside).parent_path() / Name).string();
}

void LoadOverlays(TOverlaySet& Overlays, const TLoadedMap& Map, const TLayerFlags& Layers) {
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        bool& Loaded = Overlays.Loaded[static_cast<size_t>(Layer)];
        if (Layers[static_cast<size_t>(Layer)] && !Loaded) {
            Loaded = LoadOverlayFile(Layer, Overlays, Map);
        }
    }
}

bool LoadOverlayFile(int Layer, TOverlaySet& Overlays, const TLoadedMap& Map) {
    const std::string Name = OverlayFileName(Map, Layer);
    std::optional<std::string> Path = Name.empty() ? std::nullopt : FindFileIgnoringCase(Name);
    if (!Path) {
        return false;
    }
    std::vector<OverlayPoint>& List = Overlays.Lists[static_cast<size_t>(Layer)];
    const size_t Before = List.size();
    try {
        TTextFile File(*Path);
        ReadOverlayText(File, List);
    } catch (...) {
        // A layer that failed is looked for again at the next picture: keep none of its points
        // so that they are not read twice.
        List.resize(Before);
        throw;
    }
    return true;
}

void ReadOverlayText(TTextFile& File, std::vector<OverlayPoint>& List) {
    try {
        ReadArcSections(File, List);
    } catch (ETalvoError& Error) {
        // Six layers may be drawn: the message says which file and where.
        Error.AddPlace(File.Name(), File.LineNumber());
        throw;
    }
}

std::vector<std::string> SplitE00Values(std::string_view Line) {
    return SplitValues(Line, true);
}

} // namespace talvo
