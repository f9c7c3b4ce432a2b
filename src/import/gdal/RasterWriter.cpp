// Writes a raster as a Cloud Optimized GeoTIFF into GDAL's memory file system, so that the
// program puts the bytes in place with its own atomic writer: no half-written file, and no
// temporary file of GDAL's beside the output.

#include "import/gdal/RasterWriter.h"

#include <atomic>
#include <climits>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <ogr_spatialref.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "import/gdal/ModuleCalls.h"

namespace talvo_gdal {

namespace {

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

// A name in the memory file system that no other write of this process uses.
std::string MemoryName() {
    static std::atomic<uint64_t> Count{0};
    return "/vsimem/talvo-" + std::to_string(::getpid()) + "-" + std::to_string(++Count) + ".tif";
}

// Dataset placed by Raster's ground control points in Crs (none when null), which stand for a
// geotransform and a CRS of the dataset's own.
GDALDatasetUniquePtr SetGcps(const TalvoGdalRasterOut& Raster, const OGRSpatialReference* Crs,
                             GDALDatasetUniquePtr Dataset, TalvoGdalFailure* Failure) {
    if (Raster.GcpCount > INT_MAX) {
        Fail(Failure, TalvoGdalUnsupported);
        return nullptr;
    }
    const int Count = static_cast<int>(Raster.GcpCount);
    std::vector<GDAL_GCP> Gcps(static_cast<size_t>(Count));
    GDALInitGCPs(Count, Gcps.data());
    for (size_t I = 0; I < Gcps.size(); ++I) {
        const TalvoGdalGcp& Given = Raster.Gcps[I];
        Gcps[I].dfGCPPixel = Given.Pixel;
        Gcps[I].dfGCPLine = Given.Line;
        Gcps[I].dfGCPX = Given.X;
        Gcps[I].dfGCPY = Given.Y;
        Gcps[I].dfGCPZ = Given.Z;
    }
    const CPLErr Set = Dataset->SetGCPs(Count, Gcps.data(), Crs);
    GDALDeinitGCPs(Count, Gcps.data());
    if (Set != CE_None) {
        Fail(Failure, LastProblem());
        return nullptr;
    }
    return Dataset;
}

// The raster's cells in a memory dataset with its georeference.
GDALDatasetUniquePtr MemoryDataset(const TalvoGdalRasterOut& Raster, TalvoGdalFailure* Failure) {
    GDALDriver* Memory = GetGDALDriverManager()->GetDriverByName("MEM");
    const GDALDataType Type = DataTypeOf(Raster.CellType);
    GDALDatasetUniquePtr Dataset(
        Memory ? Memory->Create("", Raster.Width, Raster.Height, Raster.Bands, Type, nullptr)
               : nullptr);
    if (!Dataset) {
        Fail(Failure, LastProblem());
        return nullptr;
    }
    const size_t CellBytes = static_cast<size_t>(GDALGetDataTypeSizeBytes(Type));
    const size_t BandBytes =
        static_cast<size_t>(Raster.Width) * static_cast<size_t>(Raster.Height) * CellBytes;
    for (int Band = 1; Band <= Raster.Bands; ++Band) {
        auto* Cells = const_cast<unsigned char*>(static_cast<const unsigned char*>(Raster.Cells)) +
                      static_cast<size_t>(Band - 1) * BandBytes;
        GDALRasterBand* Target = Dataset->GetRasterBand(Band);
        if (Target->RasterIO(GF_Write, 0, 0, Raster.Width, Raster.Height, Cells, Raster.Width,
                             Raster.Height, Type, 0, 0, nullptr) != CE_None ||
            (Raster.HasNoData && Target->SetNoDataValue(Raster.NoData) != CE_None)) {
            Fail(Failure, LastProblem());
            return nullptr;
        }
        if (Raster.Bands == 3) {
            Target->SetColorInterpretation(static_cast<GDALColorInterp>(GCI_RedBand + Band - 1));
        }
    }
    OGRSpatialReference Reference;
    const char* Crs = Raster.GcpCount > 0 ? Raster.GcpCrs : Raster.Crs;
    if (Crs && *Crs) {
        Reference.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        if (Reference.SetFromUserInput(Crs, OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS) !=
            OGRERR_NONE) {
            Fail(Failure, TalvoGdalBadCrs, Crs);
            return nullptr;
        }
    }
    const OGRSpatialReference* Named = Reference.IsEmpty() ? nullptr : &Reference;
    if (Raster.GcpCount > 0) {
        return SetGcps(Raster, Named, std::move(Dataset), Failure);
    }
    double Transform[6];
    std::copy(Raster.Transform, Raster.Transform + 6, Transform);
    Dataset->SetGeoTransform(Transform);
    if (Named) {
        Dataset->SetSpatialRef(Named);
    }
    return Dataset;
}

} // namespace

bool WriteGeoTiff(const TalvoGdalRasterOut* Raster, unsigned char** Bytes, uint64_t* Size,
                  TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        Start();
        const GDALDatasetUniquePtr Source = MemoryDataset(*Raster, Failure);
        if (!Source) {
            return false;
        }
        GDALDriver* Cog = GetGDALDriverManager()->GetDriverByName("COG");
        if (!Cog) {
            return Fail(Failure, TalvoGdalUnsupported, "COG");
        }
        CPLStringList Options;
        Options.SetNameValue("COMPRESS", "DEFLATE");
        Options.SetNameValue("PREDICTOR", "YES");
        // The fastest level: twice as fast as the default for files about 6 % larger, which
        // counts over thousands of tiles.
        Options.SetNameValue("LEVEL", "1");
        Options.SetNameValue("RESAMPLING", Raster->Overview);
        const std::string Name = MemoryName();
        CPLErrorReset();
        GDALDatasetUniquePtr Written(
            Cog->CreateCopy(Name.c_str(), Source.get(), false, Options.List(), nullptr, nullptr));
        const bool Made = Written != nullptr;
        Written.reset(); // closing writes what GDAL still holds
        const bool Closed = Made && CPLGetLastErrorType() < CE_Failure;
        vsi_l_offset Length = 0;
        GByte* Buffer = Closed ? VSIGetMemFileBuffer(Name.c_str(), &Length, TRUE) : nullptr;
        VSIUnlink(Name.c_str());
        if (!Buffer) {
            return Fail(Failure, LastProblem());
        }
        *Bytes = Buffer;
        *Size = Length;
        return true;
    });
}

void FreeBytes(unsigned char* Bytes) {
    VSIFree(Bytes);
}

} // namespace talvo_gdal
