#include "platform/FileErrors.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/Errors.h"

namespace talvo {

void RaiseInOutError(int Errno) {
    switch (Errno) {
    case ENOENT:
        throw EInOutError("ﾌｧｲﾙが見つかりません");
    case ENOTDIR:
    case ENAMETOOLONG:
        throw EInOutError("ﾊﾟｽが見つかりません");
    case EACCES:
    case EPERM:
    case EISDIR:
        throw EInOutError("ﾌｧｲﾙ ｱｸｾｽが拒否されました");
    case EMFILE:
    case ENFILE:
        throw EInOutError("ｵｰﾌﾟﾝされているﾌｧｲﾙが多すぎます");
    default:
        throw EInOutError("I/O ｴﾗｰ " + std::to_string(Errno) + " (" + std::strerror(Errno) + ")");
    }
}

} // namespace talvo
