#pragma once

#include <cstddef>
#include <cstdint>

// What the GDAL module (libtalvo_gdal.so) offers the program, which opens it at run time only when
// a file needs GDAL: the documented formats never pay GDAL's start-up or memory, and they keep
// working where GDAL is missing. C linkage and plain records, so that the two sides share nothing
// but this header.
// A function that fails returns null, false or -1 and says why in its TalvoGdalFailure; the
// program words it (GDAL's own texts name its functions and sources, in English only).
extern "C" {

constexpr int TalvoGdalApiVersion = 8;
constexpr size_t TalvoGdalMessageBytes = 1024;

// Why a call failed.
enum TalvoGdalProblem : int32_t {
    TalvoGdalFailed,           // GDAL failed without saying why
    TalvoGdalNotRaster,        // none of the drivers Talvo opens reads the file
    TalvoGdalNoBand,           // a raster without bands
    TalvoGdalRemoteSource,     // Detail: a source that is no local file (a URL, /vsicurl/...)
    TalvoGdalRawSource,        // Detail: the file a raw VRT band would read
    TalvoGdalSourceUnreadable, // Detail: a source that cannot be opened, Errno why
    TalvoGdalSourceNotRaster,  // Detail: a source that no driver Talvo opens reads
    TalvoGdalTooDeep,          // VRTs within VRTs beyond TalvoGdalMaxNesting
    TalvoGdalDamaged,          // the file's bytes are not what its format says
    TalvoGdalNoMemory,
    TalvoGdalUnsupported, // a feature of the format that GDAL does not handle
    TalvoGdalBadCrs,      // Detail: a CRS that GDAL does not know
    TalvoGdalNotWritten,  // the file being written refused GDAL's writes, Errno why
};

constexpr int TalvoGdalMaxNesting = 8;

struct TalvoGdalFailure {
    int32_t Problem;
    int32_t Errno;
    char Detail[TalvoGdalMessageBytes];
};

// Band 1 of a raster and where it lies.
struct TalvoGdalRasterInfo {
    int32_t Width;
    int32_t Height;
    int HasTransform;    // 0: the raster is not georeferenced
    double Transform[6]; // GDAL's geotransform: x = T0 + col T1 + row T2, y = T3 + col T4 + row T5
    int Geographic;      // 1: x and y are longitude and latitude
    double DegreesPerUnit; // geographic: one unit of the coordinates in degrees
    double MetresPerUnit;  // otherwise: one unit in metres
    double Scale;
    double Offset;
    int HasNoData;
    double NoData;
    int Complex;       // 1: the cells are complex numbers, not heights
    int BytesPerValue; // of the band's data type
    int Floating;      // 1: the band's values are floating-point numbers
    char Driver[64];   // GDAL's short name, for instance "GTiff"
};

// The cells of a raster to be written.
enum TalvoGdalCellType : int32_t { TalvoGdalFloat32, TalvoGdalInt16, TalvoGdalByte };

// A ground control point: where pixel and line (from the raster's first cell edge) lie.
struct TalvoGdalGcp {
    double Pixel;
    double Line;
    double X;
    double Y;
    double Z;
};

// Puts Cols cells of row Row from column Col, of band Band (from 1), into Cells, as the raster's
// CellType. Returns 0 to stop the write (a cancel, or a failure the program keeps to report).
typedef int (*TalvoGdalRowFill)(void* Data, int32_t Band, int32_t Row, int32_t Col, int32_t Cols,
                                void* Cells);

// How far a write has come, shaped as GDALProgressFunc: Complete runs from 0 to 1; returning 0
// stops the write.
typedef int (*TalvoGdalProgress)(double Complete, const char* Message, void* Data);

// A raster to be written as a Cloud Optimized GeoTIFF: tiled, DEFLATE with the predictor that
// suits its cells, overviews. Its cells are asked for row by row as GDAL writes them.
struct TalvoGdalRasterOut {
    int32_t Width;
    int32_t Height;
    int32_t Bands;    // 1, or 3 for a picture's red, green and blue
    int32_t CellType; // a TalvoGdalCellType
    TalvoGdalRowFill FillRow;
    void* FillData; // FillRow's Data
    int HasNoData;
    double NoData;
    double Transform[6];  // GDAL's geotransform of the cell edges
    const char* Crs;      // "EPSG:N" or WKT; "" for none
    const char* Overview; // how overviews are made: "AVERAGE", "NEAREST", ...
    // Ground control points in place of Transform and Crs, which are then not written.
    int64_t GcpCount;
    const TalvoGdalGcp* Gcps;
    const char* GcpCrs; // "EPSG:N" or WKT; "" for none
};

// Puts the cells of the block of Cols × Rows cells whose north-west cell is at Col, Row into
// Cells, row after row, as the raster's CellType. Returns 1 when it did, -1 when no cell of the
// block has data (the block is left out of the file), 0 to stop the write.
typedef int (*TalvoGdalBlockFill)(void* Data, int32_t Col, int32_t Row, int32_t Cols, int32_t Rows,
                                  void* Cells);

struct TalvoGdalRaster;
// A conversion between a CRS and longitude and latitude on WGS 84.
struct TalvoGdalLonLat;

struct TalvoGdalApi {
    int Version;
    // Opens only local files of the drivers Talvo takes (GTiff, SRTMHGT, AAIGrid, USGSDEM, HFA,
    // VRT); a VRT only when every file it reads is one too, and none through a raw band.
    TalvoGdalRaster* (*OpenRaster)(const char* Path, TalvoGdalRasterInfo* Info,
                                   TalvoGdalFailure* Failure);
    // Cells of band 1 as doubles, unscaled: Rows rows of Cols from column Col, row Row.
    bool (*ReadCells)(TalvoGdalRaster* Raster, int32_t Col, int32_t Row, int32_t Cols, int32_t Rows,
                      double* Cells, TalvoGdalFailure* Failure);
    // Every file the raster reads, as GDAL lists them: the file, its sources and sidecars.
    int64_t (*RasterFileCount)(const TalvoGdalRaster* Raster);
    const char* (*RasterFileName)(const TalvoGdalRaster* Raster, int64_t Index);
    void (*CloseRaster)(TalvoGdalRaster* Raster);
    // The raster's coordinate reference system: "EPSG:N" when GDAL knows its code, else its WKT;
    // "" when it has none. Valid until the raster is closed.
    const char* (*RasterCrs)(const TalvoGdalRaster* Raster);

    // OpenRaster of the entry Entry of the local zip archive ZipPath, through GDAL's /vsizip/: for
    // the program, which has listed the archive, never for a path a user typed. Entry is a path
    // inside the archive that cannot climb out of it; the files listed inside the archive are
    // listed as ZipPath.
    TalvoGdalRaster* (*OpenZippedRaster)(const char* ZipPath, const char* Entry,
                                         TalvoGdalRasterInfo* Info, TalvoGdalFailure* Failure);

    // Raster written as a GeoTIFF into the existing, empty file Path, which the caller puts in
    // place when the call succeeds and removes when it fails; Progress (may be null) hears how
    // far it has come. GDAL's own temporary files, beside Path, are gone when it returns.
    bool (*WriteGeoTiff)(const TalvoGdalRasterOut* Raster, const char* Path,
                         TalvoGdalProgress Progress, void* ProgressData, TalvoGdalFailure* Failure);

    // The raster's ground control points and their CRS (as RasterCrs gives one), valid until it
    // is closed.
    const TalvoGdalGcp* (*RasterGcps)(const TalvoGdalRaster* Raster, int64_t* Count);
    const char* (*RasterGcpCrs)(const TalvoGdalRaster* Raster);
    // The CRS a ".prj" file's text names (ESRI's WKT or its older keyword lines), as RasterCrs
    // gives one, and whether it is geographic; null when GDAL reads no CRS there. Valid until
    // the thread's next call.
    const char* (*PrjCrs)(const char* Text, int* Geographic, TalvoGdalFailure* Failure);
    // Whether GDAL knows the CRS Crs ("EPSG:N"), as WriteGeoTiff would take it; a failure names
    // it with TalvoGdalBadCrs.
    bool (*KnownCrs)(const char* Crs, TalvoGdalFailure* Failure);

    // Cells of band 1 as doubles, unscaled, of the window of Cols × Rows cells from column Col and
    // row Row (fractions of cells allowed), each buffer cell of BufCols × BufRows the cell nearest
    // its centre, read from the overview GDAL finds nearest to that resolution. Calls on one
    // raster from several threads take turns.
    bool (*ReadWindow)(TalvoGdalRaster* Raster, double Col, double Row, double Cols, double Rows,
                       int32_t BufCols, int32_t BufRows, double* Cells, TalvoGdalFailure* Failure);
    // The overviews of band 1, finest first: their number, and the width and height of one.
    int32_t (*OverviewCount)(const TalvoGdalRaster* Raster);
    void (*OverviewSize)(const TalvoGdalRaster* Raster, int32_t Index, int32_t* Width,
                         int32_t* Height);
    // Raster (one band; its FillRow unused) written as WriteGeoTiff does, but as a BigTIFF whose
    // blocks without data are left out, and in bounded memory whatever its size: Fill is asked
    // for its blocks once each, block row after block row from the north, west to east, and they
    // go into a temporary tiled file beside Path, from which the COG is made; GDAL's block cache
    // holds at most CacheBytes meanwhile, and Threads compress (0: as many as the processor runs).
    bool (*WriteSparseGeoTiff)(const TalvoGdalRasterOut* Raster, TalvoGdalBlockFill Fill,
                               void* FillData, const char* Path, int64_t CacheBytes,
                               int32_t Threads, TalvoGdalProgress Progress, void* ProgressData,
                               TalvoGdalFailure* Failure);
    // The conversion between the CRS Crs (as RasterCrs gives one) and longitude and latitude on
    // WGS 84, x east and y north on both sides whatever order the CRSs give their axes; a failure
    // names Crs with TalvoGdalBadCrs when PROJ finds no way between them. One conversion may be
    // used from several threads.
    TalvoGdalLonLat* (*OpenLonLat)(const char* Crs, TalvoGdalFailure* Failure);
    // Count points (X[i], Y[i]) converted in place: to longitude and latitude when ToLonLat is
    // 1, from them when it is 0. A point that does not convert becomes NaN, NaN.
    bool (*ConvertLonLat)(TalvoGdalLonLat* Conversion, int ToLonLat, int64_t Count, double* X,
                          double* Y, TalvoGdalFailure* Failure);
    void (*CloseLonLat)(TalvoGdalLonLat* Conversion);
};

// The module's one exported symbol.
const TalvoGdalApi* TalvoGdalModule();
}
