#include "import/OpenMap.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <sys/stat.h>

#include "import/BilReader.h"
#include "import/FgGmlReader.h"
#include "import/FgGmlZip.h"
#include "import/GdalRasterReader.h"
#include "import/GlobalMapReader.h"
#include "import/LonLatOfCrs.h"
#include "import/NumMapReader.h"
#include "import/PathParts.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

bool IdentifyNothing(const TFileStart&) {
    return false;
}

// Any file: the fallback, whose messages name the file as a numeric map's do.
TOpenedMap OpenNumMap(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    TTextFile File(Path);
    ReadNumMap(File, NumMapCellSpacing(UpperExtensionOf(Path)), Map, Progress);
    return {TOpenOutcome::Loaded, std::move(Map), {}};
}

constexpr std::array<TFormatDriver, 5> Drivers = {{
    {"Global Map", TDriverRole::Map, IdentifyGlobalMap, OpenGlobalMap},
    {"BIL", TDriverRole::Map, IdentifyBil, OpenBil},
    {"FG-GML DEM", TDriverRole::FgGmlTile, IdentifyFgGml, OpenFgGml},
    {"FG-GML DEM zip", TDriverRole::Zip, IdentifyFgGmlZip, OpenFgGmlZip},
    {"GDAL", TDriverRole::Map, IdentifyGdalRaster, OpenGdalRaster},
}};

constexpr TFormatDriver NumericMapDriver = {"numeric map", TDriverRole::Map, IdentifyNothing,
                                            OpenNumMap};

} // namespace

std::span<const TFormatDriver> FormatDrivers() {
    return Drivers;
}

std::string FirstBytes(const std::string& Path) {
    struct stat Status {};
    if (::stat(Path.c_str(), &Status) != 0 || !S_ISREG(Status.st_mode)) {
        return {};
    }
    std::ifstream File(Path, std::ios::binary);
    std::string Bytes(FileStartBytes, '\0');
    File.read(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Bytes.resize(static_cast<size_t>(std::max<std::streamsize>(File.gcount(), 0)));
    return Bytes;
}

const TFormatDriver& DriverOf(const std::string& Path) {
    const std::string Bytes = FirstBytes(Path);
    const TFileStart Start{FileNameOf(Path), UpperExtensionOf(Path), Bytes};
    for (const TFormatDriver& Driver : Drivers) {
        if (Driver.Identify(Start)) {
            return Driver;
        }
    }
    return NumericMapDriver;
}

TOpenedMap OpenMap(const std::string& Path, const TLoadedMap& Previous, TProgress& Progress) {
    // A folder opens like a file and fails only when read, with a message about access.
    std::error_code Unknown;
    if (std::filesystem::is_directory(Path, Unknown)) {
        throw Placed(EInOutError(Text(TText::IsAFolder)), Path);
    }
    return LoadMap(Path, Previous, [&](TLoadedMap Start) {
        return DriverOf(Path).Open(Path, std::move(Start), Progress);
    });
}

TOpenedMap LoadMap(const std::string& MapFile, const TLoadedMap& Previous,
                   const std::function<TOpenedMap(TLoadedMap Start)>& Read) {
    TLoadedMap Start = StartLoadedMap(Previous);
    Start.NumHeader.MapFileName = MapFile;
    TOpenedMap Opened = Read(std::move(Start));
    TLoadedMap& Map = Opened.Map;
    if (Map.Georeference.Crs.empty()) {
        Map.Georeference.Crs = KindTraits(Map.NumHeader.MapKind).Crs;
    }
    if (Map.Georeference.Transform == std::array<double, 6>{}) {
        Map.Georeference.Transform = TransformOfBounds(Map.NumHeader);
    }
    AttachLonLat(Map);
    return Opened;
}

TOpenedMap LoadMap(const std::string& MapFile,
                   const std::function<TOpenedMap(TLoadedMap Start)>& Read) {
    TLoadedMap Empty;
    InitLoadedMap(Empty);
    return LoadMap(MapFile, Empty, Read);
}

TOpenedMap OpenMap(const std::string& Path, const TLoadedMap& Previous) {
    TProgress Unwatched;
    return OpenMap(Path, Previous, Unwatched);
}

TOpenedMap OpenMap(const std::string& Path) {
    TLoadedMap Empty;
    InitLoadedMap(Empty);
    return OpenMap(Path, Empty);
}

} // namespace talvo
