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
#include "platform/FileErrors.h"
#include "platform/Messages.h"
#include "platform/SameFile.h"
#include "platform/Sha256.h"
#include "platform/TextConvert.h"
#include "platform/Utf8Bytes.h"

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

// What became of a tile: its manifest line, and whether an earlier run's output was kept.
struct TTileResult {
    TManifestLine Line;
    bool Kept = false;
};

// Whether Output, written by an earlier run and described by no manifest, is Map's: it and the
// files beside it are there, and it is Map's output whole.
bool Whole(const TTileAction& Action, const std::string& Output, const TLoadedMap& Map) {
    std::error_code Unknown;
    for (const std::string& File : Action.Files(Output)) {
        if (!std::filesystem::is_regular_file(File, Unknown)) {
            return false;
        }
    }
    return Action.IsOutputOf(Output, Map);
}

// Reads Tile and writes its output, or with MayKeep keeps the one there when it is whole; returns
// its manifest line, where a failure is the line's message.
TTileResult MakeTile(const TBatchTile& Tile, const TBatchOptions& Options,
                     const TTileAction& Action, bool MayKeep) {
    const auto Start = std::chrono::steady_clock::now();
    TTileResult Result;
    TManifestLine& Line = Result.Line;
    Line = {{"input", EscapedBytes(Tile.Input)},
            {"output", EscapedBytes(Tile.Output)},
            {"kind", nullptr},
            {"crs", nullptr},
            {"size", nullptr},
            {"cells", nullptr},
            {"sea", nullptr},
            {"nodata", nullptr},
            {"min", nullptr},
            {"max", nullptr},
            {"sha256", nullptr},
            {"beside", nullptr},
            {"seconds", nullptr},
            {"status", "failed"},
            {"message", ""}};
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
        if (MayKeep && Whole(Action, Tile.Output, Map)) {
            Result.Kept = true;
            Line["status"] = "ok";
            return Result;
        }
        CreateFolders(std::filesystem::path(Tile.Output).parent_path().string());
        Action.Write(Document, Tile.Output);
        DescribeFiles(Line, Action.Files(Tile.Output));
        Line["status"] = "ok";
    } catch (const std::exception& Error) {
        Line["message"] = TerminalText(Error.what());
    }
    Line["seconds"] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    return Result;
}

// Refuses a manifest that the run reads or writes as something else, before anything is
// written: an input of any tile, a file every tile reads (the settings), or an output of any
// tile or a file beside one, of this shard or another; the manifest is replaced at the end.
void RefuseManifestClash(const std::string& Manifest, const std::vector<TBatchTile>& Tiles,
                         const TTileAction& Action) {
    for (const std::string& Read : Action.Reads()) {
        if (SameFile(Manifest, Read)) {
            throw ETalvoError(Text(TText::OutputIsInput, {Manifest, Read}));
        }
    }
    std::error_code Unknown;
    const std::filesystem::path Where =
        std::filesystem::weakly_canonical(std::filesystem::absolute(Manifest, Unknown), Unknown);
    for (const TBatchTile& Tile : Tiles) {
        if (SameFile(Manifest, Tile.Source)) {
            throw ETalvoError(Text(TText::OutputIsInput, {Manifest, Tile.Source}));
        }
        if (!Tile.Failure.empty()) {
            continue;
        }
        for (const std::string& File : Action.Files(Tile.Output)) {
            // Names first: outputs are many, and most differ from the manifest's by name.
            if (std::filesystem::path(File).filename() == Where.filename() &&
                (SameFile(Manifest, File) ||
                 std::filesystem::weakly_canonical(File, Unknown) == Where)) {
                throw ETalvoError(Text(TText::ManifestIsOutput, {Manifest, Tile.Input}));
            }
        }
    }
}

} // namespace

int RunBatch(const TBatchOptions& Options, const TTileAction& Action, std::ostream& Out,
             std::ostream& Err) {
    std::vector<std::string> LeftOut;
    if (!Options.Manifest.empty()) {
        RequireManifestFile(Options.Manifest);
        LeftOut.push_back(Options.Manifest);
    }
    const TBatchList Listed =
        ListBatchTiles(Options.Inputs, Options.OutDir, Action.Extension(), LeftOut);
    const std::vector<TBatchTile> Tiles = ShardOf(Listed.Tiles, Options.Shard);
    std::map<std::string, TManifestLine> Earlier;
    std::optional<TManifestJournal> Journal;
    if (!Options.Manifest.empty()) {
        RefuseManifestClash(Options.Manifest, Listed.Tiles, Action);
        TManifest Manifest = ReadManifest(Options.Manifest);
        if (!Manifest.Unreadable.empty()) {
            throw Placed(ETalvoError(Text(TText::ManifestNotOurs)), Options.Manifest,
                         Manifest.Unreadable.front());
        }
        if (Manifest.Torn > 0) {
            WriteManifest(Options.Manifest, Manifest.Lines);
        }
        for (TManifestLine& Line : Manifest.Lines) {
            std::string Input = Line["input"].get<std::string>();
            Earlier[std::move(Input)] = std::move(Line);
        }
        if (const auto Folder = std::filesystem::path(Options.Manifest).parent_path();
            !Folder.empty()) {
            CreateFolders(Folder.string()); // a manifest may be kept in a folder of its own
        }
        Journal.emplace(Options.Manifest);
    }
    for (const std::string& Skipped : Listed.Skipped) {
        Err << TerminalText(Skipped) << '\n';
    }
    TBatchReport Report(Out, Err, Options.Quiet, static_cast<int64_t>(Tiles.size()));
    std::vector<TManifestLine> Lines(Tiles.size());
    const auto Keep = [&](const TBatchTile& Tile) {
        for (const std::string& File : Action.Files(Tile.Output)) {
            RemoveAtomicLeftovers(File);
        }
        Report.Kept(Tile.Input, Tile.Output);
    };
    auto Run = [&](size_t Index) {
        const TBatchTile& Tile = Tiles[Index];
        const auto Found = Earlier.find(EscapedBytes(Tile.Input));
        if (!Options.Force && Journal && Tile.Failure.empty() && Found != Earlier.end() &&
            OutputMatches(Found->second, Action.Files(Tile.Output))) {
            Lines[Index] = Found->second;
            Keep(Tile);
            return;
        }
        TTileResult Made = MakeTile(Tile, Options, Action, !Options.Force && !Journal);
        Lines[Index] = std::move(Made.Line);
        if (Made.Kept) {
            Keep(Tile);
            return;
        }
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
