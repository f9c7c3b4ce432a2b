// Longitude and latitude on WGS 84 of a map's coordinates, and back, through OGR's coordinate
// transformation (PROJ).

#include "import/gdal/LonLatConversion.h"

#include <cmath>
#include <memory>
#include <mutex>
#include <ogr_spatialref.h>
#include <vector>

#include "import/gdal/ModuleCalls.h"

struct TalvoGdalLonLat {
    std::unique_ptr<OGRCoordinateTransformation> ToLonLat;
    std::unique_ptr<OGRCoordinateTransformation> FromLonLat;
    // A transformation is not to be used by two threads at once.
    std::mutex Busy;
};

namespace talvo_gdal {

TalvoGdalLonLat* OpenLonLat(const char* Crs, TalvoGdalFailure* Failure) {
    return Guarded(Failure, static_cast<TalvoGdalLonLat*>(nullptr), [&]() -> TalvoGdalLonLat* {
        Start();
        OGRSpatialReference Map;
        OGRSpatialReference Wgs84;
        if (Map.SetFromUserInput(Crs, OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS) !=
                OGRERR_NONE ||
            Wgs84.importFromEPSG(4326) != OGRERR_NONE) {
            Fail(Failure, TalvoGdalBadCrs, Crs);
            return nullptr;
        }
        Map.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        Wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        auto Conversion = std::make_unique<TalvoGdalLonLat>();
        Conversion->ToLonLat.reset(OGRCreateCoordinateTransformation(&Map, &Wgs84));
        Conversion->FromLonLat.reset(OGRCreateCoordinateTransformation(&Wgs84, &Map));
        if (!Conversion->ToLonLat || !Conversion->FromLonLat) {
            Fail(Failure, TalvoGdalBadCrs, Crs);
            return nullptr;
        }
        return Conversion.release();
    });
}

bool ConvertLonLat(TalvoGdalLonLat* Conversion, int ToLonLat, int64_t Count, double* X, double* Y,
                   TalvoGdalFailure* Failure) {
    return Guarded(Failure, false, [&] {
        std::vector<int> Converted(static_cast<size_t>(Count));
        OGRCoordinateTransformation& Transformation =
            ToLonLat ? *Conversion->ToLonLat : *Conversion->FromLonLat;
        {
            std::lock_guard Lock(Conversion->Busy);
            Transformation.Transform(static_cast<size_t>(Count), X, Y, nullptr, nullptr,
                                     Converted.data());
        }
        for (size_t I = 0; I < Converted.size(); ++I) {
            if (!Converted[I] || !std::isfinite(X[I]) || !std::isfinite(Y[I])) {
                X[I] = Y[I] = NAN;
            }
        }
        return true;
    });
}

void CloseLonLat(TalvoGdalLonLat* Conversion) {
    delete Conversion;
}

} // namespace talvo_gdal
