// The tiles of a zip of FG-GML DEM tiles, and of the zips inside it: one by one for a batch that
// writes each as an output of its own, or all for the mosaic.

#include "import/ZipTiles.h"

#include <algorithm>

#include "import/FgGmlReader.h"
#include "import/OpenMap.h"
#include "import/ReadLimits.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

bool IsTileName(const std::string& Name) {
    return UpperAscii(Name).ends_with(".XML") && !IsMacAttributes(Name);
}

bool IsZipName(const std::string& Name) {
    return UpperAscii(Name).ends_with(".ZIP") && !IsMacAttributes(Name);
}

} // namespace

TZipTiles::TZipTiles(const std::string& Path, const std::optional<std::string>& Only)
    : Outer(Path) {
    for (const TZipEntry& Entry : Outer.Entries()) {
        if (IsTileName(Entry.Name)) {
            Count(Entry.Size, Outer);
            if (!Only || *Only == Entry.Name) {
                Found.push_back({Entry.Name, -1, "", Entry});
            }
        } else if (IsZipName(Entry.Name)) {
            Count(Entry.Size, Outer);
            Inners.push_back(Entry);
        }
    }
    for (int Inner = 0; Inner < static_cast<int>(Inners.size()); ++Inner) {
        const std::string& InnerName = Inners[static_cast<size_t>(Inner)].Name;
        const std::string Folder = InnerName + "/";
        if (Only && !Only->starts_with(Folder)) {
            continue;
        }
        const TZipArchive& Archive = InnerArchive(Inner);
        for (const TZipEntry& Entry : Archive.Entries()) {
            if (IsTileName(Entry.Name)) {
                Count(Entry.Size, Archive);
                if (!Only || *Only == Folder + Entry.Name) {
                    Found.push_back({Folder + Entry.Name, Inner, InnerName, Entry});
                }
            }
        }
    }
}

void TZipTiles::Count(uint64_t Size, const TZipArchive& In) {
    Declared += std::min(Size, MaxUnpackedBytes + 1);
    if (Declared > MaxUnpackedBytes) {
        throw Placed(ETalvoError(Text(TText::ZipBomb, {std::to_string(MaxUnpackedBytes >> 30)})),
                     In.Where());
    }
}

TZipArchive& TZipTiles::InnerArchive(int Inner) {
    if (OpenInner != Inner) {
        Opened.reset();
        const TZipEntry& Entry = Inners[static_cast<size_t>(Inner)];
        Opened = std::make_unique<TZipArchive>(Outer.Read(Entry, RequireZipStart),
                                               Outer.EntryPath(Entry));
        OpenInner = Inner;
    }
    return *Opened;
}

TFileBytes TZipTiles::Read(const TZipTile& Tile) {
    const TZipArchive& Archive = Tile.Inner < 0 ? Outer : InnerArchive(Tile.Inner);
    return Archive.Read(Tile.Entry, RequireXmlStart);
}

TOpenedMap OpenZipTile(const std::string& ZipPath, const std::string& Name, TProgress& Progress) {
    TZipTiles Zip(ZipPath, Name);
    if (Zip.Tiles().empty()) {
        throw Placed(ETalvoError(Text(TText::ZipTileMissing)), ZipPath + "/" + Name);
    }
    const TZipTile& Tile = Zip.Tiles().front();
    const std::string File = Zip.TilePath(Tile);
    const TFileBytes Bytes = Zip.Read(Tile);
    return LoadMap(ZipPath, [&](TLoadedMap Start) {
        TOpenedMap Opened = OpenFgGmlBytes(Bytes.View(), File, std::move(Start), Progress);
        Opened.Map.NumHeader.DataFileName = ZipPath;
        return Opened;
    });
}

} // namespace talvo
