#include "import/gdal/RowDataset.h"

#include <algorithm>
#include <vector>

namespace talvo_gdal {

GDALDataType DataTypeOf(int32_t CellType) {
    switch (CellType) {
    case TalvoGdalInt16:
        return GDT_Int16;
    case TalvoGdalByte:
        return GDT_Byte;
    default:
        return GDT_Float32;
    }
}

namespace {

// One band of a TRowDataset; a block is a row.
class TRowBand final : public GDALRasterBand {
  public:
    TRowBand(TRowDataset* Dataset, int Band, const TalvoGdalRasterOut& Raster)
        : FillRow(Raster.FillRow), FillData(Raster.FillData) {
        poDS = Dataset;
        nBand = Band;
        eDataType = DataTypeOf(Raster.CellType);
        nRasterXSize = Raster.Width;
        nRasterYSize = Raster.Height;
        nBlockXSize = Raster.Width;
        nBlockYSize = 1;
        Row.resize(static_cast<size_t>(Raster.Width) *
                   static_cast<size_t>(GDALGetDataTypeSizeBytes(eDataType)));
    }

    double GetNoDataValue(int* Has) override {
        if (Has) {
            *Has = HasNoData;
        }
        return NoData;
    }
    CPLErr SetNoDataValue(double Value) override {
        NoData = Value;
        HasNoData = true;
        return CE_None;
    }
    GDALColorInterp GetColorInterpretation() override { return Colour; }
    CPLErr SetColorInterpretation(GDALColorInterp Interpretation) override {
        Colour = Interpretation;
        return CE_None;
    }

  protected:
    CPLErr IReadBlock(int, int BlockRow, void* Cells) override {
        return Fill(BlockRow, 0, nRasterXSize, Cells);
    }

    // Whole-resolution reads, as the COG driver makes them (a tile's columns at a time), go from
    // the program's rows straight into GDAL's buffer: through the block cache they would keep a
    // second copy of the map.
    CPLErr IRasterIO(GDALRWFlag Direction, int Col, int FirstRow, int Cols, int Rows, void* Buffer,
                     int BufferCols, int BufferRows, GDALDataType BufferType, GSpacing PixelSpace,
                     GSpacing LineSpace, GDALRasterIOExtraArg* Extra) override {
        if (Direction != GF_Read || BufferCols != Cols || BufferRows != Rows) {
            return GDALRasterBand::IRasterIO(Direction, Col, FirstRow, Cols, Rows, Buffer,
                                             BufferCols, BufferRows, BufferType, PixelSpace,
                                             LineSpace, Extra);
        }
        const int CellBytes = GDALGetDataTypeSizeBytes(eDataType);
        for (int Line = 0; Line < Rows; ++Line) {
            if (Fill(FirstRow + Line, Col, Cols, Row.data()) != CE_None) {
                return CE_Failure;
            }
            GDALCopyWords(Row.data(), eDataType, CellBytes,
                          static_cast<GByte*>(Buffer) + Line * LineSpace, BufferType,
                          static_cast<int>(PixelSpace), Cols);
        }
        return CE_None;
    }

  private:
    CPLErr Fill(int RowNumber, int Col, int Cols, void* Cells) {
        if (!FillRow(FillData, nBand, RowNumber, Col, Cols, Cells)) {
            CPLError(CE_Failure, CPLE_UserInterrupt, "stopped by the program");
            return CE_Failure;
        }
        return CE_None;
    }

    TalvoGdalRowFill FillRow;
    void* FillData;
    std::vector<GByte> Row;
    double NoData = 0;
    bool HasNoData = false;
    GDALColorInterp Colour = GCI_Undefined;
};

} // namespace

TRowDataset::TRowDataset(const TalvoGdalRasterOut& Raster) {
    nRasterXSize = Raster.Width;
    nRasterYSize = Raster.Height;
    eAccess = GA_ReadOnly;
    for (int Band = 1; Band <= Raster.Bands; ++Band) {
        SetBand(Band, new TRowBand(this, Band, Raster));
    }
}

TRowDataset::~TRowDataset() {
    GDALDeinitGCPs(GcpCount, Gcps);
    CPLFree(Gcps);
}

CPLErr TRowDataset::GetGeoTransform(double* Out) {
    std::copy(Transform, Transform + 6, Out);
    return HasTransform ? CE_None : CE_Failure;
}

CPLErr TRowDataset::SetGeoTransform(double* Given) {
    std::copy(Given, Given + 6, Transform);
    HasTransform = true;
    return CE_None;
}

const OGRSpatialReference* TRowDataset::GetSpatialRef() const {
    return Crs.IsEmpty() ? nullptr : &Crs;
}

CPLErr TRowDataset::SetSpatialRef(const OGRSpatialReference* Given) {
    Crs.Clear();
    if (Given) {
        Crs = *Given;
    }
    return CE_None;
}

int TRowDataset::GetGCPCount() {
    return GcpCount;
}

const GDAL_GCP* TRowDataset::GetGCPs() {
    return Gcps;
}

const OGRSpatialReference* TRowDataset::GetGCPSpatialRef() const {
    return GcpCrs.IsEmpty() ? nullptr : &GcpCrs;
}

CPLErr TRowDataset::SetGCPs(int Count, const GDAL_GCP* Points, const OGRSpatialReference* Given) {
    GDALDeinitGCPs(GcpCount, Gcps);
    CPLFree(Gcps);
    Gcps = GDALDuplicateGCPs(Count, Points);
    GcpCount = Count;
    GcpCrs.Clear();
    if (Given) {
        GcpCrs = *Given;
    }
    return CE_None;
}

} // namespace talvo_gdal
