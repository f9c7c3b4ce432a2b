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
    // Whether the file at Output, written by an earlier run, reads to its end.
    virtual bool DecodesWhole(const std::string& Output) const = 0;
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
// when the manifest's line for its tile says it is that file, or, without a manifest, when it and
// the files beside it are there and it decodes whole; a tile that fails is told and the
// others go on. The manifest gains each tile's line as it finishes, and at the end holds the
// lines of this run's tiles, each once. Returns 1 when a tile failed, else 0.
int RunBatch(const TBatchOptions& Options, const TTileAction& Action, std::ostream& Out,
             std::ostream& Err);

} // namespace talvo
