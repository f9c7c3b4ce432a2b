#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace talvo {

// Runs the command-line forms that need no display (--info, --help, --version) and returns
// the exit status; returns nothing when the arguments ask for the viewer window.
std::optional<int> RunCommandLine(const std::vector<std::string>& Args, std::ostream& Out,
                                  std::ostream& Err);

} // namespace talvo
