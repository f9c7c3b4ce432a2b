#pragma once

#include <string>
#include <string_view>

#include "model/OpenedMap.h"
#include "platform/Progress.h"

namespace talvo {

// What a driver looks at to tell whether a file is its: the name and the first bytes.
struct TFileStart {
    std::string_view FileName; // without its folders
    std::string UpperExt;      // the extension with its dot, upper-cased: ".TIF"
    std::string_view Bytes;    // the file's first bytes; none when it is no regular file
};

// How many first bytes the drivers are shown.
constexpr size_t FileStartBytes = 1024;

// What a format's files are to those who lay several into one map or split one into tiles.
enum class TDriverRole {
    Map,       // a map on its own
    FgGmlTile, // one FG-GML DEM tile, which a mosaic takes
    Zip,       // a zip of FG-GML tiles (or of zips of them), or of one raster
};

// One format: whether a file is its, and its reader. Open starts from Map as a load starts it,
// reports its progress and stops, raising ECancelled, soon after Progress is cancelled; failures
// are raised naming the file.
struct TFormatDriver {
    const char* Name;
    TDriverRole Role;
    bool (*Identify)(const TFileStart& File);
    TOpenedMap (*Open)(const std::string& Path, TLoadedMap Map, TProgress& Progress);
};

} // namespace talvo
