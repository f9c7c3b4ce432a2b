#pragma once

#include <cstdint>
#include <string>

#include "platform/Errors.h"

namespace talvo {

// A reader's error about a file: What, then on a new line the file's full path, with ":" and the
// line when Line is above 0. File may name an entry inside an archive ("tiles.zip/a.xml").
ETalvoError ReadError(const std::string& What, const std::string& File, int64_t Line = 0);

} // namespace talvo
