#include "app/Document.h"

#include <filesystem>

#include "app/BatchTiles.h"
#include "app/GeoTiffOutput.h"
#include "import/E00Reader.h"
#include "import/FgGmlZip.h"
#include "import/GdalCellWindows.h"
#include "import/GdalRasterReader.h"
#include "import/LonLatOfCrs.h"
#include "import/MapFiles.h"
#include "import/OpenMap.h"
#include "import/ZipTiles.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/PictureFiles.h"
#include "platform/SameFile.h"
#include "platform/WorldFile.h"
#include "render/MapPicture.h"
#include "render/WindowPicture.h"
#include "view3d/ObjFile.h"

namespace talvo {

namespace {

std::shared_ptr<const TLoadedMap> EmptyMap() {
    auto Map = std::make_shared<TLoadedMap>();
    InitLoadedMap(*Map);
    return Map;
}

} // namespace

TDocument::TDocument(TSettingsFile File, std::string ShippedPalette)
    : File(std::move(File)), FMap(EmptyMap()) {
    try {
        BadKeys = LoadStartSettings(this->File, ShippedPalette, FSettings, StartProfile);
    } catch (const ETalvoError& Error) {
        Unreadable = Error.what();
        FSettings = {};
        BadKeys = LoadSettings(ReadProfileFile(ShippedPalette), FSettings);
    }
    BuildHeightColourTable(FSettings, Table);
}

TDocument::TDocument() : FMap(EmptyMap()) {
    BuildHeightColourTable(FSettings, Table);
}

std::string TDocument::StartValue(const std::string& Section, const std::string& Key) const {
    return StartProfile.Get(Section, Key, "");
}

void TDocument::SetSettings(const TViewSettings& Settings) {
    FSettings = Settings;
    BuildHeightColourTable(FSettings, Table);
}

void TDocument::SaveSettings(const TViewSettings& Settings, const std::vector<TExtraKey>& Extra) {
    TViewSettings Saved = Settings;
    talvo::SaveSettings(File.Path, Saved, Extra);
    SetSettings(Saved);
}

TOpenJob TDocument::OpenJob(std::string Path) const {
    return [Path = std::move(Path), Previous = FMap](TProgress& Progress) {
        return OpenMap(Path, *Previous, Progress);
    };
}

TOpenJob TDocument::OpenJob(std::vector<std::string> Paths) const {
    std::error_code Unknown;
    if (Paths.size() == 1 && !std::filesystem::is_directory(Paths.front(), Unknown)) {
        return OpenJob(std::move(Paths.front()));
    }
    return MosaicJob(std::move(Paths));
}

TOpenJob TDocument::MosaicJob(std::vector<std::string> Inputs,
                              std::vector<std::string> LeftOut) const {
    return [Inputs = std::move(Inputs), LeftOut = std::move(LeftOut),
            Previous = FMap](TProgress& Progress) {
        const TMapFileSearch Found = SearchMapFiles(Inputs, LeftOut);
        if (Found.Files.empty()) {
            throw Placed(ETalvoError(Text(TText::MosaicNeedsFgGml)),
                         Inputs.empty() ? std::string() : Inputs.front());
        }
        TOpenedMap Opened = LoadMap(Found.Files.front(), *Previous, [&](TLoadedMap Start) {
            return OpenFgGmlMosaic(Found.Files, std::move(Start), Progress);
        });
        for (const std::string& Skipped : Found.Skipped) {
            Opened.Note += (Opened.Note.empty() ? "" : "\n") + Skipped;
        }
        return Opened;
    };
}

TLoadResult TDocument::Accept(TOpenedMap Opened, const std::string& Crs) {
    if (!Crs.empty()) {
        Opened.Map.Georeference.Crs = Crs;
        Opened.Map.Georeference.Datum.clear();
        AttachLonLat(Opened.Map);
    }
    FMap = std::make_shared<const TLoadedMap>(std::move(Opened.Map));
    FOverlays = std::make_shared<TOverlaySet>();
    return {Opened.Outcome, std::move(Opened.Message), std::move(Opened.Note)};
}

TLoadResult TDocument::Open(const std::string& Path, TProgress& Progress, const std::string& Crs) {
    return Accept(OpenJob(Path)(Progress), Crs);
}

TLoadResult TDocument::OpenForCells(const std::string& Path, TProgress& Progress) {
    if (DriverOf(Path).Open != OpenGdalRaster) {
        return Open(Path, Progress);
    }
    return Accept(LoadMap(Path, *FMap, [&Path](TLoadedMap) {
        return TOpenedMap{TOpenOutcome::Loaded, OpenGdalRasterByWindow(Path), {}};
    }));
}

TLoadResult TDocument::OpenMosaic(const std::vector<std::string>& Inputs, TProgress& Progress,
                                  const std::string& Crs, const std::vector<std::string>& LeftOut) {
    return Accept(MosaicJob(Inputs, LeftOut)(Progress), Crs);
}

TLoadResult TDocument::OpenTile(const std::string& Zip, const std::string& Entry,
                                TProgress& Progress, const std::string& Crs) {
    if (Entry.empty()) {
        return Open(Zip, Progress, Crs);
    }
    return Accept(OpenZipTile(Zip, Entry, Progress), Crs);
}

TDrawing TDocument::StartDrawing(const TLayerFlags& Layers) {
    return StartDrawing(Layers, WholePicture(FMap->NumHeader));
}

TDrawing TDocument::StartDrawing(const TLayerFlags& Layers, const TPictureGrid& Grid) {
    if (int64_t{Grid.Cols} * Grid.Rows > MaxGridCells) {
        throw ETalvoError(
            Text(TText::PictureNeedsSize, {std::to_string(Grid.Cols), std::to_string(Grid.Rows)}));
    }
    if (FMap->Windows) {
        return {[Map = FMap, Settings = FSettings, Table = Table, Grid](TProgress& Progress) {
                    return DrawWindowPicture(*Map, Grid.Region, Grid.Cols, Grid.Rows, Settings,
                                             Table, Progress);
                },
                {}};
    }
    TDrawing Drawing = StartWholeDrawing(Layers);
    const TPictureGrid Whole = WholePicture(FMap->NumHeader);
    if (Grid.Region.Col == 0 && Grid.Region.Row == 0 && Grid.Region.Cols == Whole.Cols &&
        Grid.Region.Rows == Whole.Rows && Grid.Cols == Whole.Cols && Grid.Rows == Whole.Rows) {
        return Drawing;
    }
    Drawing.Job = [Whole = std::move(Drawing.Job), Grid](TProgress& Progress) {
        std::optional<TBitmap> Picture = Whole(Progress);
        return Picture ? std::optional<TBitmap>(NearestPixels(*Picture, Grid)) : std::nullopt;
    };
    return Drawing;
}

TDrawing TDocument::StartWholeDrawing(const TLayerFlags& Layers) {
    // A drawing under way keeps the layers it was given; new ones go into a copy.
    auto Overlays = std::make_shared<TOverlaySet>(*FOverlays);
    std::string Failure;
    try {
        LoadOverlays(*Overlays, *FMap, Layers);
    } catch (const std::exception& Error) {
        Failure = Error.what();
    }
    FOverlays = Overlays;
    return {[Map = FMap, Overlays = std::shared_ptr<const TOverlaySet>(Overlays),
             Settings = FSettings, Table = Table, Layers](TProgress& Progress) {
                return DrawMapPicture(*Map, *Overlays, Settings, Table, Layers, Progress);
            },
            Failure};
}

TDrawJob TDocument::ViewJob(const TViewRequest& Request) const {
    return [Map = FMap, Request, Settings = FSettings, Table = Table](TProgress& Progress) {
        return DrawWindowPicture(*Map, Request.Window, Request.Cols, Request.Rows, Settings, Table,
                                 Progress);
    };
}

void TDocument::SavePicture(const TBitmap& Picture, const std::string& Path,
                            bool WorldFiles) const {
    SavePicture(Picture, Path, WorldFiles, WholePicture(FMap->NumHeader));
}

void TDocument::SavePicture(const TBitmap& Picture, const std::string& Path, bool WorldFiles,
                            const TPictureGrid& Grid) const {
    const TGeoreference Place = PictureGeoreference(FMap->Georeference, Grid);
    std::error_code Unknown;
    // A device or a pipe takes the picture alone. A world file cannot hold ground control points:
    // such a picture is placed only as a GeoTIFF, which carries them.
    WorldFiles = WorldFiles && !IsGeoTiffPath(Path) && Place.Transform != std::array<double, 6>{} &&
                 Place.Gcps.empty() &&
                 (!std::filesystem::exists(Path, Unknown) ||
                  std::filesystem::is_regular_file(Path, Unknown));
    const std::vector<std::string> Inputs = InputFiles();
    RefuseOverwritingInput(Path, Inputs);
    if (WorldFiles) {
        for (const std::string& Beside : WorldFilePaths(Path)) {
            RefuseOverwritingInput(Beside, Inputs);
        }
    }
    if (IsGeoTiffPath(Path)) {
        WritePictureGeoTiff(Picture, Place, Path);
        return;
    }
    WritePicture(Picture, Path);
    if (WorldFiles) {
        WriteWorldFiles(Path, Place.Transform, Place.Crs);
    }
}

std::vector<std::string> TDocument::InputFiles() const {
    std::vector<std::string> Files = MapFiles(*FMap, *FOverlays);
    Files.push_back(File.Path);
    return Files;
}

void TDocument::RefuseOverwriting(const std::string& Path) const {
    RefuseOverwritingInput(Path, InputFiles());
}

void TDocument::Export(const THeightExport& Options, const std::string& Path,
                       TProgress& Progress) const {
    RefuseOverwriting(Path);
    ExportHeights(*FMap, Options, Path, Progress);
}

void TDocument::SaveProfile(const std::vector<TProfileSample>& Samples,
                            const std::string& Path) const {
    RefuseOverwriting(Path);
    WriteProfileCsv(*FMap, Samples, Path);
}

void TDocument::SaveMesh(const TTriangles& Triangles, const std::string& Path) const {
    const std::vector<std::string> Inputs = InputFiles();
    RefuseOverwritingInput(Path, Inputs);
    WriteObj(Triangles, Path, [&Inputs](const TObjCompanions& Companions) {
        RefuseOverwritingInput(Companions.Materials, Inputs);
        if (!Companions.Texture.empty()) {
            RefuseOverwritingInput(Companions.Texture, Inputs);
        }
    });
}

} // namespace talvo
