#pragma once

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include "import/gdal/GdalModuleApi.h"

namespace talvo_gdal {

// GDAL's data type of a TalvoGdalCellType.
GDALDataType DataTypeOf(int32_t CellType);

// A raster whose cells the program gives row by row, as GDAL reads them: the COG driver copies it
// block by block, so that the map the program holds is never copied whole. It holds its place (a
// geotransform and a CRS, or ground control points and theirs) as GDAL sets it.
class TRowDataset final : public GDALDataset {
  public:
    explicit TRowDataset(const TalvoGdalRasterOut& Raster);
    ~TRowDataset() override;
    TRowDataset(const TRowDataset&) = delete;
    TRowDataset& operator=(const TRowDataset&) = delete;

    CPLErr GetGeoTransform(double* Transform) override;
    CPLErr SetGeoTransform(double* Transform) override;
    const OGRSpatialReference* GetSpatialRef() const override;
    CPLErr SetSpatialRef(const OGRSpatialReference* Crs) override;
    int GetGCPCount() override;
    const GDAL_GCP* GetGCPs() override;
    const OGRSpatialReference* GetGCPSpatialRef() const override;
    CPLErr SetGCPs(int Count, const GDAL_GCP* Points, const OGRSpatialReference* Crs) override;

  private:
    double Transform[6] = {0, 1, 0, 0, 0, 1};
    bool HasTransform = false;
    OGRSpatialReference Crs;
    int GcpCount = 0;
    GDAL_GCP* Gcps = nullptr;
    OGRSpatialReference GcpCrs;
};

} // namespace talvo_gdal
