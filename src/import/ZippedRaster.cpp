#include "import/ZippedRaster.h"

#include "import/GdalRasterReader.h"
#include "import/PathParts.h"
#include "import/ReadLimits.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// The zip's one raster entry; its checks are raised naming the zip.
const TZipEntry& LoneRaster(const TZipArchive& Zip) {
    const TZipEntry* Raster = nullptr;
    int Count = 0;
    for (const TZipEntry& Entry : Zip.Entries()) {
        const TFileStart ByName{FileNameOf(Entry.Name), UpperExtensionOf(Entry.Name), ""};
        if (!IsMacAttributes(Entry.Name) && IdentifyGdalRaster(ByName)) {
            Raster = &Entry;
            ++Count;
        }
    }
    if (Count == 0) {
        throw Placed(ETalvoError(Text(TText::ZipNoTile)), Zip.Where());
    }
    if (Count > 1) {
        throw Placed(ETalvoError(Text(TText::ZipRasters, {std::to_string(Count)})), Zip.Where());
    }
    if (Raster->Size > MaxUnpackedBytes) {
        throw Placed(ETalvoError(Text(TText::ZipBomb, {std::to_string(MaxUnpackedBytes >> 30)})),
                     Zip.Where());
    }
    return *Raster;
}

} // namespace

TOpenedMap OpenZippedRaster(const TZipArchive& Zip, TLoadedMap Map, TProgress& Progress) {
    return OpenGdalRasterInZip(Zip.Where(), LoneRaster(Zip).Name, std::move(Map), Progress);
}

std::vector<std::string> ZippedRasterFiles(const std::string& ZipPath) {
    const TZipArchive Zip(ZipPath);
    return GdalRasterFilesInZip(ZipPath, LoneRaster(Zip).Name);
}

} // namespace talvo
