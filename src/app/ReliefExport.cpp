#include "app/ReliefExport.h"

#include <algorithm>

#include "app/GeoTiffOutput.h"
#include "render/MapRelief.h"

namespace talvo {

void ExportRelief(const TLoadedMap& Map, const TReliefOptions& Options, std::optional<double> Sea,
                  const std::string& Path, TProgress& Progress) {
    const TReliefRaster Relief = ComputeRelief(ReliefInputOf(Map, Sea), Options, Progress);
    TalvoGdalRasterOut Raster{};
    Raster.Width = Relief.Width;
    Raster.Height = Relief.Height;
    Raster.Bands = Relief.Bands;
    Raster.HasNoData = 1;
    Raster.Overview = "AVERAGE";
    const auto Width = static_cast<size_t>(Relief.Width);
    if (!Relief.Degrees.empty()) {
        Raster.CellType = TalvoGdalFloat32;
        Raster.NoData = NoDataSlope;
        WriteGeoTiff(
            Raster,
            [&](int32_t, int32_t Row, int32_t Col, int32_t Cols, void* Cells) {
                const float* From = Relief.Degrees.data() + static_cast<size_t>(Row) * Width + Col;
                std::copy_n(From, Cols, static_cast<float*>(Cells));
            },
            Map.Georeference, Path, Progress);
        return;
    }
    Raster.CellType = TalvoGdalByte;
    Raster.NoData = 0;
    const auto Bands = static_cast<size_t>(Relief.Bands);
    WriteGeoTiff(
        Raster,
        [&](int32_t Band, int32_t Row, int32_t Col, int32_t Cols, void* Cells) {
            const uint8_t* From =
                Relief.Bytes.data() +
                (static_cast<size_t>(Row) * Width + static_cast<size_t>(Col)) * Bands +
                static_cast<size_t>(Band - 1);
            auto* Out = static_cast<uint8_t*>(Cells);
            for (int32_t Cell = 0; Cell < Cols; ++Cell) {
                Out[Cell] = From[static_cast<size_t>(Cell) * Bands];
            }
        },
        Map.Georeference, Path, Progress);
}

} // namespace talvo
