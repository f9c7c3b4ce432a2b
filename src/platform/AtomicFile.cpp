#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

constexpr std::string_view Letters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t RandomLetters = 6;
// Written bytes handed to the disk's writeback at a time.
constexpr size_t WritebackBytes = size_t{8} << 20;

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

// Root may write any file: one that nobody may write was made read-only by its owner on purpose.
bool MayReplace(const std::string& Target, const struct stat& Existing) {
    return ::access(Target.c_str(), W_OK) == 0 && (::geteuid() != 0 || (Existing.st_mode & 0222));
}

// ".NAME." beside Target: the temporary files' names without their random letters. NAME is cut,
// never inside a UTF-8 character, so that a target whose name is near the longest allowed can
// still be written.
std::filesystem::path TemporaryStem(const std::string& Target) {
    const std::filesystem::path TargetPath(Target);
    std::string Name = TargetPath.filename().string();
    const size_t Room = NAME_MAX - 2 - RandomLetters;
    if (Name.size() > Room) {
        size_t Cut = Room;
        while (Cut > 0 && (static_cast<unsigned char>(Name[Cut]) & 0xC0) == 0x80) {
            --Cut;
        }
        Name.resize(Cut);
    }
    std::string Hidden = ".";
    Hidden += Name;
    Hidden += '.';
    return TargetPath.parent_path() / Hidden;
}

bool IsTemporaryName(std::string_view Name, std::string_view Stem) {
    return Name.size() == Stem.size() + RandomLetters && Name.starts_with(Stem) &&
           Name.substr(Stem.size()).find_first_not_of(Letters) == std::string_view::npos;
}

// ".NAME.XXXXXX.ovr.tmp" and the like: what a writer of the temporary file made beside it.
bool IsBesideTemporary(std::string_view Name, std::string_view Stem) {
    const size_t Owner = Stem.size() + RandomLetters;
    return Name.size() > Owner + 1 && Name[Owner] == '.' &&
           IsTemporaryName(Name.substr(0, Owner), Stem);
}

