#pragma once

#include <string>

namespace talvo {

// The folder of the running program ("." when the system does not tell).
std::string ExecutableDir();

} // namespace talvo
