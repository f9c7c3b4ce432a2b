#include "app/GeoTiffOutput.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"

namespace talvo {

void WriteGeoTiff(TalvoGdalRasterOut Raster, const TGeoreference& Place, const std::string& Path) {
    std::copy(Place.Transform.begin(), Place.Transform.end(), Raster.Transform);
    Raster.Crs = Place.Crs.c_str();
    std::vector<TalvoGdalGcp> Gcps;
    for (const TGroundControlPoint& Point : Place.Gcps) {
        Gcps.push_back({Point.Pixel, Point.Line, Point.X, Point.Y, Point.Z});
    }
    Raster.GcpCount = static_cast<int64_t>(Gcps.size());
    Raster.Gcps = Gcps.data();
    Raster.GcpCrs = Place.GcpCrs.c_str();
    const TalvoGdalApi& Gdal = GdalModule();
    unsigned char* Bytes = nullptr;
    uint64_t Size = 0;
    TalvoGdalFailure Failure{};
    if (!Gdal.WriteGeoTiff(&Raster, &Bytes, &Size, &Failure)) {
        throw Placed(ETalvoError(GdalFailureText(Failure)), Path);
    }
    const std::unique_ptr<unsigned char, void (*)(unsigned char*)> Made(Bytes, Gdal.FreeBytes);
    TAtomicFile File(Path);
    File.Write(Made.get(), static_cast<size_t>(Size));
    File.Commit();
}

void WritePictureGeoTiff(const TBitmap& Picture, const TGeoreference& Place,
                         const std::string& Path) {
    const size_t Pixels = static_cast<size_t>(Picture.Width()) * Picture.Height();
    std::vector<unsigned char> Bands(Pixels * 3);
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        const int32_t* Row = Picture.Row(Y);
        const size_t First = static_cast<size_t>(Y) * static_cast<size_t>(Picture.Width());
        for (int32_t X = 0; X < Picture.Width(); ++X) {
            for (size_t Band = 0; Band < 3; ++Band) {
                Bands[Band * Pixels + First + static_cast<size_t>(X)] =
                    static_cast<unsigned char>(Row[X] >> (8 * Band));
            }
        }
    }
    TalvoGdalRasterOut Raster{};
    Raster.Width = Picture.Width();
    Raster.Height = Picture.Height();
    Raster.Bands = 3;
    Raster.CellType = TalvoGdalByte;
    Raster.Cells = Bands.data();
    Raster.Overview = "AVERAGE";
    WriteGeoTiff(Raster, Place, Path);
}

} // namespace talvo
