#include "platform/ExecutablePath.h"

#include <filesystem>

namespace talvo {

std::string ExecutableDir() {
    std::error_code Error;
    std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
    return Error ? std::string(".") : Program.parent_path().string();
}

} // namespace talvo
