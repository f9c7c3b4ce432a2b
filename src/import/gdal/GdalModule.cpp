// The GDAL module: the only code that includes GDAL. Built as libtalvo_gdal.so beside the program
// and opened at run time (GdalModuleLoader), it reads band 1 of a raster and the entries of a zip
// archive. Nothing may escape it as a C++ exception: every entry point catches and reports.
// A raster is a description anyone can write: GDAL opens only local files of the drivers Talvo
// takes, a VRT only once every file it names has been found to be one too, never over the network,
// never through a raw band, and never writing a cache.

#include <cerrno>
#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_minixml.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <cpl_vsi_virtual.h>
#include <cstdio>
#include <cstring>
#include <gdal_priv.h>
#include <memory>
#include <mutex>
#include <new>
#include <numbers>
#include <ogr_spatialref.h>
#include <string>
#include <sys/stat.h>
#include <type_traits>
#include <vector>

#include "import/gdal/GdalModuleApi.h"
#include "import/gdal/ModuleCalls.h"
#include "import/gdal/RasterWriter.h"

struct TalvoGdalRaster {
    GDALDatasetUniquePtr Dataset;
    GDALRasterBand* Band = nullptr;
    std::string Crs;
    std::vector<std::string> Files;
    std::vector<TalvoGdalGcp> Gcps;
    std::string GcpCrs;
};

struct TalvoGdalZip {
    std::string Root; // "/vsizip/{archive}"
    std::vector<std::string> Names;
    std::vector<uint64_t> Sizes;
};

struct TalvoGdalZipEntry {
    VSILFILE* File = nullptr;
    ~TalvoGdalZipEntry() {
        if (File) {
            VSIFCloseL(File);
        }
    }
};

