// libFuzzer target: any bytes as a zip of FG-GML DEM tiles (or of zips of them, or of one raster),
// read through libzip and laid into one map. A zipped raster goes through GDAL's /vsizip/, which
// keeps an archive's table of entries until the file's time or size changes: each input is given
// a later time.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "import/OpenMap.h"
#include "platform/Errors.h"
#include "support/RunFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const talvo::test::TRunFolder Folder("/tmp/talvo-fuzz-zip-XXXXXX");
    if (Folder.Path.empty()) {
        return 0;
    }
    const std::string Path = Folder.Path + "/input.zip";
    std::FILE* File = std::fopen(Path.c_str(), "wb");
    if (!File) {
        return 0;
    }
    std::fwrite(Data, 1, Size, File);
    std::fclose(File);
    static time_t Time = 0;
    const timespec Times[2] = {{++Time, 0}, {Time, 0}};
    utimensat(AT_FDCWD, Path.c_str(), Times, 0);
    try {
        talvo::OpenMap(Path);
    } catch (const talvo::ETalvoError&) {
    }
    return 0;
}
