#pragma once

#include <string>
#include <vector>

namespace talvo {

// Whether A and B are one file (the same device and inode), however they are named: through a
// link, another spelling of the folders, another name of a hard link. False when either is
// missing.
bool SameFile(const std::string& A, const std::string& B);

// Refuses, before anything is written, an output that is one of the files being read: raises
// ETalvoError naming both.
void RefuseOverwritingInput(const std::string& Output, const std::vector<std::string>& Inputs);

} // namespace talvo