namespace {

using namespace talvo_gdal;

// The drivers of the extensions Talvo gives GDAL, and no other: GDAL's remaining drivers stay
// registered for writing, but none of them opens what a user is shown.
const char* const AllowedDrivers[] = {"GTiff", "SRTMHGT", "AAIGrid", "USGSDEM",
                                      "HFA",   "VRT",     nullptr};
// A .bil whose header the program's own reader declines (floating or wide cells, several bands)
// is GDAL's EHdr; the driver takes no file of another name.
const char* const BilDrivers[] = {"GTiff", "SRTMHGT", "AAIGrid", "USGSDEM",
                                  "HFA",   "VRT",     "EHdr",    nullptr};
// Zip entries are read in pieces: GDAL checks a whole request's CRC in one long pass otherwise.
constexpr size_t ZipPieceBytes = size_t{16} << 20;

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

// A name that GDAL would not read as a plain local file: one of its virtual file systems
// (/vsicurl/, /vsis3/, /vsizip/, ...), a URL, a connection string ("WMS:...", "MEM:::...") or a
// description written in place.
bool IsRemoteOrVirtual(const std::string& Name) {
    const CPLStringList Prefixes(VSIGetFileSystemsPrefixes());
    for (int I = 0; I < Prefixes.size(); ++I) {
        // "/vsicurl/" is also written "/vsicurl?url=...".
        const std::string Prefix = std::string(Prefixes[I]).substr(0, std::strlen(Prefixes[I]) - 1);
        if (!Prefix.empty() && Name.starts_with(Prefix)) {
            return true;
        }
    }
    const size_t Colon = Name.find(':');
    return Name.starts_with("<") || (Colon != std::string::npos && Colon < Name.find('/'));
}

const char* const* DriversFor(const std::string& Path) {
    return EQUAL(CPLGetExtension(Path.c_str()), "bil") ? BilDrivers : AllowedDrivers;
}

GDALDriverH AllowedDriverOf(const std::string& Path) {
    return GDALIdentifyDriverEx(Path.c_str(), GDAL_OF_RASTER, DriversFor(Path), nullptr);
}

bool IsVrt(GDALDriverH Driver) {
    return Driver && std::strcmp(GDALGetDriverShortName(Driver), "VRT") == 0;
}

struct TXmlFree {
    void operator()(CPLXMLNode* Node) const { CPLDestroyXMLNode(Node); }
};

bool CheckVrt(const std::string& Path, int Depth, TalvoGdalFailure* Failure);

// A file that a VRT at VrtPath names in Node, checked as the VRT itself is.
bool CheckSource(const std::string& VrtPath, const CPLXMLNode& Node, int Depth,
                 TalvoGdalFailure* Failure) {
    const std::string Name = CPLGetXMLValue(&Node, nullptr, "");
    if (IsRemoteOrVirtual(Name)) {
        return Fail(Failure, TalvoGdalRemoteSource, Name);
    }
    const bool Relative = CPLTestBool(CPLGetXMLValue(&Node, "relativeToVRT", "0")) &&
                          CPLIsFilenameRelative(Name.c_str());
    const std::string Source =
        Relative ? CPLProjectRelativeFilename(CPLGetPath(VrtPath.c_str()), Name.c_str()) : Name;
    struct stat Status {};
    if (::stat(Source.c_str(), &Status) != 0) {
        return Fail(Failure, TalvoGdalSourceUnreadable, Source, errno);
    }
    if (!S_ISREG(Status.st_mode)) {
        return Fail(Failure, TalvoGdalSourceUnreadable, Source,
                    S_ISDIR(Status.st_mode) ? EISDIR : EINVAL);
    }
    const GDALDriverH Driver = AllowedDriverOf(Source);
    if (!Driver) {
        return Fail(Failure, TalvoGdalSourceNotRaster, Source);
    }
    return !IsVrt(Driver) || CheckVrt(Source, Depth + 1, Failure);
}

// Every file the VRT at Path names, as a source of any kind, and the VRTs among them in turn.
bool CheckVrt(const std::string& Path, int Depth, TalvoGdalFailure* Failure) {
    if (Depth > TalvoGdalMaxNesting) {
        return Fail(Failure, TalvoGdalTooDeep);
    }
    const std::unique_ptr<CPLXMLNode, TXmlFree> Root(CPLParseXMLFile(Path.c_str()));
    if (!Root) {
        return Fail(Failure, TalvoGdalDamaged);
    }
    std::vector<const CPLXMLNode*> Pending = {Root.get()};
    while (!Pending.empty()) {
        const CPLXMLNode* Node = Pending.back();
        Pending.pop_back();
        if (Node->psNext) {
            Pending.push_back(Node->psNext);
        }
        if (Node->eType != CXT_Element) {
            continue;
        }
        if (EQUAL(Node->pszValue, "VRTRasterBand") &&
            EQUAL(CPLGetXMLValue(Node, "subClass", ""), "VRTRawRasterBand")) {
            return Fail(Failure, TalvoGdalRawSource, CPLGetXMLValue(Node, "SourceFilename", ""));
        }
        if (EQUAL(Node->pszValue, "SourceFilename") || EQUAL(Node->pszValue, "SourceDataset")) {
            if (!CheckSource(Path, *Node, Depth, Failure)) {
                return false;
            }
            continue;
        }
        if (Node->psChild) {
            Pending.push_back(Node->psChild);
        }
    }
    return true;
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
    Info.Floating = GDALDataTypeIsFloating(Band.GetRasterDataType());
    std::snprintf(Info.Driver, sizeof Info.Driver, "%s", Dataset.GetDriverName());
    const GDAL_GCP* Gcps = Dataset.GetGCPs();
    for (int I = 0; I < Dataset.GetGCPCount(); ++I) {
        const GDAL_GCP& Gcp = Gcps[I];
        Raster.Gcps.push_back({Gcp.dfGCPPixel, Gcp.dfGCPLine, Gcp.dfGCPX, Gcp.dfGCPY, Gcp.dfGCPZ});
    }
    if (const OGRSpatialReference* Reference = Dataset.GetGCPSpatialRef()) {
        Raster.GcpCrs = CrsText(*Reference);
    }
}

TalvoGdalRaster* OpenRaster(const char* Path, TalvoGdalRasterInfo* Info,
                            TalvoGdalFailure* Failure) {
    return Guarded(Failure, static_cast<TalvoGdalRaster*>(nullptr), [&]() -> TalvoGdalRaster* {
        Start();
        if (IsRemoteOrVirtual(Path)) {
            Fail(Failure, TalvoGdalRemoteSource, Path);
            return nullptr;
        }
        const GDALDriverH Driver = AllowedDriverOf(Path);
        if (!Driver) {
            Fail(Failure, TalvoGdalNotRaster);
            return nullptr;
        }
        if (IsVrt(Driver) && !CheckVrt(Path, 0, Failure)) {
            return nullptr;
        }
        CPLErrorReset();
        auto Raster = std::make_unique<TalvoGdalRaster>();
        Raster->Dataset.reset(GDALDataset::Open(
            Path, GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR, DriversFor(Path)));
        if (!Raster->Dataset) {
            Fail(Failure, LastProblem());
            return nullptr;
        }
        if (Raster->Dataset->GetRasterCount() < 1) {
            Fail(Failure, TalvoGdalNoBand);
            return nullptr;
        }
        Raster->Band = Raster->Dataset->GetRasterBand(1);
        const CPLStringList Files(Raster->Dataset->GetFileList());
        for (int I = 0; I < Files.size(); ++I) {
            Raster->Files.emplace_back(Files[I]);
        }
        *Info = {};
        Describe(*Raster, *Info);
        return Raster.release();
    });
}

bool ReadCells(TalvoGdalRaster* Raster, int32_t Col, int32_t Row, int32_t Cols, int32_t Rows,
               double* Cells, TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        CPLErrorReset();
        if (Raster->Band->RasterIO(GF_Read, Col, Row, Cols, Rows, Cells, Cols, Rows, GDT_Float64, 0,
                                   0, nullptr) != CE_None) {
            return Fail(Failure, LastProblem());
        }
        return true;
    });
}

