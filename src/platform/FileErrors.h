#pragma once

namespace talvo {

// Raises EInOutError with the message a user of the program knows for the system error
// Errno, for instance "ﾌｧｲﾙが見つかりません" for a missing file.
[[noreturn]] void RaiseInOutError(int Errno);

} // namespace talvo
