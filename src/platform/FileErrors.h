#pragma once

#include <string>

#include "platform/Errors.h"

namespace talvo {

// The EInOutError with the message a user of the program knows for the system error Errno, for
// instance "ﾌｧｲﾙが見つかりません" for a missing file. The caller raises it, with its place.
EInOutError InOutError(int Errno);

// Why a write failed with the system error Errno, in words a user acts on ("no space left on the
// device"); the system's own text for the rarer errors.
std::string WriteFailureReason(int Errno);

// Makes the folder Path and the folders above it that are missing; raises EInOutError naming
// Path, with WriteFailureReason's words, when one cannot be made.
void CreateFolders(const std::string& Path);

} // namespace talvo
