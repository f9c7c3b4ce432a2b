#include "import/MapFiles.h"

#include "import/E00Reader.h"
#include "import/FgGmlZip.h"
#include "import/GdalRasterReader.h"
#include "import/OpenMap.h"
#include "import/PathParts.h"
#include "import/ZippedRaster.h"
#include "platform/FileLookup.h"

namespace talvo {

std::vector<std::string> MapFiles(const TLoadedMap& Map, const TOverlaySet& Overlays) {
    const TNum_HeaderRec& H = Map.NumHeader;
    std::vector<std::string> Files = Map.MosaicFiles;
    for (const std::string& Path : {H.MapFileName, H.DataFileName}) {
        if (!Path.empty()) {
            Files.push_back(Path);
        }
    }
    if (KindTraits(H.MapKind).ReadThroughGdal) {
        const bool Zipped = DriverOf(H.MapFileName).Role == TDriverRole::Zip;
        for (std::string& Read :
             Zipped ? ZippedRasterFiles(H.MapFileName) : GdalRasterFiles(H.MapFileName)) {
            Files.push_back(std::move(Read));
        }
    }
    if (KindTraits(H.MapKind).HeaderBesideData) {
        if (std::optional<std::string> Header =
                FindFileIgnoringCase(WithoutExtension(H.DataFileName) + ".hdr")) {
            Files.push_back(*Header);
        }
    }
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        if (Overlays.Loaded[static_cast<size_t>(Layer)]) {
            if (std::optional<std::string> Overlay =
                    FindFileIgnoringCase(OverlayFileName(Map, Layer))) {
                Files.push_back(*Overlay);
            }
        }
    }
    return Files;
}

} // namespace talvo
