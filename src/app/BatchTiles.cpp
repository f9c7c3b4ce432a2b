#include "app/BatchTiles.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "import/FgGmlReader.h"
#include "import/FgGmlZip.h"
#include "import/NumMapReader.h"
#include "import/OpenMap.h"
#include "import/PathParts.h"
#include "import/ZipTiles.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace fs = std::filesystem;

namespace {

std::string Absolute(const fs::path& Path) {
    std::error_code Unknown;
    fs::path Full = fs::absolute(Path, Unknown);
    return (Unknown ? Path : Full).lexically_normal().string();
}

// An FG-GML document by what it declares: folders hold other XML (GIS sidecars, metadata).
bool DeclaresFgGml(const fs::path& Path) {
    const std::string Name = Path.filename().string();
    return IdentifyFgGml({Name, "", FirstBytes(Path.string())});
}

// A file of a folder that is a map Talvo reads: a numeric map by its extension, an FG-GML tile by
// what it declares, any other as its driver tells it by name (a .bil's header is its companion,
// not a map).
bool IsMapInFolder(const fs::path& Path) {
    const std::string Name = Path.filename().string();
    const std::string Ext = UpperExtensionOf(Name);
    if (Ext == ".XML") {
        return DeclaresFgGml(Path);
    }
    const TFileStart ByName{Name, Ext, ""};
    return NumMapCellSpacing(Ext) != 0 ||
           std::any_of(FormatDrivers().begin(), FormatDrivers().end(),
                       [&](const TFormatDriver& Driver) { return Driver.Identify(ByName); });
}

// A part of an output's path made from a name the input gives: never one that climbs out of the
// output folder.
fs::path OutputPart(const fs::path& Name) {
    const std::string Text = Name.string();
    return Text.empty() || Text == "." || Text == ".." ? fs::path("_") : Name;
}

struct TLister {
    std::string OutDir;
    std::string Extension;
    std::vector<TBatchTile> Tiles;

    void AddLoose(const std::string& Path) {
        const fs::path Name = OutputPart(fs::path(Path).stem());
        Tiles.push_back({Path, Path, "", (fs::path(OutDir) / Name).string() + Extension, ""});
    }

    void AddFile(const std::string& Path) {
        if (DriverOf(Path).Role != TDriverRole::Zip) {
            AddLoose(Path);
            return;
        }
        const fs::path Folder = fs::path(OutDir) / OutputPart(fs::path(Path).stem());
        try {
            const TZipTiles Zip(Path);
            if (Zip.Tiles().empty()) {
                AddLoose(Path); // a zip of one raster is that raster
                return;
            }
            for (const TZipTile& Tile : Zip.Tiles()) {
                const fs::path Inner = Tile.InnerName.empty()
                                           ? Folder
                                           : Folder / OutputPart(fs::path(Tile.InnerName).stem());
                const fs::path Name = OutputPart(fs::path(Tile.Entry.Name).stem());
                Tiles.push_back(
                    {Zip.TilePath(Tile), Path, Tile.Name, (Inner / Name).string() + Extension, ""});
            }
        } catch (const std::exception& Error) {
            Tiles.push_back({Path, Path, "", Folder.string(), Error.what()});
        }
    }
};

} // namespace

std::vector<std::string> ListMapFiles(const std::vector<std::string>& Inputs,
                                      const std::string& LeftOut) {
    const std::string Skipped = LeftOut.empty() ? "" : Absolute(LeftOut);
    std::vector<std::string> Files;
    for (const std::string& Input : Inputs) {
        const std::string Path = Absolute(Input);
        std::error_code Error;
        if (!fs::is_directory(Path, Error)) {
            Files.push_back(Path);
            continue;
        }
        fs::recursive_directory_iterator Entry(Path, Error), End;
        for (; !Error && Entry != End; Entry.increment(Error)) {
            const std::string Found = Absolute(Entry->path());
            if (Entry->is_directory() && Found == Skipped) {
                Entry.disable_recursion_pending();
            } else if (Entry->is_regular_file() && IsMapInFolder(Entry->path())) {
                Files.push_back(Found);
            }
        }
        if (Error) {
            throw Placed(EInOutError(Error.message()), Path);
        }
    }
    std::sort(Files.begin(), Files.end());
    Files.erase(std::unique(Files.begin(), Files.end()), Files.end());
    return Files;
}

std::vector<TBatchTile> ListBatchTiles(const std::vector<std::string>& Inputs,
                                       const std::string& OutDir, const std::string& Extension) {
    TLister Lister{Absolute(OutDir), Extension, {}};
    for (const std::string& Input : Inputs) {
        try {
            for (const std::string& File : ListMapFiles({Input}, OutDir)) {
                Lister.AddFile(File);
            }
        } catch (const std::exception& Error) {
            Lister.Tiles.push_back({Absolute(Input), Absolute(Input), "", "", Error.what()});
        }
    }
    std::vector<TBatchTile>& Tiles = Lister.Tiles;
    std::sort(Tiles.begin(), Tiles.end(),
              [](const TBatchTile& A, const TBatchTile& B) { return A.Input < B.Input; });
    Tiles.erase(
        std::unique(Tiles.begin(), Tiles.end(),
                    [](const TBatchTile& A, const TBatchTile& B) { return A.Input == B.Input; }),
        Tiles.end());
    std::map<std::string, const TBatchTile*> Outputs;
    for (TBatchTile& Tile : Tiles) {
        if (!Tile.Failure.empty()) {
            continue;
        }
        const auto [Earlier, New] = Outputs.emplace(Tile.Output, &Tile);
        if (!New) {
            Tile.Failure = Text(TText::OutputOfTwo, {Tile.Output, Earlier->second->Input});
        }
    }
    return Tiles;
}

std::vector<TBatchTile> ShardOf(const std::vector<TBatchTile>& Tiles, TShard Shard) {
    std::vector<TBatchTile> Part;
    for (size_t At = static_cast<size_t>(Shard.Index - 1); At < Tiles.size();
         At += static_cast<size_t>(Shard.Count)) {
        Part.push_back(Tiles[At]);
    }
    return Part;
}

} // namespace talvo
