#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/BatchTiles.h"
#include "app/Document.h"

namespace talvo {

// What a batch makes of each tile: one output file, and the files written beside it.
class TTileAction {
  public:
    virtual ~TTileAction() = default;
    // The output's extension, with its dot.
    virtual std::string Extension() const = 0;
    // The document a tile is opened into: one per tile, so that tiles go on side by side.
    virtual TDocument Start() const = 0;
    // Writes Output from the tile open in Document, whole or not at all; called on several
    // threads at once. Failures are raised naming the file.
    virtual void Write(TDocument& Document, const std::string& Output) const = 0;
    // Output and the files written beside it.
    virtual std::vector<std::string> Files(const std::string& Output) const { return {Output}; }
    // The files every tile reads besides its own (the settings), which no output may replace.
    virtual std::vector<std::string> Reads() const { return {}; }
    // Whether the file at Output, written by an earlier run, is Map's output whole: its header
    // gives Map's size (compared first: a file of another size is never decoded), and it reads
    // to its end.
    virtual bool IsOutputOf(const std::string& Output, const TLoadedMap& Map) const = 0;
};

struct TBatchOptions {
    std::vector<std::string> Inputs;
    std::string OutDir;
    std::string Manifest; // "" for none
    int Jobs = 0;         // tiles at once; 0: one per core
    bool Force = false;   // write every output again, verified or not
    bool Quiet = false;
    TShard Shard;
    std::optional<std::string> Crs; // replaces each map's CRS before anything is written
};

// Makes Action's output of every tile of Options, several at once. An output that exists is kept
// when the manifest's line for its tile says it and the files beside it are those files, or,
// without a manifest, when they are there and it is the tile's output whole; a tile that fails is
// told and the others go on. A manifest that is no regular file is refused at once (EMisuse); one
// that the run reads or writes as something else, or that Talvo did not write, is refused before
// anything is written. The manifest gains each tile's line as it finishes, and at the end holds the
// lines of this run's tiles, each once. Returns 1 when a tile failed, else 0.
int RunBatch(const TBatchOptions& Options, const TTileAction& Action, std::ostream& Out,
             std::ostream& Err);

} // namespace talvo
