// The GDAL module: the only code that includes GDAL. Built as libtalvo_gdal.so beside the program
// and opened at run time (GdalModuleLoader), it reads band 1 of a raster, also of the one raster
// of a zip the program has listed. Nothing may escape it as a C++ exception: every entry point
// catches and reports.
// A raster is a description anyone can write: GDAL opens only local files of the drivers Talvo
// takes, a VRT only once every file it names has been found to be one too, never over the network,
// never through a raw band, and never writing a cache.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_minixml.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <cstdio>
#include <cstring>
#include <gdal_priv.h>
#include <memory>
#include <mutex>
#include <new>
#include <numbers>
#include <ogr_spatialref.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <type_traits>
#include <vector>

#include "import/gdal/GdalModuleApi.h"
#include "import/gdal/LonLatConversion.h"
#include "import/gdal/ModuleCalls.h"
#include "import/gdal/RasterWriter.h"
#include "import/gdal/SparseWriter.h"

struct TalvoGdalRaster {
    GDALDatasetUniquePtr Dataset;
    GDALRasterBand* Band = nullptr;
    std::string Crs;
    std::vector<std::string> Files;
    std::vector<TalvoGdalGcp> Gcps;
    std::string GcpCrs;
    // A dataset reads on one thread at a time.
    std::mutex Reading;
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

// The raster GDAL reads as Name, of the allowed drivers and checked as a VRT; its files as GDAL
// lists them, each that starts with Inside listed as Outside.
TalvoGdalRaster* OpenDataset(const std::string& Name, TalvoGdalRasterInfo* Info,
                             TalvoGdalFailure* Failure, const std::string& Inside = {},
                             const std::string& Outside = {}) {
    const GDALDriverH Driver = AllowedDriverOf(Name);
    if (!Driver) {
        Fail(Failure, TalvoGdalNotRaster);
        return nullptr;
    }
    if (IsVrt(Driver) && !CheckVrt(Name, 0, Failure)) {
        return nullptr;
    }
    CPLErrorReset();
    auto Raster = std::make_unique<TalvoGdalRaster>();
    Raster->Dataset.reset(GDALDataset::Open(
        Name.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR, DriversFor(Name)));
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
        const bool Within = !Inside.empty() && std::string_view(Files[I]).starts_with(Inside);
        Raster->Files.emplace_back(Within ? Outside : Files[I]);
    }
    *Info = {};
    Describe(*Raster, *Info);
    return Raster.release();
}

TalvoGdalRaster* OpenRaster(const char* Path, TalvoGdalRasterInfo* Info,
                            TalvoGdalFailure* Failure) {
    return Guarded(Failure, static_cast<TalvoGdalRaster*>(nullptr), [&]() -> TalvoGdalRaster* {
        Start();
        if (IsRemoteOrVirtual(Path)) {
            Fail(Failure, TalvoGdalRemoteSource, Path);
            return nullptr;
        }
        return OpenDataset(Path, Info, Failure);
    });
}

// A path inside an archive that stays inside it: relative, without "." or ".." parts.
bool StaysInside(const std::string& Entry) {
    if (Entry.empty() || Entry.front() == '/') {
        return false;
    }
    for (size_t Begin = 0; Begin <= Entry.size();) {
        const size_t End = std::min(Entry.find('/', Begin), Entry.size());
        const std::string_view Part = std::string_view(Entry).substr(Begin, End - Begin);
        if (Part.empty() || Part == "." || Part == "..") {
            return false;
        }
        Begin = End + 1;
    }
    return true;
}

TalvoGdalRaster* OpenZippedRaster(const char* ZipPath, const char* Entry, TalvoGdalRasterInfo* Info,
                                  TalvoGdalFailure* Failure) {
    return Guarded(Failure, static_cast<TalvoGdalRaster*>(nullptr), [&]() -> TalvoGdalRaster* {
        Start();
        if (IsRemoteOrVirtual(ZipPath)) {
            Fail(Failure, TalvoGdalRemoteSource, ZipPath);
            return nullptr;
        }
        if (!StaysInside(Entry)) {
            Fail(Failure, TalvoGdalNotRaster);
            return nullptr;
        }
        // "{...}" keeps an archive's name whole, unless the name holds a brace itself; then the
        // name's own ".zip" ends it.
        const std::string Archive = std::strpbrk(ZipPath, "{}")
                                        ? std::string("/vsizip/") + ZipPath
                                        : std::string("/vsizip/{") + ZipPath + "}";
        return OpenDataset(Archive + "/" + Entry, Info, Failure, Archive + "/", ZipPath);
    });
}