// A descriptor of Candidate, a regular file whose writer is gone: its lock was free, and is now
// ours. -1 when it is held, missing or no regular file.
int TakeAbandoned(const std::filesystem::path& Candidate) {
    int Fd = ::open(Candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) {
        Fd = ::open(Candidate.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    }
    if (Fd < 0) {
        return -1;
    }
    struct stat Opened {
    }, Named{};
    if (::flock(Fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(Fd, &Opened) == 0 &&
        ::lstat(Candidate.c_str(), &Named) == 0 && S_ISREG(Opened.st_mode) &&
        Opened.st_dev == Named.st_dev && Opened.st_ino == Named.st_ino) {
        return Fd;
    }
    ::close(Fd);
    return -1;
}

// Removes the temporary files of Stem whose writers are gone (their lock is free), and the files
// made beside temporaries that are gone or abandoned. Only names of the writer's own pattern:
// ".NAME.swp" and the like are someone else's.
void RemoveLeftovers(const std::filesystem::path& Stem) {
    const std::filesystem::path Folder = Stem.has_parent_path() ? Stem.parent_path() : ".";
    const std::string StemName = Stem.filename().string();
    std::error_code Error;
    for (std::filesystem::directory_iterator Entry(Folder, Error), End; !Error && Entry != End;
         Entry.increment(Error)) {
        const std::filesystem::path& Candidate = Entry->path();
        const std::string Name = Candidate.filename().string();
        if (IsTemporaryName(Name, StemName)) {
            const int Fd = TakeAbandoned(Candidate);
            if (Fd >= 0) {
                ::unlink(Candidate.c_str());
                ::close(Fd);
            }
        } else if (IsBesideTemporary(Name, StemName)) {
            const std::filesystem::path Owner =
                Folder / Name.substr(0, StemName.size() + RandomLetters);
            const int Fd = TakeAbandoned(Owner);
            std::error_code Unknown;
            if (Fd >= 0 || !std::filesystem::exists(Owner, Unknown)) {
                ::unlink(Candidate.c_str());
            }
            if (Fd >= 0) {
                ::close(Fd);
            }
        }
    }
}

// Creates and locks a temporary file of Stem with mode 0666, which the umask narrows as for any
// new file; -1 with errno when it cannot.
int CreateTemporary(const std::filesystem::path& Stem, std::string& Temporary) {
    std::random_device Seed;
    std::mt19937 Random(Seed());
    std::uniform_int_distribution<size_t> Pick(0, Letters.size() - 1);
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        std::string Name = Stem.string();
        for (size_t I = 0; I < RandomLetters; ++I) {
            Name += Letters[Pick(Random)];
        }
        const int Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd < 0 && errno == EEXIST) {
            continue;
        }
        if (Fd >= 0) {
            // A remover of leftovers that came between the creation and the lock took this name
            // away: try another.
            struct stat Opened {
            }, Named{};
            if (::flock(Fd, LOCK_EX) != 0 || ::fstat(Fd, &Opened) != 0 ||
                ::stat(Name.c_str(), &Named) != 0 || Opened.st_ino != Named.st_ino) {
                ::close(Fd);
                continue;
            }
            Temporary = Name;
        }
        return Fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

TAtomicFile::TAtomicFile(std::string Path, TDurability Durability)
    : Path(std::move(Path)), Synced(Durability == TDurability::Synced) {
    struct stat Existing {};
    // Judged on what the name leads to, so that a link to /dev/stdout writes to the pipe.
    const bool Exists = ::stat(this->Path.c_str(), &Existing) == 0;
    auto ReadOnly = [this] {
        return EInOutError(
            Text(TText::CannotWriteBecause, {this->Path, Text(TText::FileReadOnly)}));
    };
    int Fd = -1;
    if (Exists && !S_ISREG(Existing.st_mode)) {
        Fd = ::open(this->Path.c_str(), O_WRONLY | O_CLOEXEC); // a device or a pipe; a folder fails
        if (Fd < 0 && (errno == EACCES || errno == EPERM)) {
            throw ReadOnly();
        }
    } else {
        Target = FollowLinks(this->Path);
        // A file its owner keeps from writing is not replaced behind their back.
        if (Exists && !MayReplace(Target, Existing)) {
            throw ReadOnly();
        }
        const std::filesystem::path Stem = TemporaryStem(Target);
        RemoveLeftovers(Stem);
        Fd = CreateTemporary(Stem, Temporary);
        if (Fd >= 0) {
            Lock = ::dup(Fd); // the stream's close must not free the lock before the rename
            if (Exists) {
                ::fchmod(Fd, Existing.st_mode & 07777);
            }
        }
    }
    if (Fd < 0) {
        Fail(errno);
    }
    File.reset(::fdopen(Fd, "wb"));
    if (!File) {
        const int Error = errno;
        ::close(Fd);
        Fail(Error);
    }
    Buffer.Attach(File.get()); // pictures and meshes run to megabytes
}

TAtomicFile::~TAtomicFile() {
    File.reset();
    Discard();
}

void TAtomicFile::Write(const void* Bytes, size_t Count) {
    if (std::fwrite(Bytes, 1, Count, File.get()) != Count) {
        Note(errno);
    }
    // The rename over an earlier file makes ext4 write the new one out; started as the file is
    // written, that goes on beside the writer's own work instead of all at the rename.
    Unsubmitted += Count;
    if (!Temporary.empty() && Unsubmitted >= WritebackBytes) {
        std::fflush(File.get());
        ::sync_file_range(::fileno(File.get()), 0, 0, SYNC_FILE_RANGE_WRITE);
        Unsubmitted = 0;
    }
}

void TAtomicFile::Note(int Errno) {
    if (Reason == 0) {
        Reason = Errno != 0 ? Errno : EIO;
    }
}

void TAtomicFile::Flush() {
    if (std::fflush(File.get()) != 0 || std::ferror(File.get())) {
        Note(errno);
        Fail(Reason);
    }
}

void TAtomicFile::Commit() {
    Flush();
    if (Synced && !Temporary.empty() && ::fsync(::fileno(File.get())) != 0) {
        Note(errno);
    }
    if (std::fclose(File.release()) != 0) {
        Note(errno);
    }
    // Renamed over the earlier file, which ext4 and btrfs order after the new file's data: after
    // a power cut the target holds the one or the other, whole.
    if (Reason == 0 && !Temporary.empty() && std::rename(Temporary.c_str(), Target.c_str()) != 0) {
        Note(errno);
    }
    if (Reason != 0) {
        Fail(Reason);
    }
    Temporary.clear();
    Discard();
}

void TAtomicFile::Fail() {
    Fail(Reason != 0 || !File || !std::ferror(File.get()) ? Reason : errno);
}

void TAtomicFile::Fail(int Errno) {
    File.reset();
    Discard();
    if (Errno == 0) {
        throw EInOutError(Text(TText::CannotWrite, {Path}));
    }
    throw EInOutError(Text(TText::CannotWriteBecause, {Path, WriteFailureReason(Errno)}));
}

void TAtomicFile::Discard() {
    if (!Temporary.empty()) {
        ::unlink(Temporary.c_str());
        Temporary.clear();
    }
    if (Lock >= 0) {
        ::close(Lock);
        Lock = -1;
    }
}

void RemoveAtomicLeftovers(const std::string& Path) {
    RemoveLeftovers(TemporaryStem(FollowLinks(Path)));
}

} // namespace talvo
