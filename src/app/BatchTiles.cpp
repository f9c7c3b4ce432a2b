#include "app/BatchTiles.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>

#include "import/FgGmlReader.h"
#include "import/FgGmlZip.h"
#include "import/NumMapReader.h"
#include "import/OpenMap.h"
#include "import/PathParts.h"
#include "import/ZipTiles.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/Messages.h"
#include "platform/SameFile.h"

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

// Whether Path, once its "." and ".." are resolved, lies inside Folder.
bool LiesUnder(const std::string& Path, const std::string& Folder) {
    const fs::path Inside = fs::path(Path).lexically_normal().lexically_relative(Folder);
    return !Inside.empty() && *Inside.begin() != ".." && *Inside.begin() != ".";
}

// Loose files whose outputs would share a name keep their own extension in it, so that
// jacksboro.bil and jacksboro.tif are both written. Decided over the whole sorted list, so that
// every shard of it agrees.
void KeepExtensionsWhereNamesMeet(std::vector<TBatchTile>& Tiles, const std::string& OutDir,
                                  const std::string& Extension) {
    const auto Loose = [](const TBatchTile& Tile) {
        return Tile.Entry.empty() && Tile.Failure.empty();
    };
    std::map<std::string, int> Taken;
    for (const TBatchTile& Tile : Tiles) {
        Taken[Tile.Output] += Loose(Tile) ? 1 : 0;
    }
    for (TBatchTile& Tile : Tiles) {
        if (Loose(Tile) && Taken[Tile.Output] > 1) {
            Tile.Output =
                (fs::path(OutDir) / OutputPart(fs::path(Tile.Input).filename())).string() +
                Extension;
        }
    }
}

} // namespace

TMapFileSearch SearchMapFiles(const std::vector<std::string>& Inputs,
                              const std::vector<std::string>& LeftOut) {
    const auto IsLeftOut = [&](const fs::path& Path) {
        return std::any_of(LeftOut.begin(), LeftOut.end(),
                           [&](const std::string& Out) { return SameFile(Path.string(), Out); });
    };
    TMapFileSearch Found;
    for (const std::string& Input : Inputs) {
        const std::string Path = Absolute(Input);
        std::error_code Error;
        if (!fs::is_directory(Path, Error)) {
            Found.Files.push_back(Path);
            continue;
        }
        fs::recursive_directory_iterator Entry(Path, Error), End;
        for (; !Error && Entry != End; Entry.increment(Error)) {
            std::error_code Unknown;
            const fs::file_status Kind = Entry->status(Unknown); // through links
            if (Unknown && Kind.type() != fs::file_type::not_found) {
                Found.Skipped.push_back(Text(
                    TText::EntrySkipped,
                    {Entry->path().string(),
                     Unknown.value() == ELOOP ? Text(TText::LinkLoop)
                                              : std::string(InOutError(Unknown.value()).what())}));
            } else if (fs::is_directory(Kind) && IsLeftOut(Entry->path())) {
                Entry.disable_recursion_pending();
            } else if (fs::is_regular_file(Kind) && IsMapInFolder(Entry->path()) &&
                       !IsLeftOut(Entry->path())) {
                Found.Files.push_back(Absolute(Entry->path()));
            }
        }
        if (Error) {
            throw Placed(InOutError(Error.value()), Path);
        }
    }
    std::vector<std::string>& Files = Found.Files;
    std::sort(Files.begin(), Files.end());
    Files.erase(std::unique(Files.begin(), Files.end()), Files.end());
    return Found;
}

TBatchList ListBatchTiles(const std::vector<std::string>& Inputs, const std::string& OutDir,
                          const std::string& Extension, const std::vector<std::string>& LeftOut) {
    fs::path Folder = Absolute(OutDir);
    if (!Folder.has_filename()) {
        Folder = Folder.parent_path(); // "/out/" is "/out"; "/" stays
    }
    TLister Lister{Folder.string(), Extension, {}};
    std::vector<std::string> Skipped;
    std::vector<std::string> Out = LeftOut;
    Out.push_back(OutDir);
    for (const std::string& Input : Inputs) {
        try {
            TMapFileSearch Found = SearchMapFiles({Input}, Out);
            for (const std::string& File : Found.Files) {
                Lister.AddFile(File);
            }
            Skipped.insert(Skipped.end(), Found.Skipped.begin(), Found.Skipped.end());
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
    KeepExtensionsWhereNamesMeet(Tiles, Lister.OutDir, Extension);
    std::map<std::string, const TBatchTile*> Outputs;
    for (TBatchTile& Tile : Tiles) {
        if (!Tile.Failure.empty()) {
            continue;
        }
        if (!LiesUnder(Tile.Output, Lister.OutDir)) {
            Tile.Failure = Text(TText::OutputOutsideFolder, {Tile.Output, Lister.OutDir});
            continue;
        }
        const auto [Earlier, New] = Outputs.emplace(Tile.Output, &Tile);
        if (!New) {
            Tile.Failure = Text(TText::OutputOfTwo, {Tile.Output, Earlier->second->Input});
        }
    }
    return {std::move(Tiles), std::move(Skipped)};
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
