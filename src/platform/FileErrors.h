#pragma once

#include "platform/Errors.h"

namespace talvo {

// The EInOutError with the message a user of the program knows for the system error Errno, for
// instance "ﾌｧｲﾙが見つかりません" for a missing file. The caller raises it, with its place.
EInOutError InOutError(int Errno);

} // namespace talvo
