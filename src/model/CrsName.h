#pragma once

#include <string>

namespace talvo {

// A CRS ("EPSG:N" or WKT) as a person reads it: the datums of the documented formats by name with
// their code ("JGD2000 (EPSG:4612)"), another code as it is, a WKT by its own name.
std::string CrsName(const std::string& Crs);

} // namespace talvo
