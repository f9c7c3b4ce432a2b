#include "platform/AtomicFile.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// Path with its symbolic links followed, so that the file they name is replaced, not the link.
std::string FollowLinks(const std::string& Path) {
    std::filesystem::path Current(Path);
    for (int Hop = 0; Hop < 40; ++Hop) {
        std::error_code Error;
        if (!std::filesystem::is_symlink(Current, Error)) {
            break;
        }
        const std::filesystem::path Link = std::filesystem::read_symlink(Current, Error);
        if (Error) {
            break;
        }
        Current = Link.is_absolute() ? Link : Current.parent_path() / Link;
    }
    return Current.string();
}

// Creates ".NAME.XXXXXX" beside Target with mode 0666, which the umask narrows as for any new
// file; -1 when it cannot.
int CreateTemporary(const std::string& Target, std::string& Temporary) {
    const std::filesystem::path TargetPath(Target);
    std::string HiddenName = ".";
    HiddenName += TargetPath.filename().string();
    HiddenName += '.';
    const std::string Prefix = (TargetPath.parent_path() / HiddenName).string();
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device Seed;
    std::mt19937 Random(Seed());
    std::uniform_int_distribution<size_t> Pick(0, sizeof Letters - 2);
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        std::string Name = Prefix;
        for (int I = 0; I < 6; ++I) {
            Name += Letters[Pick(Random)];
        }
        const int Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd >= 0) {
            Temporary = Name;
            return Fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

} // namespace

TAtomicFile::TAtomicFile(std::string Path, TDurability Durability)
    : Path(std::move(Path)), Target(FollowLinks(this->Path)),
      Synced(Durability == TDurability::Synced) {
    struct stat Existing {};
    const bool Exists = ::stat(Target.c_str(), &Existing) == 0;
    int Fd = -1;
    if (Exists && !S_ISREG(Existing.st_mode)) {
        Fd = ::open(Target.c_str(), O_WRONLY | O_CLOEXEC); // a device or a pipe; a folder fails
    } else if (Exists && ::access(Target.c_str(), W_OK) != 0) {
        Fail(); // a file its owner keeps from writing is not replaced behind their back
    } else {
        Fd = CreateTemporary(Target, Temporary);
        if (Fd >= 0 && Exists) {
            ::fchmod(Fd, Existing.st_mode & 07777);
        }
    }
    if (Fd < 0) {
        Fail();
    }
    File.reset(::fdopen(Fd, "wb"));
    if (!File) {
        ::close(Fd);
        Fail();
    }
    Buffer.Attach(File.get()); // pictures and meshes run to megabytes
}

TAtomicFile::~TAtomicFile() {
    File.reset();
    Discard();
}

void TAtomicFile::Commit() {
    bool Written = std::fflush(File.get()) == 0 && !std::ferror(File.get());
    if (Written && Synced && !Temporary.empty()) {
        Written = ::fsync(::fileno(File.get())) == 0;
    }
    Written = std::fclose(File.release()) == 0 && Written;
    if (Written && !Temporary.empty()) {
        // Exchanged rather than renamed over: ext4 writes out a file renamed over another at once,
        // which costs a large picture its time. The earlier file, now under the temporary name,
        // then goes.
        if (::renameat2(AT_FDCWD, Temporary.c_str(), AT_FDCWD, Target.c_str(), RENAME_EXCHANGE) ==
            0) {
            ::unlink(Temporary.c_str());
        } else {
            Written = std::rename(Temporary.c_str(), Target.c_str()) == 0;
        }
    }
    if (!Written) {
        Fail();
    }
    Temporary.clear();
}

void TAtomicFile::Fail() {
    File.reset();
    Discard();
    throw EInOutError(Text(TText::CannotWrite, {Path}));
}

void TAtomicFile::Discard() {
    if (!Temporary.empty()) {
        ::unlink(Temporary.c_str());
        Temporary.clear();
    }
}

} // namespace talvo