int64_t RasterFileCount(const TalvoGdalRaster* Raster) {
    return static_cast<int64_t>(Raster->Files.size());
}

const char* RasterFileName(const TalvoGdalRaster* Raster, int64_t Index) {
    return Raster->Files[static_cast<size_t>(Index)].c_str();
}

void CloseRaster(TalvoGdalRaster* Raster) {
    delete Raster;
}

const char* RasterCrs(const TalvoGdalRaster* Raster) {
    return Raster->Crs.c_str();
}

const TalvoGdalGcp* RasterGcps(const TalvoGdalRaster* Raster, int64_t* Count) {
    *Count = static_cast<int64_t>(Raster->Gcps.size());
    return Raster->Gcps.data();
}

const char* RasterGcpCrs(const TalvoGdalRaster* Raster) {
    return Raster->GcpCrs.c_str();
}

const char* PrjCrs(const char* Text, int* Geographic, TalvoGdalFailure* Failure) {
    return Guarded(Failure, static_cast<const char*>(nullptr), [&]() -> const char* {
        Start();
        thread_local std::string Crs;
        CPLStringList Lines(CSLTokenizeString2(Text, "\r\n", 0));
        OGRSpatialReference Reference;
        if (Lines.empty() || Reference.importFromESRI(Lines.List()) != OGRERR_NONE ||
            !(Reference.IsGeographic() || Reference.IsProjected())) {
            Fail(Failure, TalvoGdalBadCrs);
            return nullptr;
        }
        // ESRI's names for EPSG's systems ("GCS_WGS_1984"): the code when GDAL is sure of it.
        const std::unique_ptr<OGRSpatialReference, void (*)(OGRSpatialReference*)> Match(
            Reference.FindBestMatch(), [](OGRSpatialReference* Found) { Found->Release(); });
        Crs = CrsText(Match ? *Match : Reference);
        *Geographic = Reference.IsGeographic();
        return Crs.c_str();
    });
}

