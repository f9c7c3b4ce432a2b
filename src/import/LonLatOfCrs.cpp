#include "import/LonLatOfCrs.h"

#include <cmath>
#include <mutex>

#include "import/GdalModuleLoader.h"
#include "platform/Errors.h"

namespace talvo {

namespace {

class TGdalLonLat final : public TLonLatConversion {
  public:
    explicit TGdalLonLat(std::string Crs) : FCrs(std::move(Crs)) {}
    TGdalLonLat(const TGdalLonLat&) = delete;
    TGdalLonLat& operator=(const TGdalLonLat&) = delete;
    ~TGdalLonLat() override {
        if (FConversion) {
            FModule->CloseLonLat(FConversion);
        }
    }

    std::optional<TMapPoint> ToLonLat(TMapPoint Point) const override { return Convert(Point, 1); }
    std::optional<TMapPoint> FromLonLat(TMapPoint LonLat) const override {
        return Convert(LonLat, 0);
    }

  private:
    std::optional<TMapPoint> Convert(TMapPoint Point, int ToLonLat) const {
        TalvoGdalLonLat* Conversion = Opened();
        TalvoGdalFailure Failure{};
        if (!Conversion ||
            !FModule->ConvertLonLat(Conversion, ToLonLat, 1, &Point.X, &Point.Y, &Failure) ||
            std::isnan(Point.X)) {
            return std::nullopt;
        }
        return Point;
    }

    TalvoGdalLonLat* Opened() const {
        std::call_once(FOpen, [this] {
            try {
                TalvoGdalFailure Failure{};
                FModule = &GdalModule();
                FConversion = FModule->OpenLonLat(FCrs.c_str(), &Failure);
            } catch (const ETalvoError&) {
                // Without the module no point converts: the readout gives the map's own.
            }
        });
        return FConversion;
    }

    std::string FCrs;
    mutable std::once_flag FOpen;
    mutable const TalvoGdalApi* FModule = nullptr;
    mutable TalvoGdalLonLat* FConversion = nullptr;
};

} // namespace

std::shared_ptr<const TLonLatConversion> LonLatOfCrs(const std::string& Crs) {
    return std::make_shared<const TGdalLonLat>(Crs);
}

void AttachLonLat(TLoadedMap& Map) {
    const TGeoreference& Place = Map.Georeference;
    Map.Georeference.LonLat = Map.NumHeader.Projected && Place.Georeferenced && !Place.Crs.empty()
                                  ? LonLatOfCrs(Place.Crs)
                                  : nullptr;
}

} // namespace talvo
