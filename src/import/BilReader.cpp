// 30-arc-second elevation rasters: a raw data file "NAME.bil" of signed 16-bit metres and a
// header "NAME.hdr" of "KEY value" lines (keys in any case; the value cut at its first ","):
// NBITS, NCOLS, NROWS, ULXMAP and ULYMAP (the centre of the north-west cell, degrees), XDIM and
// YDIM (degrees per cell) and BYTEORDER (M: most significant byte first). Other keys are ignored.
// The south and east corners are derived from the size and the cell widths.

#include "import/BilReader.h"

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

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && Text.front() == ' ') {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && Text.back() == ' ') {
        Text.remove_suffix(1);
    }
    return Text;
}

} // namespace

bool IdentifyBil(const TFileStart& File) {
    return File.UpperExt == ".BIL";
}

TOpenedMap OpenBil(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    const std::string Header = WithoutExtension(Path) + ".hdr";
    std::optional<std::string> Found = FindFileIgnoringCase(Header);
    if (!Found) {
        return {TOpenOutcome::CompanionMissing, std::move(Map),
                Text(TText::HeaderMissing) + "\n\r" + FullPath(Header)};
    }
    ReadBilHeader(*Found, Map);
    Map.NumHeader.MapKind = TMapKind::Bil;
    Map.NumHeader.DataFileName = Path;
    const TOpenOutcome Outcome = ReadRasterFile(*Found, Map, Progress);
    return {Outcome, std::move(Map), {}};
}

void ReadBilHeader(const std::string& Path, TLoadedMap& Map) {
    Map.NumHeader.MeshCode.clear();
    TTextFile File(Path);
    ReadBilLines(File, Map);
}

void ReadBilLines(TTextFile& File, TLoadedMap& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    try {
        while (!File.Eof()) {
            ParseBilKey(File.ReadLine(), Map);
        }
    } catch (ETalvoError& Error) {
        Error.AddPlace(File.Name(), File.LineNumber());
        throw;
    }
    H.Ido_WS = H.Ido_EN - H.Pts_NS * H.CellWidthLat;
    H.Kei_EN = H.Kei_WS + H.Pts_WE * H.CellWidthLon;
}

void ParseBilKey(std::string_view Line, TLoadedMap& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    size_t Blank = Line.find(' ');
    if (Blank == std::string_view::npos) {
        return;
    }
    const std::string Key = UpperAscii(Line.substr(0, Blank));
    const std::string_view Value = BeforeComma(Line.substr(Blank + 1));
    if (Key == "NBITS") {
        H.BytesPerCell = StrToInt(Value) / 8;
    } else if (Key == "NCOLS") {
        H.Pts_WE = StrToInt(Value);
    } else if (Key == "NROWS") {
        H.Pts_NS = StrToInt(Value);
    } else if (Key == "ULXMAP") {
        H.Kei_WS = StrToFloat(Value);
    } else if (Key == "ULYMAP") {
        H.Ido_EN = StrToFloat(Value);
    } else if (Key == "YDIM") {
        H.CellWidthLat = StrToFloat(Value);
    } else if (Key == "XDIM") {
        H.CellWidthLon = StrToFloat(Value);
    } else if (Key == "BYTEORDER") {
        // Motorola order: 30-second tiles are distributed this way.
        std::string Order = UpperAscii(Trimmed(Value));
        H.BigEndian = Order == "M" || Order == "MSBFIRST";
    }
}

} // namespace talvo
