#pragma once

#include <cstddef>
#include <cstdint>

// What the GDAL module (libtalvo_gdal.so) offers the program, which opens it at run time only when
// a file needs GDAL: the documented formats never pay GDAL's start-up or memory, and they keep
// working where GDAL is missing. C linkage and plain records, so that the two sides share nothing
// but this header.
// A function that fails returns null or false and leaves a UTF-8 message in Message, which holds
// TalvoGdalMessageBytes bytes.
extern "C" {

constexpr int TalvoGdalApiVersion = 2;
constexpr size_t TalvoGdalMessageBytes = 1024;

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
    char Driver[64];   // GDAL's short name, for instance "GTiff"
};

struct TalvoGdalRaster;
struct TalvoGdalZip;

struct TalvoGdalApi {
    int Version;
    TalvoGdalRaster* (*OpenRaster)(const char* Path, TalvoGdalRasterInfo* Info, char* Message);
    // Rows First to First + Count - 1 of band 1 as doubles, unscaled.
    bool (*ReadRows)(TalvoGdalRaster* Raster, int32_t First, int32_t Count, double* Cells,
                     char* Message);
    void (*CloseRaster)(TalvoGdalRaster* Raster);
    // The raster's coordinate reference system: "EPSG:N" when GDAL knows its code, else its WKT;
    // "" when it has none. Valid until the raster is closed.
    const char* (*RasterCrs)(const TalvoGdalRaster* Raster);

    // The files of a zip archive, read through GDAL's /vsizip/ file system.
    TalvoGdalZip* (*OpenZip)(const char* Path, char* Message);
    int64_t (*ZipEntryCount)(const TalvoGdalZip* Zip);
    // The path of entry Index inside the archive, and its size unpacked as the archive declares.
    const char* (*ZipEntryName)(const TalvoGdalZip* Zip, int64_t Index);
    uint64_t (*ZipEntrySize)(const TalvoGdalZip* Zip, int64_t Index);
    // Exactly Bytes bytes of entry Index; an entry that unpacks to more or fewer fails.
    bool (*ReadZipEntry)(TalvoGdalZip* Zip, int64_t Index, char* Buffer, uint64_t Bytes,
                         char* Message);
    void (*CloseZip)(TalvoGdalZip* Zip);
};

// The module's one exported symbol.
const TalvoGdalApi* TalvoGdalModule();
}
