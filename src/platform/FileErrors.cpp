#include "platform/FileErrors.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace talvo {

EInOutError InOutError(int Errno) {
    switch (Errno) {
    case ENOENT:
        return EInOutError("ﾌｧｲﾙが見つかりません");
    case ENOTDIR:
    case ENAMETOOLONG:
        return EInOutError("ﾊﾟｽが見つかりません");
    case EACCES:
    case EPERM:
    case EISDIR:
        return EInOutError("ﾌｧｲﾙ ｱｸｾｽが拒否されました");
    case EMFILE:
    case ENFILE:
        return EInOutError("ｵｰﾌﾟﾝされているﾌｧｲﾙが多すぎます");
    default:
        return EInOutError("I/O ｴﾗｰ " + std::to_string(Errno) + " (" + std::strerror(Errno) + ")");
    }
}

} // namespace talvo
