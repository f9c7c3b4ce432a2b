#include "cli/Commands.h"

#include <cmath>
#include <filesystem>
#include <future>
#include <mutex>
#include <unistd.h>

#include "app/BatchTiles.h"
#include "app/Document.h"
#include "app/HeightExport.h"
#include "app/MosaicExport.h"
#include "cli/Batch.h"
#include "cli/BatchActions.h"
#include "cli/ReliefRequest.h"
#include "model/CellCounts.h"
#include "model/CellReadout.h"
#include "model/CellWindows.h"
#include "model/ElevationProfile.h"
#include "model/MapInfo.h"
#include "model/PointText.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/ExecutablePath.h"
#include "platform/Messages.h"
#include "platform/PictureFiles.h"
#include "platform/Progress.h"
#include "platform/TextConvert.h"
#include "render/DrapeTexture.h"
#include "view3d/TerrainMesh.h"

namespace talvo {

namespace {

// Shows how far a drawing (or the work Doing names) has come as a percentage on a terminal;
// nothing when standard error is not one.
class TTerminalProgress : public TProgress {
  public:
    explicit TTerminalProgress(std::ostream& Err, TText Doing = TText::Drawing)
        : Err(Err), Doing(Doing), Shown(::isatty(STDERR_FILENO)) {}
    ~TTerminalProgress() override {
        if (Shown && LastPercent >= 0) {
            Err << "\r" << std::string(24, ' ') << "\r" << std::flush;
        }
    }
    TTerminalProgress(const TTerminalProgress&) = delete;
    TTerminalProgress& operator=(const TTerminalProgress&) = delete;

  protected:
    void Changed() override {
        if (!Shown || Total() <= 0) {
            return;
        }
        const int64_t Percent = Done() * 100 / Total();
        std::lock_guard Lock(Mutex); // bands of rows finish on several threads
        if (Percent > LastPercent) {
            LastPercent = Percent;
            Err << "\r" << Text(Doing, {std::to_string(Percent)}) << std::flush;
        }
    }

