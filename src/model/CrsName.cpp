#include "model/CrsName.h"

#include <array>
#include <utility>

namespace talvo {

std::string CrsName(const std::string& Crs, const std::string& Datum) {
    if (!Datum.empty()) {
        return Datum + " (" + Crs + ")";
    }
    constexpr std::array<std::pair<const char*, const char*>, 4> Known = {{
        {"EPSG:4301", "Tokyo"},
        {"EPSG:4326", "WGS 84"},
        {"EPSG:4612", "JGD2000"},
        {"EPSG:6668", "JGD2011"},
    }};
    for (const auto& [Code, Name] : Known) {
        if (Crs == Code) {
            return std::string(Name) + " (" + Crs + ")";
        }
    }
    const size_t Open = Crs.find('"');
    const size_t Close = Open == std::string::npos ? Open : Crs.find('"', Open + 1);
    return Close == std::string::npos ? Crs : Crs.substr(Open + 1, Close - Open - 1);
}

} // namespace talvo
