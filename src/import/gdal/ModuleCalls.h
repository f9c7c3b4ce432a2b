#pragma once

// What every entry point of the GDAL module does around GDAL: start it once, catch what it throws
// and say why a call failed.

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cstdio>
#include <gdal_priv.h>
#include <mutex>
#include <new>
#include <string>
#include <type_traits>

#include "import/gdal/GdalModuleApi.h"

namespace talvo_gdal {

// The most megabytes of blocks GDAL keeps read or to be written.
constexpr const char* BlockCacheMegabytes = "256";

inline bool Fail(TalvoGdalFailure* Failure, TalvoGdalProblem Problem,
                 const std::string& Detail = {}, int Errno = 0) {
    Failure->Problem = Problem;
    Failure->Errno = Errno;
    std::snprintf(Failure->Detail, sizeof Failure->Detail, "%s", Detail.c_str());
    return false;
}

// What GDAL's last error on this thread says of a failure, in the module's classes.
inline TalvoGdalProblem LastProblem() {
    switch (CPLGetLastErrorNo()) {
    case CPLE_OutOfMemory:
        return TalvoGdalNoMemory;
    case CPLE_NotSupported:
        return TalvoGdalUnsupported;
    case CPLE_FileIO:
    case CPLE_AppDefined:
    case CPLE_OpenFailed:
        return TalvoGdalDamaged;
    default:
        return TalvoGdalFailed;
    }
}

// Drivers registered once; GDAL's messages kept for the module instead of printed; nothing
// fetched over the network or cached on the disk, whatever a file asks.
inline void Start() {
    static std::once_flag Once;
    std::call_once(Once, [] {
        CPLSetErrorHandler(CPLQuietErrorHandler);
        CPLSetConfigOption("GDAL_VRT_ENABLE_RAWRASTERBAND", "NO");
        CPLSetConfigOption("GDAL_VRT_ENABLE_PYTHON", "NO");
        CPLSetConfigOption("GDAL_HTTP_TIMEOUT", "5");
        CPLSetConfigOption("GDAL_HTTP_CONNECTTIMEOUT", "5");
        CPLSetConfigOption("GDAL_HTTP_MAX_RETRY", "0");
        CPLSetConfigOption("CPL_VSIL_CURL_ALLOWED_EXTENSIONS", ".talvo-no-network");
        CPLSetConfigOption("CPL_VSIL_CURL_USE_HEAD", "NO");
        CPLSetConfigOption("GDAL_ENABLE_WMS_CACHE", "NO");
        // Names a zip does not mark as UTF-8 are CP932, as the program lists them.
        CPLSetConfigOption("CPL_ZIP_ENCODING", "CP932");
        // Maps larger than memory are read window by window: the blocks GDAL keeps for them stay
        // within a fixed share, unless the user asked for another.
        if (!CPLGetConfigOption("GDAL_CACHEMAX", nullptr)) {
            CPLSetConfigOption("GDAL_CACHEMAX", BlockCacheMegabytes);
        }
        GDALAllRegister();
    });
    CPLErrorReset();
}

// Body's result, or Failed with the reason in Failure when it throws.
template <typename TBody>
std::invoke_result_t<TBody> Guarded(TalvoGdalFailure* Failure, std::invoke_result_t<TBody> Failed,
                                    TBody Body) {
    try {
        return Body();
    } catch (const std::bad_alloc&) {
        Fail(Failure, TalvoGdalNoMemory);
    } catch (...) {
        Fail(Failure, TalvoGdalFailed);
    }
    return Failed;
}

} // namespace talvo_gdal