bool ReadCells(TalvoGdalRaster* Raster, int32_t Col, int32_t Row, int32_t Cols, int32_t Rows,
               double* Cells, TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        const std::lock_guard Lock(Raster->Reading);
        CPLErrorReset();
        if (Raster->Band->RasterIO(GF_Read, Col, Row, Cols, Rows, Cells, Cols, Rows, GDT_Float64, 0,
                                   0, nullptr) != CE_None) {
            return Fail(Failure, LastProblem());
        }
        return true;
    });
}

bool ReadWindow(TalvoGdalRaster* Raster, double Col, double Row, double Cols, double Rows,
                int32_t BufCols, int32_t BufRows, double* Cells, TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        const std::lock_guard Lock(Raster->Reading);
        CPLErrorReset();
        const int Width = Raster->Band->GetXSize();
        const int Height = Raster->Band->GetYSize();
        const double Right = Col + Cols;
        const double Bottom = Row + Rows;
        if (!(Col >= 0.0 && Row >= 0.0 && Cols > 0.0 && Rows > 0.0 && Right <= Width &&
              Bottom <= Height && BufCols > 0 && BufRows > 0)) {
            return Fail(Failure, TalvoGdalFailed);
        }
        // The whole cells the window touches; GDAL resamples within them by the exact window.
        const int X = static_cast<int>(std::floor(Col));
        const int Y = static_cast<int>(std::floor(Row));
        const int XSize = std::min(Width, static_cast<int>(std::ceil(Right))) - X;
        const int YSize = std::min(Height, static_cast<int>(std::ceil(Bottom))) - Y;
        GDALRasterIOExtraArg Extra;
        INIT_RASTERIO_EXTRA_ARG(Extra);
        Extra.eResampleAlg = GRIORA_NearestNeighbour;
        Extra.bFloatingPointWindowValidity = TRUE;
        Extra.dfXOff = Col;
        Extra.dfYOff = Row;
        Extra.dfXSize = Cols;
        Extra.dfYSize = Rows;
        if (Raster->Band->RasterIO(GF_Read, X, Y, XSize, YSize, Cells, BufCols, BufRows,
                                   GDT_Float64, 0, 0, &Extra) != CE_None) {
            return Fail(Failure, LastProblem());
        }
        return true;
    });
}

int32_t OverviewCount(const TalvoGdalRaster* Raster) {
    return Raster->Band->GetOverviewCount();
}

void OverviewSize(const TalvoGdalRaster* Raster, int32_t Index, int32_t* Width, int32_t* Height) {
    GDALRasterBand* Overview = Raster->Band->GetOverview(Index);
    *Width = Overview ? Overview->GetXSize() : 0;
    *Height = Overview ? Overview->GetYSize() : 0;
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

bool KnownCrs(const char* Crs, TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        Start();
        OGRSpatialReference Reference;
        if (Reference.SetFromUserInput(Crs, OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS) !=
            OGRERR_NONE) {
            return Fail(Failure, TalvoGdalBadCrs, Crs);
        }
        return true;
    });
}

constexpr TalvoGdalApi Api = {
    TalvoGdalApiVersion,
    OpenRaster,
    ReadCells,
    RasterFileCount,
    RasterFileName,
    CloseRaster,
    RasterCrs,
    OpenZippedRaster,
    WriteGeoTiff,
    RasterGcps,
    RasterGcpCrs,
    PrjCrs,
    KnownCrs,
    ReadWindow,
    OverviewCount,
    OverviewSize,
    WriteSparseGeoTiff,
    OpenLonLat,
    ConvertLonLat,
    CloseLonLat,
};

} // namespace

extern "C" __attribute__((visibility("default"))) const TalvoGdalApi* TalvoGdalModule() {
    return &Api;
}
