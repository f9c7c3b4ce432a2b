#pragma once

#include <cstdio>
#include <string>

#include "platform/FileHandle.h"
#include "platform/StreamBuffer.h"

namespace talvo {

// A file written whole or not at all. The bytes go to a hidden temporary file ".NAME.XXXXXX"
// beside the target (NAME shortened when the whole would be too long a name), locked while it is
// written, which replaces the target by a rename only when every write has succeeded: a full
// disk, a refused write, a crash or a power cut leaves the earlier file or the new one, whole.
// Temporaries that a killed run left beside the target, unlocked, go when it is next written, and
// with them the files ".NAME.XXXXXX.*" that a writer by name (GDAL) made beside its own. A
// symbolic link is followed (the link stays a link); an existing file's permissions are kept, a
// new file gets 0666 less the umask. Devices and pipes, judged on what a link leads to, are
// written directly.
class TAtomicFile {
  public:
    enum class TDurability {
        Cached, // renamed when written: fast, for pictures and meshes
        Synced, // also flushed to the disk first: for the user's settings
    };

    // Raises EInOutError "<Path> に書き込めません (reason)" when the file cannot be made.
    explicit TAtomicFile(std::string Path, TDurability Durability = TDurability::Cached);
    // Without Commit the temporary file goes and the target stays untouched.
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    std::FILE* Stream() const { return File.get(); }
    // The temporary file, for a writer that opens it by name and writes it over before Commit;
    // empty when the target is written directly.
    const std::string& TemporaryPath() const { return Temporary; }
    // Writes Bytes; a failure shows at Flush or Commit.
    void Write(const void* Bytes, size_t Count);
    // Hands every byte written so far to the system, checked; raises as the constructor does.
    void Flush();
    // Checks every write, then puts the file in place; raises as the constructor does.
    void Commit();
    // Gives up: the temporary file goes; raises as the constructor does, with the reason of a
    // failed write of the stream when there was one.
    [[noreturn]] void Fail();

  private:
    [[noreturn]] void Fail(int Errno);
    void Note(int Errno);
    void Discard();

    std::string Path;       // as given, for messages
    std::string Target;     // the file that is replaced: Path with its links followed
    std::string Temporary;  // empty when the target is written directly
    int Lock = -1;          // holds the temporary file's lock until it has taken the target's place
    int Reason = 0;         // the first failed write's errno
    size_t Unsubmitted = 0; // bytes written since the disk was last asked to take them
    bool Synced;
    TStreamBuffer Buffer;
    TFileHandle File;
};

// Removes the temporary files that writers of Path killed before they finished left beside it,
// for a target that is kept rather than written again.
void RemoveAtomicLeftovers(const std::string& Path);

} // namespace talvo
