#include "import/OpenMap.h"

#include <filesystem>
#include <string_view>

#include "import/BilReader.h"
#include "import/FgGmlReader.h"
#include "import/FgGmlZip.h"
#include "import/GdalRasterReader.h"
#include "import/GlobalMapReader.h"
#include "import/NumMapReader.h"
#include "import/PathParts.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

bool IsGlobalMapHeader(std::string_view FileName, std::string_view UpperExt) {
    const std::string Prefix = UpperAscii(FileName.substr(0, 2));
    return UpperExt == ".HDR" && (Prefix == "EL" || Prefix == "LU" || Prefix == "VG");
}

bool IsBil(std::string_view, std::string_view UpperExt) {
    return UpperExt == ".BIL";
}

bool IsFgGml(std::string_view, std::string_view UpperExt) {
    return UpperExt == ".XML";
}

bool IsZip(std::string_view, std::string_view UpperExt) {
    return UpperExt == ".ZIP";
}

bool IsGdalRaster(std::string_view, std::string_view UpperExt) {
    for (std::string_view Ext : {".TIF", ".TIFF", ".HGT", ".ASC", ".DEM", ".IMG", ".VRT"}) {
        if (UpperExt == Ext) {
            return true;
        }
    }
    return false;
}

TOpenedMap OpenNumMap(const std::string& Path, MapState Map) {
    TTextFile File(Path);
    ReadNumMap(File, NumMapCellSpacing(UpperExtensionOf(Path)), Map);
    return {TOpenOutcome::Loaded, std::move(Map), {}};
}

// A reader: whether a file is its by the file's name and upper-cased extension, and its opener.
struct TMapReader {
    bool (*Claims)(std::string_view FileName, std::string_view UpperExt);
    TOpenedMap (*Open)(const std::string& Path, MapState Map);
};

// Asked in order; a file none of them claims is read as a numeric map.
constexpr TMapReader Readers[] = {
    {IsGlobalMapHeader, OpenGlobalMap},
    {IsBil, OpenBil},
    {IsFgGml, OpenFgGml},
    {IsZip, OpenFgGmlZip},
    {IsGdalRaster, OpenGdalRaster},
};

} // namespace

TOpenedMap OpenMap(const std::string& Path, const MapState& Previous) {
    // A folder opens like a file and fails only when read, with a message about access.
    std::error_code Unknown;
    if (std::filesystem::is_directory(Path, Unknown)) {
        throw Placed(EInOutError(Text(TText::IsAFolder)), Path);
    }
    MapState Map = StartMapState(Previous);
    Map.NumHeader.MapFileName = Path;
    const std::string_view FileName = FileNameOf(Path);
    const std::string Ext = UpperExtensionOf(Path);
    for (const TMapReader& Reader : Readers) {
        if (Reader.Claims(FileName, Ext)) {
            return Reader.Open(Path, std::move(Map));
        }
    }
    return OpenNumMap(Path, std::move(Map));
}

TOpenedMap OpenMap(const std::string& Path) {
    MapState Empty;
    InitMapState(Empty);
    return OpenMap(Path, Empty);
}

bool ShownIn3D(const std::string& MapKind) {
    return MapKind == MapKindNumeric || MapKind == MapKindElevation || MapKind == MapKindFgGml ||
           MapKind == MapKindGdal;
}

} // namespace talvo