TalvoGdalZip* OpenZip(const char* Path, TalvoGdalFailure* Failure) {
    return Guarded(Failure, static_cast<TalvoGdalZip*>(nullptr), [&]() -> TalvoGdalZip* {
        Start();
        auto Zip = std::make_unique<TalvoGdalZip>();
        // "{...}" keeps an archive's name whole, unless the name holds a brace itself; then the
        // name's own ".zip" ends it.
        Zip->Root = std::strpbrk(Path, "{}") ? std::string("/vsizip/") + Path
                                             : std::string("/vsizip/{") + Path + "}";
        // The archive's table of entries, read once: listing it folder by folder, as
        // VSIReadDirRecursive does, scans every entry again for each one.
        auto& Zips =
            static_cast<VSIArchiveFilesystemHandler&>(*VSIFileManager::GetHandler("/vsizip/"));
        const VSIArchiveContent* Content = Zips.GetContentOfArchive(Path);
        if (!Content) {
            Fail(Failure, TalvoGdalNotZip);
            return nullptr;
        }
        for (int I = 0; I < Content->nEntries; ++I) {
            const VSIArchiveEntry& Entry = Content->entries[I];
            if (!Entry.bIsDir) {
                Zip->Names.emplace_back(Entry.fileName);
                Zip->Sizes.push_back(static_cast<uint64_t>(Entry.uncompressed_size));
            }
        }
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

TalvoGdalZipEntry* OpenZipEntry(TalvoGdalZip* Zip, int64_t Index, TalvoGdalFailure* Failure) {
    return Guarded(Failure, static_cast<TalvoGdalZipEntry*>(nullptr), [&]() -> TalvoGdalZipEntry* {
        CPLErrorReset();
        auto Entry = std::make_unique<TalvoGdalZipEntry>();
        const std::string Inside = Zip->Root + "/" + Zip->Names[static_cast<size_t>(Index)];
        Entry->File = VSIFOpenL(Inside.c_str(), "rb");
        if (!Entry->File) {
            Fail(Failure, TalvoGdalDamaged);
            return nullptr;
        }
        return Entry.release();
    });
}

int64_t ReadZipEntry(TalvoGdalZipEntry* Entry, char* Buffer, uint64_t Bytes,
                     TalvoGdalFailure* Failure) {
    return Guarded(Failure, int64_t{-1}, [&]() -> int64_t {
        CPLErrorReset();
        uint64_t Got = 0;
        while (Got < Bytes) {
            const size_t Piece =
                static_cast<size_t>(std::min<uint64_t>(Bytes - Got, ZipPieceBytes));
            const size_t Read = VSIFReadL(Buffer + Got, 1, Piece, Entry->File);
            Got += Read;
            if (Read < Piece) {
                if (!VSIFEofL(Entry->File) || CPLGetLastErrorType() >= CE_Failure) {
                    Fail(Failure, TalvoGdalDamaged);
                    return -1;
                }
                break;
            }
        }
        return static_cast<int64_t>(Got);
    });
}

void CloseZipEntry(TalvoGdalZipEntry* Entry) {
    delete Entry;
}

void CloseZip(TalvoGdalZip* Zip) {
    delete Zip;
}

constexpr TalvoGdalApi Api = {
    TalvoGdalApiVersion, OpenRaster,   ReadCells,    RasterFileCount, RasterFileName,
    CloseRaster,         RasterCrs,    OpenZip,      ZipEntryCount,   ZipEntryName,
    ZipEntrySize,        OpenZipEntry, ReadZipEntry, CloseZipEntry,   CloseZip,
    WriteGeoTiff,        FreeBytes,    RasterGcps,   RasterGcpCrs,    PrjCrs,
};

} // namespace

extern "C" __attribute__((visibility("default"))) const TalvoGdalApi* TalvoGdalModule() {
    return &Api;
}