  private:
    std::ostream& Err;
    TText Doing;
    bool Shown;
    std::mutex Mutex;
    int64_t LastPercent = -1;
};

// The settings of a command: --ini's file, or the viewer's, or on a first run the shipped
// palette. A file that cannot be read fails the command; colours that could not be read are
// named on Err.
TDocument StartDocument(const std::optional<std::string>& IniPath, std::ostream& Err) {
    TDocument Document(IniPath ? TSettingsFile{*IniPath, true} : SettingsFile(ExecutableDir()),
                       ShippedPalettePath(ExecutableDir()));
    if (!Document.SettingsUnreadable().empty()) {
        throw EFailed(Document.SettingsUnreadable());
    }
    if (!Document.BadColourKeys().empty()) {
        Err << "talvo: " << Text(TText::ColoursNotHexadecimal, {Document.SettingsFile().Path});
        for (const std::string& Key : Document.BadColourKeys()) {
            Err << ' ' << Key;
        }
        Err << '\n';
    }
    return Document;
}

// The settings of Document with --shade's shading in place of theirs, when given.
void ApplyShade(TDocument& Document, const TRequest& Request) {
    if (const std::optional<TShadeMode> Shade = ShadeOf(Request)) {
        TViewSettings Settings = Document.Settings();
        Settings.Shade = *Shade;
        Document.SetSettings(Settings);
    }
}

// A load's result: a failure when the window would have shown a message instead of a map; what a
// load that went well still tells, on Err.
TOpenOutcome Told(const TLoadResult& Loaded, std::ostream& Err) {
    if (Loaded.Outcome == TOpenOutcome::CompanionMissing) {
        throw EFailed(TerminalText(Loaded.Message));
    }
    if (!Loaded.Note.empty()) {
        Err << TerminalText(Loaded.Note) << '\n';
    }
    return Loaded.Outcome;
}

// Opens Path into Document, Crs in place of the map's own when given.
TOpenOutcome Open(TDocument& Document, const std::string& Path, std::ostream& Err,
                  const std::string& Crs = "") {
    TProgress Unwatched;
    return Told(Document.Open(Path, Unwatched, Crs), Err);
}

// Opens Path into Document for a few of its cells: a raster GDAL reads is read by window.
void OpenForCells(TDocument& Document, const std::string& Path, std::ostream& Err) {
    TProgress Unwatched;
    Told(Document.OpenForCells(Path, Unwatched), Err);
}

// Opens the map of Request into Document: its FILE, or with --mosaic the FG-GML tiles of every
// FILE as one map; --crs's CRS in place of the map's own.
TOpenOutcome OpenInputs(TDocument& Document, const TRequest& Request, std::ostream& Err) {
    if (!Request.Mosaic) {
        return Open(Document, Request.Files.front(), Err, Request.Crs);
    }
    TProgress Unwatched;
    // A rerun of the command never lays its own output among the tiles of a folder.
    return Told(Document.OpenMosaic(Request.Files, Unwatched, Request.Crs, {Request.OutPath}), Err);
}

// A point of --at, --from or --to that is no point is a mistyped command line.
template <typename TResult>
TResult OfPointText(TResult (*Parse)(const TLoadedMap&, const std::string&), const TLoadedMap& Map,
                    const std::string& Point) {
    try {
        return Parse(Map, Point);
    } catch (const EPointNotUnderstood& Error) {
        throw EMisuse(Error.what());
    }
}

// --crs's CRS, refused before anything is read when GDAL does not know it.
void CheckCrs(const TRequest& Request) {
    if (!Request.Crs.empty()) {
        CheckOutputCrs(Request.Crs);
    }
}

// The picture --render draws of a map with Header: its --region (the whole map without one),
// fitted into --size or a pixel per cell.
TPictureGrid PictureGridOf(const TRequest& Request, const TNum_HeaderRec& Header) {
    const TRegion& R = Request.Region;
    TCellWindow Region{R.StartX, R.StartY, R.SizeX, R.SizeY};
    if (R.SizeX == 0) {
        Region = WholePicture(Header).Region;
    }
    if (Region.Col < 0 || Region.Row < 0 || Region.Cols < 1 || Region.Rows < 1 ||
        Region.Cols > Header.Columns - Region.Col || Region.Rows > Header.Rows - Region.Row) {
        throw EFailed(Text(TText::WindowOutsideMap,
                           {std::to_string(Region.Col), std::to_string(Region.Row),
                            std::to_string(Region.Cols), std::to_string(Region.Rows)}));
    }
    if (!Request.Size) {
        return {Region, Region.Cols, Region.Rows};
    }
    return FitPicture(Region, Request.Size->first, Request.Size->second);
}

// What a batch is asked to do, from the command line.
TBatchOptions BatchOptionsOf(const TRequest& Request) {
    TBatchOptions Options;
    Options.Inputs = Request.Files;
    Options.OutDir = Request.OutPath;
    Options.Manifest = Request.Manifest;
    Options.Jobs = Request.Jobs;
    Options.Force = Request.Force;
    Options.Quiet = Request.Quiet;
    Options.Shard = Request.Shard;
    if (!Request.Crs.empty()) {
        Options.Crs = Request.Crs;
    }
    return Options;
}

} // namespace

void PrintInfo(const std::string& Path, std::ostream& Out, std::ostream& Err) {
    TDocument Document;
    Open(Document, Path, Err);
    const TLoadedMap& Map = *Document.Map();
    auto Print = [&Out](const std::vector<TMapInfoField>& Fields) {
        for (const TMapInfoField& Field : Fields) {
            Out << Field.Name << ": " << Field.Value << '\n';
        }
    };
    Print(MapInfoFields(Map));
    Print(MapDetailFields(Map));
    // The header at once: a map read by window is counted while it shows.
    Out << std::flush;
    TTerminalProgress Progress(Err, TText::Counting);
    Print(CountFields(CountCells(Map, Progress)));
}

void Render(const TRequest& Request, std::ostream& Err) {
    CheckCrs(Request);
    TDocument Document = StartDocument(Request.IniPath, Err);
    ApplyShade(Document, Request);
    const TLayerFlags Layers =
        Request.Layers ? ParseLayers(*Request.Layers) : Document.Settings().GmpChk;
    const std::string& MapPath = Request.Files.front();
    if (OpenInputs(Document, Request, Err) != TOpenOutcome::Loaded) {
        throw EFailed(Text(TText::NothingToDraw, {MapPath}));
    }
    const TPictureGrid Grid = PictureGridOf(Request, Document.Map()->NumHeader);
    // A picture the format cannot hold is refused before it is drawn.
    CheckPictureSize(Request.OutPath, Grid.Cols, Grid.Rows);
    const TDrawing Drawing = Document.StartDrawing(Layers, Grid);
    if (!Drawing.OverlayFailure.empty()) {
        throw EFailed(Drawing.OverlayFailure);
    }
    TTerminalProgress Progress(Err);
    const std::optional<TBitmap> Picture = Drawing.Job(Progress);
    Document.SavePicture(*Picture, Request.OutPath, !Request.NoWorldFile, Grid);
}

void PrintAt(const TRequest& Request, std::ostream& Out, std::ostream& Err) {
    TDocument Document;
    OpenForCells(Document, Request.Files[0], Err);
    const TLoadedMap& Map = *Document.Map();
    const TGridCell Cell = OfPointText(CellOfPointText, Map, Request.AtPoint);
    for (const TMapInfoField& Field : ReadoutFields(Map, Cell)) {
        Out << Field.Name << ": " << Field.Value << '\n';
    }
}

void Profile(const TRequest& Request, std::ostream& Out, std::ostream& Err) {
    TDocument Document;
    const std::string& MapPath = Request.Files.front();
    OpenForCells(Document, MapPath, Err);
    const TLoadedMap& Map = *Document.Map();
    const TMapKindTraits& Kind = KindTraits(Map.NumHeader.MapKind);
    if (Kind.Colouring != TColouring::Elevation) {
        throw EFailed(Text(TText::ProfileNeedsHeights, {MapPath, Kind.Code}));
    }
    std::vector<TMapPoint> Line = {OfPointText(PointOfText, Map, Request.From)};
    for (const std::string& Point : Request.To) {
        Line.push_back(OfPointText(PointOfText, Map, Point));
    }
    const std::vector<TProfileSample> Samples = SampleProfileAlong(Map, Line);
    if (Request.OutPath.empty()) {
        Out << ProfileCsv(Map, Samples);
        return;
    }
    Document.SaveProfile(Samples, Request.OutPath);
}

void Export(const TRequest& Request, std::ostream& Err) {
    // Checked first: nothing is read for an output that is not a GeoTIFF.
    if (!IsGeoTiffPath(Request.OutPath)) {
        throw EFailed(Text(TText::ExportNeedsTif, {Request.OutPath}));
    }
    CheckCrs(Request);
    // GDAL, which writes the file, starts while the map is read.
    std::future<void> GdalStarted = std::async(std::launch::async, PrepareExport);
    if (Request.Mosaic && !ReliefOptionsOf(Request)) {
        // A mosaic of heights of any size, a band of tiles at a time.
        GdalStarted.get();
        TTerminalProgress Progress(Err);
        // A rerun of the command never lays its own output among the tiles of a folder.
        const std::string Note = ExportMosaic(
            {Request.Files, {Request.OutPath}, SeaValue(Request.Sea), Request.Crs, Request.Jobs},
            Request.OutPath, Progress);
        if (!Note.empty()) {
            Err << TerminalText(Note) << '\n';
        }
        return;
    }
    TDocument Document;
    OpenInputs(Document, Request, Err);
    GdalStarted.get();
    TTerminalProgress Progress(Err, TText::Exporting);
    Document.Export({SeaValue(Request.Sea), ReliefOptionsOf(Request)}, Request.OutPath, Progress);
}

int Batch(const TRequest& Request, std::ostream& Out, std::ostream& Err) {
    CheckCrs(Request);
    if (Request.Export) {
        return RunBatch(BatchOptionsOf(Request),
                        TExportTiles({SeaValue(Request.Sea), ReliefOptionsOf(Request)}), Out, Err);
    }
    TDocument Settings = StartDocument(Request.IniPath, Err);
    ApplyShade(Settings, Request);
    const TLayerFlags Layers =
        Request.Layers ? ParseLayers(*Request.Layers) : Settings.Settings().GmpChk;
    const TRenderTiles Action(std::move(Settings), Layers, !Request.NoWorldFile);
    return RunBatch(BatchOptionsOf(Request), Action, Out, Err);
}

void Mesh(const TRequest& Request, std::ostream& Err) {
    // Checked first: nothing is read or written for an output that is not an OBJ file.
    if (!SameTextIgnoringCase(std::filesystem::path(Request.OutPath).extension().string(),
                              ".obj")) {
        throw EFailed(Text(TText::MeshNeedsObj, {Request.OutPath}));
    }
    TDocument Document = StartDocument(Request.IniPath, Err);
    ApplyShade(Document, Request);
    const std::string& MapPath = Request.Files.front();
    Open(Document, MapPath, Err);
    const TLoadedMap& Map = *Document.Map();
    if (!KindTraits(Map.NumHeader.MapKind).ShownIn3D) {
        throw EFailed(
            Text(TText::MeshNeedsHeights, {MapPath, KindTraits(Map.NumHeader.MapKind).Code}));
    }
    TRegion Region = Request.Region;
    CheckTerrainRegion(Map, Region);
    // Of a map read by window, the region's cells on the map alone, read as a map of their own.
    const TNum_HeaderRec& H = Map.NumHeader;
    const TCellWindow OnMap{Region.StartX, Region.StartY,
                            std::min(Region.SizeX, H.Columns - Region.StartX),
                            std::min(Region.SizeY, H.Rows - Region.StartY)};
    const TPictureGrid Grid{OnMap, OnMap.Cols, OnMap.Rows};
    TLoadedMap Window;
    if (Map.Windows) {
        TTerminalProgress Reading(Err);
        Window = Map.Windows->Read(OnMap, OnMap.Cols, OnMap.Rows, Reading);
        Region.StartX = Region.StartY = 0;
    }
    const TLoadedMap& Cells = Map.Windows ? Window : Map;
    // The picture the viewer would draw, its region laid on the terrain.
    std::optional<TBitmap> Drape;
    if (Request.Drape) {
        const TLayerFlags Layers =
            Request.Layers ? ParseLayers(*Request.Layers) : Document.Settings().GmpChk;
        const TDrawing Drawing =
            Map.Windows ? Document.StartDrawing(Layers, Grid) : Document.StartDrawing(Layers);
        if (!Drawing.OverlayFailure.empty()) {
            throw EFailed(Drawing.OverlayFailure);
        }
        TTerminalProgress Progress(Err);
        Drape = DrapeTexture(*Drawing.Job(Progress), Cells, Region);
    }
    TRenderer Renderer;
    TTerrainMesh Terrain;
    InitTerrainMesh(Terrain);
    auto Builder =
        BuildTerrainMesh(Renderer, *Renderer.Scene, Terrain, Cells, Region, Document.Settings(),
                         Document.ColourTable(), Drape ? &*Drape : nullptr);
    Document.SaveMesh(Builder->Triangles(), Request.OutPath);
}

} // namespace talvo
