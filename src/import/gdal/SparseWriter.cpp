// Writes a raster of any size as a sparse Cloud Optimized GeoTIFF in bounded memory. The COG
// driver reads its source more than once (for the overviews, then for the file), and the program's
// blocks cost a parse each: they are asked for once, into a tiled BigTIFF beside the output that
// leaves out the blocks without data, and the COG is copied from there, GDAL's block cache capped
// all along.

#include "import/gdal/SparseWriter.h"

#include <algorithm>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <string>
#include <vector>

#include "import/gdal/ModuleCalls.h"
#include "import/gdal/RasterWriter.h"
#include "import/gdal/RowDataset.h"

namespace talvo_gdal {

namespace {

// The blocks of the file, which a COG's own are.
constexpr int BlockSize = 512;
// The part of the progress the blocks take; copying them into the COG takes the rest.
constexpr double BlocksShare = 0.75;

// GDAL's block cache held to a size while it lives, then given back its own.
class TCacheCap {
  public:
    explicit TCacheCap(int64_t Bytes) : Before(GDALGetCacheMax64()) { GDALSetCacheMax64(Bytes); }
    ~TCacheCap() { GDALSetCacheMax64(Before); }
    TCacheCap(const TCacheCap&) = delete;
    TCacheCap& operator=(const TCacheCap&) = delete;

  private:
    GIntBig Before;
};

// A file of GDAL's that goes when the write is over, made or not.
class TPassingFile {
  public:
    explicit TPassingFile(std::string Path) : Path(std::move(Path)) {}
    ~TPassingFile() { VSIUnlink(Path.c_str()); }
    TPassingFile(const TPassingFile&) = delete;
    TPassingFile& operator=(const TPassingFile&) = delete;

    const char* Name() const { return Path.c_str(); }

  private:
    std::string Path;
};

// The raster's blocks, as Fill gives them, in the tiled file Into; the blocks without data left
// out.
bool WriteBlocks(const TalvoGdalRasterOut& Raster, TalvoGdalBlockFill Fill, void* FillData,
                 const char* Into, const char* Threads, TalvoGdalProgress Progress,
                 void* ProgressData, TalvoGdalFailure* Failure) {
    GDALDriver* Tiff = GetGDALDriverManager()->GetDriverByName("GTiff");
    if (!Tiff) {
        return Fail(Failure, TalvoGdalUnsupported, "GTiff");
    }
    const GDALDataType Type = DataTypeOf(Raster.CellType);
    CPLStringList Options;
    Options.SetNameValue("TILED", "YES");
    Options.SetNameValue("BLOCKXSIZE", std::to_string(BlockSize).c_str());
    Options.SetNameValue("BLOCKYSIZE", std::to_string(BlockSize).c_str());
    Options.SetNameValue("BIGTIFF", "YES");
    Options.SetNameValue("SPARSE_OK", "TRUE");
    // Read once, soon after: the fastest compression that still keeps the file small.
    Options.SetNameValue("COMPRESS", "ZSTD");
    Options.SetNameValue("ZSTD_LEVEL", "1");
    Options.SetNameValue("NUM_THREADS", Threads);
    return Written(
        [&] {
            GDALDatasetUniquePtr Blocks(
                Tiff->Create(Into, Raster.Width, Raster.Height, 1, Type, Options.List()));
            if (!Blocks || !PlaceDataset(Raster, *Blocks, Failure)) {
                return false;
            }
            GDALRasterBand* Band = Blocks->GetRasterBand(1);
            std::vector<GByte> Cells(static_cast<size_t>(BlockSize) * BlockSize *
                                     static_cast<size_t>(GDALGetDataTypeSizeBytes(Type)));
            for (int Row = 0; Row < Raster.Height; Row += BlockSize) {
                const int Rows = std::min(BlockSize, Raster.Height - Row);
                for (int Col = 0; Col < Raster.Width; Col += BlockSize) {
                    const int Cols = std::min(BlockSize, Raster.Width - Col);
                    const int Filled = Fill(FillData, Col, Row, Cols, Rows, Cells.data());
                    if (Filled == 0) {
                        CPLError(CE_Failure, CPLE_UserInterrupt, "stopped by the program");
                        return false;
                    }
                    if (Filled > 0 && Band->RasterIO(GF_Write, Col, Row, Cols, Rows, Cells.data(),
                                                     Cols, Rows, Type, 0, 0) != CE_None) {
                        return false;
                    }
                }
                const double Done = static_cast<double>(Row + Rows) / Raster.Height;
                if (Progress && !Progress(Done * BlocksShare, "", ProgressData)) {
                    CPLError(CE_Failure, CPLE_UserInterrupt, "stopped by the program");
                    return false;
                }
            }
            Blocks.reset(); // closing writes what GDAL still holds; a failure shows as an error
            return true;
        },
        Failure);
}

} // namespace

bool WriteSparseGeoTiff(const TalvoGdalRasterOut* Raster, TalvoGdalBlockFill Fill, void* FillData,
                        const char* Path, int64_t CacheBytes, int32_t Threads,
                        TalvoGdalProgress Progress, void* ProgressData, TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        Start();
        const TCacheCap Cap(CacheBytes);
        // Beside Path and named after it, so that what a killed run leaves goes with its file.
        const TPassingFile Blocks(std::string(Path) + ".blocks.tif");
        const std::string Compressing = Threads > 0 ? std::to_string(Threads) : "ALL_CPUS";
        if (!WriteBlocks(*Raster, Fill, FillData, Blocks.Name(), Compressing.c_str(), Progress,
                         ProgressData, Failure)) {
            return false;
        }
        const char* const OnlyTiff[] = {"GTiff", nullptr};
        GDALDatasetUniquePtr Source(GDALDataset::Open(
            Blocks.Name(), GDAL_OF_RASTER | GDAL_OF_READONLY, OnlyTiff, nullptr, nullptr));
        if (!Source) {
            return Fail(Failure, LastProblem());
        }
        void* Rest = GDALCreateScaledProgress(BlocksShare, 1.0, Progress, ProgressData);
        const bool Made = CopyAsCog(*Source, *Raster, Path, Compressing.c_str(),
                                    Progress ? GDALScaledProgress : nullptr, Rest, Failure);
        GDALDestroyScaledProgress(Rest);
        return Made;
    });
}

} // namespace talvo_gdal
