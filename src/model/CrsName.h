#pragma once

#include <string>

namespace talvo {

// A CRS ("EPSG:N" or WKT) as a person reads it: the datums of the documented formats by name with
// their code ("JGD2000 (EPSG:4612)"), another code as it is, a WKT by its own name. A Datum the
// file named comes before the code in place of the code's own name ("JGD2024 (EPSG:6668)").
std::string CrsName(const std::string& Crs, const std::string& Datum = "");

} // namespace talvo
