// The tiles of a zip of FG-GML DEM tiles, read through the GDAL module's /vsizip/: one by one for
// a batch that writes each as an output of its own, or all for the mosaic.

#include "import/ZipTiles.h"

#include <algorithm>
#include <memory>

#include "import/FgGmlReader.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "import/OpenMap.h"
#include "import/ReadLimits.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

struct TZipEntryCloser {
    const TalvoGdalApi* Api;
    void operator()(TalvoGdalZipEntry* Entry) const { Api->CloseZipEntry(Entry); }
};

// A tile's entry: an .xml file that no .zip holds, nor the folder of file attributes that archives
// made on a Mac carry beside every file.
bool IsTileEntry(const std::string& Name) {
    const std::string Upper = UpperAscii(Name);
    return Upper.ends_with(".XML") && Upper.find(".ZIP/") == std::string::npos &&
           !Upper.starts_with("__MACOSX/");
}

// The tile entries, whose declared sizes together stay within the unpacking limit.
std::vector<TZipTileEntry> TileEntries(const TalvoGdalApi& Gdal, const TalvoGdalZip& Zip,
                                       const std::string& Path) {
    std::vector<TZipTileEntry> Entries;
    uint64_t Total = 0;
    for (int64_t Index = 0; Index < Gdal.ZipEntryCount(&Zip); ++Index) {
        TZipTileEntry Entry{Index, Gdal.ZipEntryName(&Zip, Index), Gdal.ZipEntrySize(&Zip, Index)};
        if (!IsTileEntry(Entry.Name)) {
            continue;
        }
        Total += std::min(Entry.Size, MaxUnpackedBytes + 1);
        if (Total > MaxUnpackedBytes) {
            throw Placed(
                ETalvoError(Text(TText::ZipBomb, {std::to_string(MaxUnpackedBytes >> 30)})), Path);
        }
        Entries.push_back(std::move(Entry));
    }
    if (Entries.empty()) {
        throw Placed(ETalvoError(Text(TText::ZipNoTile)), Path);
    }
    return Entries;
}

TalvoGdalZip* OpenZip(const TalvoGdalApi& Gdal, const std::string& Path) {
    RequireReadableFile(Path);
    TalvoGdalFailure Failure{};
    TalvoGdalZip* Zip = Gdal.OpenZip(Path.c_str(), &Failure);
    if (Zip == nullptr) {
        throw Placed(ETalvoError(GdalFailureText(Failure)), Path);
    }
    return Zip;
}

} // namespace

TZipTiles::TZipTiles(const std::string& Path) : Gdal(GdalModule()), Zip(OpenZip(Gdal, Path)) {
    try {
        Entries = TileEntries(Gdal, *Zip, Path);
    } catch (...) {
        Gdal.CloseZip(Zip);
        throw;
    }
}

TZipTiles::~TZipTiles() {
    Gdal.CloseZip(Zip);
}

TFileBytes TZipTiles::Read(const TZipTileEntry& Entry, const std::string& File) {
    TalvoGdalFailure Failure{};
    const std::unique_ptr<TalvoGdalZipEntry, TZipEntryCloser> Opened(
        Gdal.OpenZipEntry(Zip, Entry.Index, &Failure), TZipEntryCloser{&Gdal});
    if (!Opened) {
        throw Placed(ETalvoError(GdalFailureText(Failure)), File);
    }
    TFileBytes Bytes;
    while (true) {
        // One byte beyond the declared size, to find an entry that unpacks to more.
        char Beyond = 0;
        const uint64_t Want = Bytes.Size < Entry.Size
                                  ? std::min<uint64_t>(Entry.Size - Bytes.Size, FilePieceBytes)
                                  : 1;
        if (Bytes.Size < Entry.Size) {
            ReserveFileBytes(Bytes, Bytes.Size + Want);
        }
        char* To = Bytes.Size < Entry.Size ? Bytes.Data.get() + Bytes.Size : &Beyond;
        const int64_t Got = Gdal.ReadZipEntry(Opened.get(), To, Want, &Failure);
        if (Got < 0) {
            throw Placed(ETalvoError(GdalFailureText(Failure)), File);
        }
        if (To == &Beyond ? Got != 0 : Got == 0) {
            throw Placed(ETalvoError(Text(TText::ZipEntrySize)), File);
        }
        if (To == &Beyond) {
            break;
        }
        if (Bytes.Size == 0) {
            RequireXmlStart(std::string_view(To, static_cast<size_t>(Got)), File);
        }
        Bytes.Size += static_cast<uint64_t>(Got);
    }
    return Bytes;
}

std::string ZipTilePath(const std::string& ZipPath, const std::string& EntryName) {
    return ZipPath + "/" + EntryName;
}

TOpenedMap OpenZipTile(const std::string& ZipPath, const std::string& EntryName,
                       TProgress& Progress) {
    TZipTiles Zip(ZipPath);
    const std::string File = ZipTilePath(ZipPath, EntryName);
    const auto Entry =
        std::find_if(Zip.Tiles().begin(), Zip.Tiles().end(),
                     [&](const TZipTileEntry& Tile) { return Tile.Name == EntryName; });
    if (Entry == Zip.Tiles().end()) {
        throw Placed(ETalvoError(Text(TText::ZipTileMissing)), File);
    }
    const TFileBytes Bytes = Zip.Read(*Entry, File);
    return LoadMap(ZipPath, [&](TLoadedMap Start) {
        TOpenedMap Opened = OpenFgGmlBytes(Bytes.View(), File, std::move(Start), Progress);
        Opened.Map.NumHeader.DataFileName = ZipPath;
        return Opened;
    });
}

} // namespace talvo
