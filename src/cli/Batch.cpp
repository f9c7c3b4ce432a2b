#include "cli/Batch.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <tbb/blocked_range.h>
#include <tbb/info.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>
#include <tbb/task_arena.h>

#include "cli/BatchManifest.h"
#include "cli/BatchReport.h"
#include "model/CellCounts.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/Sha256.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// A value of a manifest line, or null when there is none. Values come from single-precision
// cells: written with the fewest digits that read back as that float (899.9, not 899.90002).
nlohmann::ordered_json Maybe(const std::optional<double>& Value) {
    if (!Value) {
        return nullptr;
    }
    return std::strtod(ShortestText(static_cast<float>(*Value)).c_str(), nullptr);
}

// Reads Tile, writes its output and returns its manifest line; a failure is the line's message.
TManifestLine MakeTile(const TBatchTile& Tile, const TBatchOptions& Options,
                       const TTileAction& Action) {
    const auto Start = std::chrono::steady_clock::now();
    TManifestLine Line = {{"input", Tile.Input}, {"output", Tile.Output}, {"kind", nullptr},
                          {"crs", nullptr},      {"size", nullptr},       {"cells", nullptr},
                          {"sea", nullptr},      {"nodata", nullptr},     {"min", nullptr},
                          {"max", nullptr},      {"sha256", nullptr},     {"seconds", nullptr},
                          {"status", "failed"},  {"message", ""}};
    try {
        if (!Tile.Failure.empty()) {
            throw ETalvoError(Tile.Failure);
        }
        TDocument Document = Action.Start();
        TProgress Unwatched;
        const TLoadResult Opened =
            Document.OpenTile(Tile.Source, Tile.Entry, Unwatched, Options.Crs.value_or(""));
        if (Opened.Outcome != TOpenOutcome::Loaded) {
            throw ETalvoError(Opened.Message.empty() ? Text(TText::NothingToDraw, {Tile.Input})
                                                     : Opened.Message);
        }
        const TLoadedMap& Map = *Document.Map();
        const TCellCounts Counts = CountCells(Map);
        Line["kind"] = KindTraits(Map.NumHeader.MapKind).Code;
        Line["crs"] = Map.Georeference.Crs;
        Line["cells"] = Counts.Cells;
        Line["sea"] = Counts.Sea;
        Line["nodata"] = Counts.NoData;
        Line["min"] = Maybe(Counts.Min);
        Line["max"] = Maybe(Counts.Max);
        std::filesystem::create_directories(std::filesystem::path(Tile.Output).parent_path());
        Action.Write(Document, Tile.Output);
        Line["size"] = static_cast<int64_t>(std::filesystem::file_size(Tile.Output));
        Line["sha256"] = FileSha256Hex(Tile.Output);
        Line["status"] = "ok";
    } catch (const std::exception& Error) {
        Line["message"] = TerminalText(Error.what());
    }
    Line["seconds"] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    return Line;
}

// Whether an output of an earlier run, which no manifest describes, may be kept: it and the files
// beside it are there, and it decodes whole.
bool Whole(const TTileAction& Action, const std::string& Output) {
    std::error_code Unknown;
    for (const std::string& File : Action.Files(Output)) {
        if (!std::filesystem::is_regular_file(File, Unknown)) {
            return false;
        }
    }
    return Action.DecodesWhole(Output);
}

} // namespace

int RunBatch(const TBatchOptions& Options, const TTileAction& Action, std::ostream& Out,
             std::ostream& Err) {
    const std::vector<TBatchTile> Tiles =
        ShardOf(ListBatchTiles(Options.Inputs, Options.OutDir, Action.Extension()), Options.Shard);
    std::map<std::string, TManifestLine> Earlier;
    std::optional<TManifestJournal> Journal;
    if (!Options.Manifest.empty()) {
        TManifest Manifest = ReadManifest(Options.Manifest);
        if (!Manifest.Torn.empty()) {
            WriteManifest(Options.Manifest, Manifest.Lines);
        }
        for (TManifestLine& Line : Manifest.Lines) {
            std::string Input = Line["input"].get<std::string>();
            Earlier[std::move(Input)] = std::move(Line);
        }
        Journal.emplace(Options.Manifest);
    }
    TBatchReport Report(Out, Err, Options.Quiet, static_cast<int64_t>(Tiles.size()));
    std::vector<TManifestLine> Lines(Tiles.size());
    auto Run = [&](size_t Index) {
        const TBatchTile& Tile = Tiles[Index];
        const auto Found = Earlier.find(Tile.Input);
        if (!Options.Force && Tile.Failure.empty() &&
            (Journal ? Found != Earlier.end() && OutputMatches(Found->second, Tile.Output)
                     : Whole(Action, Tile.Output))) {
            for (const std::string& File : Action.Files(Tile.Output)) {
                RemoveAtomicLeftovers(File);
            }
            Lines[Index] = Found != Earlier.end() ? Found->second
                                                  : TManifestLine{{"input", Tile.Input},
                                                                  {"output", Tile.Output},
                                                                  {"status", "ok"}};
            Report.Kept(Tile.Input, Tile.Output);
            return;
        }
        Lines[Index] = MakeTile(Tile, Options, Action);
        if (Journal) {
            Journal->Append(Lines[Index]);
        }
        if (Lines[Index]["status"].get_ref<const std::string&>() == "ok") {
            Report.Written(Tile.Input, Tile.Output);
        } else {
            Report.Failed(Tile.Input, Lines[Index]["message"].get<std::string>());
        }
    };
    // No more tiles at once than the processor runs threads: the pool has no more to give.
    const int Cores = tbb::info::default_concurrency();
    if (Options.Jobs > Cores && !Options.Quiet) {
        Err << Text(TText::JobsCapped, {std::to_string(Options.Jobs), std::to_string(Cores)})
            << '\n';
    }
    tbb::task_arena Arena(Options.Jobs > 0 ? std::min(Options.Jobs, Cores) : Cores);
    Arena.execute([&] {
        tbb::parallel_for(
            tbb::blocked_range<size_t>(0, Tiles.size(), 1),
            [&](const tbb::blocked_range<size_t>& Range) {
                for (size_t Index = Range.begin(); Index != Range.end(); ++Index) {
                    Run(Index);
                }
            },
            tbb::simple_partitioner());
    });
    Journal.reset();
    if (!Options.Manifest.empty()) {
        WriteManifest(Options.Manifest, Lines);
    }
    Report.Finish();
    for (const TManifestLine& Line : Lines) {
        if (Line["status"].get_ref<const std::string&>() != "ok") {
            return 1;
        }
    }
    return 0;
}

} // namespace talvo
