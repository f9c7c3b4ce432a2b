#include "platform/FullPath.h"

#include <filesystem>

namespace talvo {

std::string FullPath(const std::string& Path) {
    std::error_code Error;
    const std::filesystem::path Absolute = std::filesystem::absolute(Path, Error);
    return Error ? Path : Absolute.lexically_normal().string();
}

} // namespace talvo
