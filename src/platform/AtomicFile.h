#pragma once

#include <cstdio>
#include <string>

#include "platform/FileHandle.h"
#include "platform/StreamBuffer.h"

namespace talvo {

// A file written whole or not at all. The bytes go to a hidden temporary file ".NAME.XXXXXX"
// beside the target, which replaces the target only when every write has succeeded: a full
// disk, a refused write or a crash leaves the earlier file as it was. A symbolic link is
// followed (the link stays a link); an existing file's permissions are kept, a new file gets
// 0666 less the umask. Devices and pipes are written directly.
class TAtomicFile {
  public:
    enum class TDurability {
        Cached, // renamed when written: fast, for pictures and meshes
        Synced, // also flushed to the disk first: for the user's settings
    };

    // Raises EInOutError "<Path> に書き込めません" when the file cannot be made.
    explicit TAtomicFile(std::string Path, TDurability Durability = TDurability::Cached);
    // Without Commit the temporary file goes and the target stays untouched.
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    std::FILE* Stream() const { return File.get(); }
    // Writes Bytes; a failure shows at Commit.
    void Write(const void* Bytes, size_t Count) { std::fwrite(Bytes, 1, Count, File.get()); }
    // Checks every write, then puts the file in place; raises as the constructor does.
    void Commit();
    // Gives up: the temporary file goes; raises as the constructor does.
    [[noreturn]] void Fail();

  private:
    void Discard();

    std::string Path;      // as given, for messages
    std::string Target;    // the file that is replaced: Path with its links followed
    std::string Temporary; // empty when the target is written directly
    bool Synced;
    TStreamBuffer Buffer;
    TFileHandle File;
};

} // namespace talvo
