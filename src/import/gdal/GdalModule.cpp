// The GDAL module: the only code that includes GDAL. Built as libtalvo_gdal.so beside the program
// and opened at run time (GdalModuleLoader), it reads band 1 of a raster and the entries of a zip
// archive. Nothing may escape it as a C++ exception: every entry point catches and reports.

#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <cstdio>
#include <gdal_priv.h>
#include <mutex>
#include <numbers>
#include <ogr_spatialref.h>
#include <string>
#include <type_traits>
#include <vector>

#include "import/gdal/GdalModuleApi.h"

struct TalvoGdalRaster {
    GDALDatasetUniquePtr Dataset;
    GDALRasterBand* Band = nullptr;
    std::string Crs;
};

struct TalvoGdalZip {
    std::string Root; // "/vsizip/{archive}"
    std::vector<std::string> Names;
    std::vector<uint64_t> Sizes;
};

namespace {

void Tell(char* Message, const std::string& Text) {
    std::snprintf(Message, TalvoGdalMessageBytes, "%s", Text.c_str());
}

// GDAL's own account of the last failure on this thread, else Fallback.
std::string GdalReason(const char* Fallback) {
    const char* Reason = CPLGetLastErrorMsg();
    return Reason && *Reason ? Reason : Fallback;
}

// Drivers registered once; GDAL's messages kept for the caller instead of printed.
void Start() {
    static std::once_flag Once;
    std::call_once(Once, [] {
        CPLSetErrorHandler(CPLQuietErrorHandler);
        GDALAllRegister();
    });
    CPLErrorReset();
}

// Body's result, or Failed with the reason in Message when it throws.
template <typename TBody>
std::invoke_result_t<TBody> Guarded(char* Message, std::invoke_result_t<TBody> Failed, TBody Body) {
    try {
        return Body();
    } catch (const std::exception& Error) {
        Tell(Message, Error.what());
    } catch (...) {
        Tell(Message, "GDAL failed");
    }
    return Failed;
}

std::string CrsText(const OGRSpatialReference& Reference) {
    const char* Authority = Reference.GetAuthorityName(nullptr);
    const char* Code = Reference.GetAuthorityCode(nullptr);
    if (Authority && Code && std::string(Authority) == "EPSG") {
        return std::string("EPSG:") + Code;
    }
    char* Wkt = nullptr;
    std::string Text;
    if (Reference.exportToWkt(&Wkt) == OGRERR_NONE && Wkt) {
        Text = Wkt;
    }
    CPLFree(Wkt);
    return Text;
}

void Describe(TalvoGdalRaster& Raster, TalvoGdalRasterInfo& Info) {
    GDALDataset& Dataset = *Raster.Dataset;
    GDALRasterBand& Band = *Raster.Band;
    Info.Width = Dataset.GetRasterXSize();
    Info.Height = Dataset.GetRasterYSize();
    Info.HasTransform = Dataset.GetGeoTransform(Info.Transform) == CE_None;
    Info.DegreesPerUnit = 1.0;
    Info.MetresPerUnit = 1.0;
    if (const OGRSpatialReference* Reference = Dataset.GetSpatialRef()) {
        Raster.Crs = CrsText(*Reference);
        Info.Geographic = Reference->IsGeographic();
        if (Info.Geographic) {
            Info.DegreesPerUnit = Reference->GetAngularUnits() * 180.0 / std::numbers::pi;
        } else {
            Info.MetresPerUnit = Reference->GetLinearUnits();
        }
    }
    int Has = 0;
    Info.Scale = Band.GetScale(&Has);
    Info.Scale = Has ? Info.Scale : 1.0;
    Info.Offset = Band.GetOffset(&Has);
    Info.Offset = Has ? Info.Offset : 0.0;
    Info.NoData = Band.GetNoDataValue(&Info.HasNoData);
    Info.Complex = GDALDataTypeIsComplex(Band.GetRasterDataType());
    Info.BytesPerValue = GDALGetDataTypeSizeBytes(Band.GetRasterDataType());
    std::snprintf(Info.Driver, sizeof Info.Driver, "%s", Dataset.GetDriverName());
}

TalvoGdalRaster* OpenRaster(const char* Path, TalvoGdalRasterInfo* Info, char* Message) {
    return Guarded(Message, static_cast<TalvoGdalRaster*>(nullptr), [&]() -> TalvoGdalRaster* {
        Start();
        auto Raster = std::make_unique<TalvoGdalRaster>();
        Raster->Dataset.reset(
            GDALDataset::Open(Path, GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR));
        if (!Raster->Dataset) {
            Tell(Message, GdalReason("GDAL cannot read this file as a raster"));
            return nullptr;
        }
        if (Raster->Dataset->GetRasterCount() < 1) {
            Tell(Message, "The file holds no raster band");
            return nullptr;
        }
        Raster->Band = Raster->Dataset->GetRasterBand(1);
        *Info = {};
        Describe(*Raster, *Info);
        return Raster.release();
    });
}

bool ReadRows(TalvoGdalRaster* Raster, int32_t First, int32_t Count, double* Cells, char* Message) {
    return Guarded(Message, false, [&] {
        CPLErrorReset();
        const int Width = Raster->Dataset->GetRasterXSize();
        if (Raster->Band->RasterIO(GF_Read, 0, First, Width, Count, Cells, Width, Count,
                                   GDT_Float64, 0, 0, nullptr) != CE_None) {
            Tell(Message, GdalReason("GDAL could not read the raster's cells"));
            return false;
        }
        return true;
    });
}

void CloseRaster(TalvoGdalRaster* Raster) {
    delete Raster;
}

const char* RasterCrs(const TalvoGdalRaster* Raster) {
    return Raster->Crs.c_str();
}

TalvoGdalZip* OpenZip(const char* Path, char* Message) {
    return Guarded(Message, static_cast<TalvoGdalZip*>(nullptr), [&]() -> TalvoGdalZip* {
        Start();
        auto Zip = std::make_unique<TalvoGdalZip>();
        Zip->Root = std::string("/vsizip/{") + Path + "}";
        VSIStatBufL Archive;
        if (VSIStatL(Zip->Root.c_str(), &Archive) != 0) {
            Tell(Message, GdalReason("GDAL cannot read this file as a zip archive"));
            return nullptr;
        }
        char** Names = VSIReadDirRecursive(Zip->Root.c_str());
        for (char** Name = Names; Name && *Name; ++Name) {
            VSIStatBufL Entry;
            const std::string Inside = Zip->Root + "/" + *Name;
            if (VSIStatL(Inside.c_str(), &Entry) == 0 && VSI_ISREG(Entry.st_mode)) {
                Zip->Names.emplace_back(*Name);
                Zip->Sizes.push_back(static_cast<uint64_t>(Entry.st_size));
            }
        }
        CSLDestroy(Names);
        return Zip.release();
    });
}

int64_t ZipEntryCount(const TalvoGdalZip* Zip) {
    return static_cast<int64_t>(Zip->Names.size());
}

const char* ZipEntryName(const TalvoGdalZip* Zip, int64_t Index) {
    return Zip->Names[static_cast<size_t>(Index)].c_str();
}

uint64_t ZipEntrySize(const TalvoGdalZip* Zip, int64_t Index) {
    return Zip->Sizes[static_cast<size_t>(Index)];
}

bool ReadZipEntry(TalvoGdalZip* Zip, int64_t Index, char* Buffer, uint64_t Bytes, char* Message) {
    return Guarded(Message, false, [&] {
        CPLErrorReset();
        const std::string Inside = Zip->Root + "/" + Zip->Names[static_cast<size_t>(Index)];
        VSILFILE* File = VSIFOpenL(Inside.c_str(), "rb");
        if (!File) {
            Tell(Message, GdalReason("GDAL cannot open the entry"));
            return false;
        }
        const uint64_t Got = VSIFReadL(Buffer, 1, Bytes, File);
        char Beyond;
        const bool Longer = Got == Bytes && VSIFReadL(&Beyond, 1, 1, File) == 1;
        VSIFCloseL(File);
        if (Got != Bytes || Longer) {
            Tell(Message, GdalReason("The entry does not unpack to the size the archive declares"));
            return false;
        }
        return true;
    });
}

void CloseZip(TalvoGdalZip* Zip) {
    delete Zip;
}

constexpr TalvoGdalApi Api = {
    TalvoGdalApiVersion, OpenRaster,   ReadRows,     CloseRaster,  RasterCrs, OpenZip,
    ZipEntryCount,       ZipEntryName, ZipEntrySize, ReadZipEntry, CloseZip,
};

} // namespace

extern "C" __attribute__((visibility("default"))) const TalvoGdalApi* TalvoGdalModule() {
    return &Api;
}
