#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "import/FormatDriver.h"
#include "model/LoadedMap.h"
#include "platform/TextFile.h"

namespace talvo {

// Opens a 30-arc-second raster from its ".bil" data file and the ".hdr" beside it, into Map as a
// load starts it; one the documented reader does not read opens through GDAL's EHdr driver. A
// missing header is the outcome CompanionMissing; every other failure is raised naming the file
// it arose in.
bool IdentifyBil(const TFileStart& File);
TOpenedMap OpenBil(const std::string& Path, TLoadedMap Map, TProgress& Progress);

// What a header says of its cells beyond what the map keeps: whether the documented reader reads
// them.
struct TBilLayout {
    int32_t Bits = 0;
    int32_t Bands = 1;
    bool FloatCells = false;
    int64_t SkipBytes = 0;
    std::vector<int64_t> RowBytes; // BANDROWBYTES and TOTALROWBYTES as given
    std::optional<double> NoData;
};

// A 30-second raster header: "KEY value" lines into Map; the corners are derived as the cells'
// outer edges, and NODATA becomes the header's NoDataValue unless it is the sea's -9999.
TBilLayout ReadBilHeader(const std::string& Path, TLoadedMap& Map);
TBilLayout ReadBilLines(TTextFile& File, TLoadedMap& Map);

} // namespace talvo
