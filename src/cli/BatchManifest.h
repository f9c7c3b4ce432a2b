#pragma once

#include <cstdint>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace talvo {

// One line of a manifest: a tile and its output, the keys in the order they are written. Paths
// ("input", "output" and the "file" of each entry of "beside") are EscapedBytes of the file's
// name, so that a name that is no UTF-8 is kept whole.
using TManifestLine = nlohmann::ordered_json;

// Raises EMisuse when what is at Path is no regular file (a device, a FIFO, a folder, standard
// output): a manifest is read back and replaced. Nothing there is no objection.
void RequireManifestFile(const std::string& Path);

// The lines of the manifest at Path that are whole JSON objects with an "input". The last line
// when a kill tore it (it starts as a manifest line does, but does not parse) is dropped, its
// number in Torn (0: none); any other line that is no manifest line is numbered in Unreadable.
// Lines are read up to 1 MiB each; a longer one is raised naming the file and the line, and so is
// a first line that is no manifest line: the file is not a manifest. No file: no lines.
struct TManifest {
    std::vector<TManifestLine> Lines;
    int64_t Torn = 0;
    std::vector<int64_t> Unreadable;
};
TManifest ReadManifest(const std::string& Path);

// Replaces the manifest at Path with Lines, whole or not at all.
void WriteManifest(const std::string& Path, const std::vector<TManifestLine>& Lines);

// Adds lines to the end of the manifest at Path as tiles finish, each in one write, so that a
// run killed part-way keeps the lines of the tiles it finished.
class TManifestJournal {
  public:
    explicit TManifestJournal(const std::string& Path);
    ~TManifestJournal();
    TManifestJournal(const TManifestJournal&) = delete;
    TManifestJournal& operator=(const TManifestJournal&) = delete;

    // From any thread; raises naming the file when the line cannot be written.
    void Append(const TManifestLine& Line);

  private:
    std::string Path;
    int Fd;
    std::mutex Mutex;
};

// Line's record of Files (an output first, then the files written beside it) as written: the
// output's "output", "size" and "sha256", and "beside" with theirs.
void DescribeFiles(TManifestLine& Line, const std::vector<std::string>& Files);

// Whether Files (an output and the files beside it) are those Line describes: Line is a written
// tile's, and each file's name, size and SHA-256 are Line's.
bool OutputMatches(const TManifestLine& Line, const std::vector<std::string>& Files);

// Checks every output of the manifest at Path, and the files beside it, against its line, lists
// on Err what differs (and the tiles that failed, and lines that cannot be read) and returns 1
// when anything does; 0, with the count on Out, when every output matches. A manifest that is
// missing or holds no line is raised.
int VerifyManifest(const std::string& Path, std::ostream& Out, std::ostream& Err);

} // namespace talvo
