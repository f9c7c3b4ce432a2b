#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/FileBytes.h"

struct zip;

namespace talvo {

// A file in a zip, as the archive's central directory lists it.
struct TZipEntry {
    uint64_t Index = 0;
    std::string Name;  // its path inside the archive, in UTF-8
    uint64_t Size = 0; // unpacked, as the archive declares it
};

// A zip archive read through libzip: a file, or the bytes of an entry of another zip. Its files
// are listed in one pass when it opens (folders left out); names the archive does not mark as
// UTF-8 are CP932, as Japanese Windows writes them. Failures are raised naming the archive (or,
// for an entry, "ARCHIVE/ENTRY").
class TZipArchive {
  public:
    explicit TZipArchive(const std::string& Path);
    // The zip whose bytes are Bytes, named Where in messages.
    TZipArchive(TFileBytes Bytes, const std::string& Where);
    ~TZipArchive();
    TZipArchive(const TZipArchive&) = delete;
    TZipArchive& operator=(const TZipArchive&) = delete;

    const std::string& Where() const { return Name; }
    const std::vector<TZipEntry>& Entries() const { return Files; }
    // "ARCHIVE/ENTRY", as messages and manifests name an entry.
    std::string EntryPath(const TZipEntry& Entry) const { return Name + "/" + Entry.Name; }

    // Entry's bytes, read in pieces, the first of which CheckStart (when given) sees before the
    // rest is read. Memory is taken as bytes come, and an entry that unpacks to more than it
    // declares is refused.
    TFileBytes Read(const TZipEntry& Entry, TStartCheck CheckStart = nullptr) const;

  private:
    TFileBytes Held; // the bytes of a zip inside a zip, which libzip reads in place
    std::string Name;
    zip* Archive = nullptr;
    std::vector<TZipEntry> Files;

    void List();
};

// An entry of the folder of file attributes that archives made on a Mac carry beside every file.
bool IsMacAttributes(std::string_view Name);

// Raises, naming File, when FirstBytes cannot begin a zip archive.
void RequireZipStart(std::string_view FirstBytes, const std::string& File);

} // namespace talvo
