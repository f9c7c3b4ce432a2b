// Global Map rasters (elevation, land use, vegetation): a text header "EL533945.hdr" and a raw
// data file of the same name without extension beside it. The header's lines of interest read
// "description :value" (the description is compared exactly; the value is cut at its first ",");
// the nine descriptions below give the size, the cell size in bytes, the four corners (degrees)
// and the cell widths. The kind is the file name's first two letters, the mesh code the next six.

#include "import/GlobalMapReader.h"

#include "import/PathParts.h"
#include "import/RasterRows.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/FileLookup.h"
#include "platform/FullPath.h"
#include "platform/Messages.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// The text before the first ",": "24.000000, 24.004167" reads as 24.0.
std::string_view BeforeComma(std::string_view Value) {
    return Value.substr(0, Value.find(','));
}

// The descriptions of a Global Map header and the fields they fill.
struct TGmpField {
    std::string_view Description;
    int32_t TNum_HeaderRec::*Integer;
    double TNum_HeaderRec::*Real;
};

const TGmpField GmpFields[] = {
    {"Number of bytes per cell", &TNum_HeaderRec::BytesPerCell, nullptr},
    {"Number of cells in longitude direction", &TNum_HeaderRec::Columns, nullptr},
    {"Number of cells in latitude direction", &TNum_HeaderRec::Rows, nullptr},
    {"Southern latitude and center latitude of the cell on the southern edge", nullptr,
     &TNum_HeaderRec::SouthLatitude},
    {"Western longitude and center longitude of the cell on the western edge", nullptr,
     &TNum_HeaderRec::WestLongitude},
    {"Northern latitude and center latitude of the cell on the northern edge", nullptr,
     &TNum_HeaderRec::NorthLatitude},
    {"Eastern longitude and center longitude of the cell on the eastern edge", nullptr,
     &TNum_HeaderRec::EastLongitude},
    {"Width of a cell in latitude direction", nullptr, &TNum_HeaderRec::CellWidthLat},
    {"Width of a cell in longitude direction", nullptr, &TNum_HeaderRec::CellWidthLon},
};

void ParseGmpLine(std::string_view Line, TNum_HeaderRec& H) {
    size_t Colon = Line.find(':');
    if (Colon == std::string_view::npos || Colon == 0) {
        return;
    }
    // "description :value": the description ends one character before the colon.
    std::string_view Description = Line.substr(0, Colon - 1);
    std::string_view Value = BeforeComma(Line.substr(Colon + 1));
    for (const TGmpField& Field : GmpFields) {
        if (Description == Field.Description) {
            if (Field.Integer) {
                H.*Field.Integer = StrToInt(Value);
            } else {
                H.*Field.Real = StrToFloat(Value);
            }
        }
    }
}

// The kind a header's name gives: its first two letters, in any case.
std::optional<TMapKind> KindOfPrefix(std::string_view FileName) {
    const std::string Prefix = UpperAscii(FileName.substr(0, 2));
    if (Prefix == "EL") {
        return TMapKind::Elevation;
    }
    if (Prefix == "LU") {
        return TMapKind::LandUse;
    }
    if (Prefix == "VG") {
        return TMapKind::Vegetation;
    }
    return std::nullopt;
}

} // namespace

bool IdentifyGlobalMap(const TFileStart& File) {
    return File.UpperExt == ".HDR" && KindOfPrefix(File.FileName);
}

TOpenedMap OpenGlobalMap(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    const std::string Base = WithoutExtension(Path);
    std::optional<std::string> Data = FindFileIgnoringCase(Base);
    if (!Data) {
        return {TOpenOutcome::CompanionMissing, std::move(Map),
                Text(TText::MeshFileMissing) + "\n\r" + FullPath(Base)};
    }
    ReadGmpHeader(Path, Map);
    TNum_HeaderRec& H = Map.NumHeader;
    H.MapKind = *KindOfPrefix(FileNameOf(Path));
    H.DataFileName = *Data;
    const TOpenOutcome Outcome = ReadRasterFile(Path, Map, Progress);
    return {Outcome, std::move(Map), {}};
}

void ReadGmpHeader(const std::string& Path, TLoadedMap& Map) {
    Map.NumHeader.MeshCode = FileNameOf(Path).substr(2, 6);
    TTextFile File(Path);
    ReadGmpLines(File, Map);
}

void ReadGmpLines(TTextFile& File, TLoadedMap& Map) {
    try {
        while (!File.Eof()) {
            ParseGmpLine(File.ReadLine(), Map.NumHeader);
        }
    } catch (ETalvoError& Error) {
        Error.AddPlace(File.Name(), File.LineNumber());
        throw;
    }
}

} // namespace talvo
