#include "platform/FileErrors.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/Messages.h"

namespace talvo {

EInOutError InOutError(int Errno) {
    switch (Errno) {
    case ENOENT:
        return EInOutError(Text(TText::FileNotFound));
    case ENOTDIR:
    case ENAMETOOLONG:
        return EInOutError(Text(TText::PathNotFound));
    case EACCES:
    case EPERM:
    case EISDIR:
        return EInOutError(Text(TText::AccessDenied));
    case EMFILE:
    case ENFILE:
        return EInOutError(Text(TText::TooManyOpenFiles));
    default:
        return EInOutError(Text(TText::InOutError, {std::to_string(Errno), std::strerror(Errno)}));
    }
}

std::string WriteFailureReason(int Errno) {
    switch (Errno) {
    case ENOSPC:
    case EDQUOT:
        return Text(TText::NoSpaceLeft);
    case EROFS:
        return Text(TText::FileSystemReadOnly);
    case EACCES:
    case EPERM:
        return Text(TText::FolderReadOnly);
    case ENAMETOOLONG:
        return Text(TText::NameTooLong);
    case ENOENT:
        return Text(TText::FolderMissing);
    case ENOTDIR:
    case EEXIST:
        return Text(TText::NotAFolder);
    case EISDIR:
        return Text(TText::TargetIsAFolder);
    default:
        return std::strerror(Errno);
    }
}

void CreateFolders(const std::string& Path) {
    std::error_code Error;
    std::filesystem::create_directories(Path, Error);
    if (Error) {
        throw EInOutError(
            Text(TText::CannotWriteBecause, {Path, WriteFailureReason(Error.value())}));
    }
}

} // namespace talvo
