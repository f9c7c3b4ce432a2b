#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace talvo {

// Runs the command-line forms that need no display (--info, --render, --mesh, --help,
// --version) and returns the exit status: 2 for a command line that is none of them. Returns
// nothing when the arguments ask for the viewer window, with the file it opens in ViewerFile
// ("" for none).
std::optional<int> RunCommandLine(const std::vector<std::string>& Args, std::ostream& Out,
                                  std::ostream& Err, std::string* ViewerFile = nullptr);

} // namespace talvo
