#pragma once

#include <cstdint>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace talvo {

// One line of a manifest: a tile and its output, the keys in the order they are written.
using TManifestLine = nlohmann::ordered_json;

// The lines of the manifest at Path that are whole JSON objects with an "input"; a line a kill
// tore is dropped, and its number kept in Torn. No file: no lines.
struct TManifest {
    std::vector<TManifestLine> Lines;
    std::vector<int64_t> Torn;
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

// Whether the file at Output is the one Line describes: Line is a written tile's, and the file's
// size and SHA-256 are Line's.
bool OutputMatches(const TManifestLine& Line, const std::string& Output);

// Checks every output of the manifest at Path against its line, lists on Err what differs (and
// the tiles that failed, and lines that cannot be read) and returns 1 when anything does; 0, with
// the count on Out, when every output matches.
int VerifyManifest(const std::string& Path, std::ostream& Out, std::ostream& Err);

} // namespace talvo
