// Writes a raster as a Cloud Optimized GeoTIFF into the file the program made for it, reading the
// program's rows as GDAL needs them: no copy of the raster in memory, in cells or in bytes.

#include "import/gdal/RasterWriter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cpl_conv.h>
#include <cpl_string.h>
#include <ogr_spatialref.h>
#include <vector>

#include "import/gdal/ModuleCalls.h"
#include "import/gdal/RowDataset.h"

namespace talvo_gdal {

namespace {

// Dataset placed by Raster's ground control points in Crs (none when null), which stand for a
// geotransform and a CRS of the dataset's own.
bool SetGcps(const TalvoGdalRasterOut& Raster, const OGRSpatialReference* Crs, GDALDataset& Dataset,
             TalvoGdalFailure* Failure) {
    if (Raster.GcpCount > INT_MAX) {
        return Fail(Failure, TalvoGdalUnsupported);
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
    const CPLErr Set = Dataset.SetGCPs(Count, Gcps.data(), Crs);
    GDALDeinitGCPs(Count, Gcps.data());
    if (Set != CE_None) {
        return Fail(Failure, LastProblem());
    }
    return true;
}

// The system's error when GDAL met its first failure: a write the disk refused shows there.
struct TFirstFailure {
    bool Seen = false;
    int Errno = 0;
};

void NoteFirstFailure(CPLErr Class, CPLErrorNum, const char*) {
    auto* First = static_cast<TFirstFailure*>(CPLGetErrorHandlerUserData());
    if (Class >= CE_Failure && !First->Seen) {
        First->Seen = true;
        First->Errno = errno;
    }
}

// The errors of a write the file system refused, as opposed to the misses GDAL's probes for
// side files leave in errno.
bool IsRefusedWrite(int Errno) {
    return Errno == ENOSPC || Errno == EDQUOT || Errno == EFBIG || Errno == EIO;
}

} // namespace

bool PlaceDataset(const TalvoGdalRasterOut& Raster, GDALDataset& Dataset,
                  TalvoGdalFailure* Failure) {
    for (int Band = 1; Band <= Raster.Bands; ++Band) {
        GDALRasterBand* Target = Dataset.GetRasterBand(Band);
        if (Raster.HasNoData) {
            Target->SetNoDataValue(Raster.NoData);
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
            return Fail(Failure, TalvoGdalBadCrs, Crs);
        }
    }
    const OGRSpatialReference* Named = Reference.IsEmpty() ? nullptr : &Reference;
    if (Raster.GcpCount > 0) {
        return SetGcps(Raster, Named, Dataset, Failure);
    }
    double Transform[6];
    std::copy(Raster.Transform, Raster.Transform + 6, Transform);
    Dataset.SetGeoTransform(Transform);
    if (Named) {
        Dataset.SetSpatialRef(Named);
    }
    return true;
}

bool Written(const std::function<bool()>& Write, TalvoGdalFailure* Failure) {
    TFirstFailure First;
    CPLErrorReset();
    bool Made = false;
    {
        const CPLErrorHandlerPusher Noting(NoteFirstFailure, &First);
        Made = Write();
    }
    if (Made && CPLGetLastErrorType() < CE_Failure) {
        return true;
    }
    if (IsRefusedWrite(First.Errno)) {
        return Fail(Failure, TalvoGdalNotWritten, {}, First.Errno);
    }
    return Fail(Failure, LastProblem());
}

bool CopyAsCog(GDALDataset& Source, const TalvoGdalRasterOut& Raster, const char* Path,
               const char* SparseThreads, TalvoGdalProgress Progress, void* ProgressData,
               TalvoGdalFailure* Failure) {
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
    Options.SetNameValue("RESAMPLING", Raster.Overview);
    // Path is the program's locked temporary file: written over, never removed and made anew.
    Options.SetNameValue("QUIET_DELETE_ON_CREATE_COPY", "NO");
    if (SparseThreads) {
        Options.SetNameValue("BIGTIFF", "YES");
        Options.SetNameValue("SPARSE_OK", "TRUE");
        Options.SetNameValue("NUM_THREADS", SparseThreads);
    } else if (Raster.Bands == 3) {
        // A picture (or a red relief) has three times a raster's bytes to compress: its tiles are
        // compressed on every core, a third faster on two.
        Options.SetNameValue("NUM_THREADS", "ALL_CPUS");
    }
    // GDAL keeps the overviews in a temporary file beside the output until it copies them in;
    // compressing them there (ZSTD by default) took half the time of a picture's write. A user's
    // own setting stays.
    const CPLConfigOptionSetter Uncompressed("COG_TMP_COMPRESSION", "NONE", true);
    return Written(
        [&] {
            GDALDatasetUniquePtr Made(
                Cog->CreateCopy(Path, &Source, false, Options.List(), Progress, ProgressData));
            const bool Done = Made != nullptr;
            Made.reset(); // closing writes what GDAL still holds
            return Done;
        },
        Failure);
}

bool WriteGeoTiff(const TalvoGdalRasterOut* Raster, const char* Path, TalvoGdalProgress Progress,
                  void* ProgressData, TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        Start();
        // The program's rows as a dataset with the raster's no data, colours and georeference.
        const GDALDatasetUniquePtr Source(new TRowDataset(*Raster));
        return PlaceDataset(*Raster, *Source, Failure) &&
               CopyAsCog(*Source, *Raster, Path, nullptr, Progress, ProgressData, Failure);
    });
}

} // namespace talvo_gdal
