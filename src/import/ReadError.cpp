#include "import/ReadError.h"

#include <filesystem>

namespace talvo {

ETalvoError ReadError(const std::string& What, const std::string& File, int64_t Line) {
    std::error_code Unknown;
    const std::filesystem::path Full = std::filesystem::absolute(File, Unknown);
    std::string Message = What + '\n' + (Unknown ? File : Full.lexically_normal().string());
    if (Line > 0) {
        Message += ':' + std::to_string(Line);
    }
    return ETalvoError(Message);
}

} // namespace talvo
