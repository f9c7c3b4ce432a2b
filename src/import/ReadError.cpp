#include "import/ReadError.h"

namespace talvo {

ETalvoError ReadError(const std::string& What, const std::string& File, int64_t Line) {
    return Placed(ETalvoError(What), File, Line);
}

} // namespace talvo
