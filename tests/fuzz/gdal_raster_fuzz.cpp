// libFuzzer target: any bytes as a raster description GDAL reads, through the GDAL module. The
// first byte chooses the name: even, a VRT (.vrt); odd, an ASCII grid (.asc). The module opens
// it, with every source a VRT names checked first; rasters of up to a million cells are then
// read whole, larger ones only described, as filling them would spend the fuzzer's time on memory.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/GdalModuleLoader.h"
#include "import/OpenMap.h"
#include "platform/Errors.h"
#include "support/RunFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // A VRT may name the files beside it: a folder of this run's own.
    static const talvo::test::TRunFolder Folder("/tmp/talvo-fuzz-gdal-XXXXXX");
    if (Size < 1 || Folder.Path.empty()) {
        return 0;
    }
    const std::string Path = Folder.Path + (Data[0] % 2 == 0 ? "/input.vrt" : "/input.asc");
    std::FILE* File = std::fopen(Path.c_str(), "wb");
    if (!File) {
        return 0;
    }
    std::fwrite(Data + 1, 1, Size - 1, File);
    std::fclose(File);
    const TalvoGdalApi& Gdal = talvo::GdalModule();
    TalvoGdalRasterInfo Info{};
    TalvoGdalFailure Failure{};
    TalvoGdalRaster* Raster = Gdal.OpenRaster(Path.c_str(), &Info, &Failure);
    if (!Raster) {
        return 0;
    }
    Gdal.CloseRaster(Raster);
    if (int64_t{Info.Width} * Info.Height <= (1 << 20)) {
        try {
            talvo::OpenMap(Path);
        } catch (const talvo::ETalvoError&) {
        }
    }
    return 0;
}
