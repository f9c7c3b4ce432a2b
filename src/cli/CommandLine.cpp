#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <future>
#include <limits>
#include <mutex>
#include <unistd.h>

#include "app/Document.h"
#include "app/GeoTiffOutput.h"
#include "app/HeightExport.h"
#include "cli/Batch.h"
#include "cli/BatchActions.h"
#include "cli/BatchManifest.h"
#include "cli/BatchTiles.h"
#include "import/FgGmlZip.h"
#include "import/GdalModuleLoader.h"
#include "import/OpenMap.h"
#include "model/CellCounts.h"
#include "model/CellReadout.h"
#include "model/ElevationProfile.h"
#include "model/MapInfo.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/ExecutablePath.h"
#include "platform/Messages.h"
#include "platform/PictureFiles.h"
#include "platform/Progress.h"
#include "platform/SameFile.h"
#include "platform/TextConvert.h"
#include "platform/ValueSplit.h"
#include "render/DrapeTexture.h"
#include "view3d/ObjFile.h"
#include "view3d/TerrainMesh.h"

namespace talvo {

namespace {

// Shows how far a drawing has come as a percentage on a terminal; nothing when standard error
// is not one.
class TTerminalProgress : public TProgress {
  public:
    explicit TTerminalProgress(std::ostream& Err) : Err(Err), Shown(::isatty(STDERR_FILENO)) {}
    ~TTerminalProgress() override {
        if (Shown && LastPercent >= 0) {
            Err << "\r" << std::string(16, ' ') << "\r" << std::flush;
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
            Err << "\r" << Text(TText::Drawing, {std::to_string(Percent)}) << std::flush;
        }
    }

  private:
    std::ostream& Err;
    bool Shown;
    std::mutex Mutex;
    int64_t LastPercent = -1;
};

// A message box's text for a terminal: its line breaks as plain line feeds.
std::string TerminalText(std::string Text) {
    std::erase(Text, '\r');
    return Text;
}

// A command line that asks for something talvo does not do.
class EMisuse : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A command that failed: its message, for standard error.
class EFailed : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Everything the command line may be given.
struct TRequest {
    bool Help = false;
    bool Version = false;
    bool Info = false;
    bool Render = false;
    bool Export = false;
    bool Mesh = false;
    bool Drape = false;
    bool NoWorldFile = false;
    bool At = false;
    bool Profile = false;
    bool Verify = false;
    bool Mosaic = false; // every FILE's tiles as one map
    // A batch: -o DIR/, one output per tile.
    int Jobs = 0;
    bool Force = false;
    bool Quiet = false;
    std::string Manifest;
    TShard Shard;
    std::vector<std::string> Files;
    std::string From;
    std::string To;
    std::string OutPath;
    std::optional<std::string> Layers;
    std::optional<std::string> IniPath;
    std::optional<std::string> Sea;
    std::string Crs;
    std::string Region;
    std::string Step = "1";
    std::string HScale = "1";
};

// "ad,rw" → the check boxes of those layers; "" → none.
TLayerFlags ParseLayers(const std::string& Codes) {
    TLayerFlags Checked{};
    if (Codes.empty()) {
        return Checked;
    }
    size_t Start = 0;
    while (Start <= Codes.size()) {
        const size_t Comma = std::min(Codes.find(',', Start), Codes.size());
        const std::string Code = Codes.substr(Start, Comma - Start);
        bool Known = false;
        for (size_t Layer = 0; Layer < OverlayLayerCodes.size(); ++Layer) {
            if (SameTextIgnoringCase(Code, OverlayLayerCodes[Layer])) {
                Checked[Layer] = Known = true;
            }
        }
        if (!Known) {
            throw EMisuse(Text(TText::UnknownLayer, {Code}));
        }
        Start = Comma + 1;
    }
    return Checked;
}

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

// Opens Path into Document, Crs in place of the map's own when given; fails when the window would
// have shown a message instead of a map.
TOpenOutcome Open(TDocument& Document, const std::string& Path, const std::string& Crs = "") {
    TProgress Unwatched;
    const TLoadResult Loaded = Document.Open(Path, Unwatched, Crs);
    if (Loaded.Outcome == TOpenOutcome::CompanionMissing) {
        throw EFailed(TerminalText(Loaded.Message));
    }
    return Loaded.Outcome;
}

void PrintInfo(const std::string& Path, std::ostream& Out) {
    TDocument Document;
    Open(Document, Path);
    const TLoadedMap& Map = *Document.Map();
    for (const auto& Fields : {MapInfoFields(Map), MapDetailFields(Map), CountFields(Map)}) {
        for (const TMapInfoField& Field : Fields) {
            Out << Field.Name << ": " << Field.Value << '\n';
        }
    }
}

// Opens the map of Request into Document: its FILE, or with --mosaic the FG-GML tiles of every
// FILE as one map; --crs's CRS in place of the map's own.
TOpenOutcome OpenInputs(TDocument& Document, const TRequest& Request) {
    if (!Request.Mosaic) {
        return Open(Document, Request.Files.front(), Request.Crs);
    }
    const std::vector<std::string> Files = ListMapFiles(Request.Files);
    RefuseOverwritingInput(Request.OutPath, Files);
    TLoadedMap Empty;
    InitLoadedMap(Empty);
    TLoadedMap Start = StartLoadedMap(Empty);
    Start.NumHeader.MapFileName = Files.front();
    TProgress Unwatched;
    TOpenedMap Opened = OpenFgGmlMosaic(Files, std::move(Start), Unwatched);
    SettleGeoreference(Opened.Map);
    if (!Request.Crs.empty()) {
        Opened.Map.Georeference.Crs = Request.Crs;
    }
    return Document.Accept(std::move(Opened)).Outcome;
}

void Render(const TRequest& Request, std::ostream& Err) {
    TDocument Document = StartDocument(Request.IniPath, Err);
    const TLayerFlags Layers =
        Request.Layers ? ParseLayers(*Request.Layers) : Document.Settings().GmpChk;
    const std::string& MapPath = Request.Files.front();
    if (OpenInputs(Document, Request) != TOpenOutcome::Loaded) {
        throw EFailed(Text(TText::NothingToDraw, {MapPath}));
    }
    const TDrawing Drawing = Document.StartDrawing(Layers);
    if (!Drawing.OverlayFailure.empty()) {
        throw EFailed(Drawing.OverlayFailure);
    }
    // A picture the format cannot hold is refused before it is drawn.
    const TNum_HeaderRec& H = Document.Map()->NumHeader;
    CheckPictureSize(Request.OutPath, H.Pts_WE, H.Pts_NS);
    TTerminalProgress Progress(Err);
    const std::optional<TBitmap> Picture = Drawing.Job(Progress);
    Document.SavePicture(*Picture, Request.OutPath, !Request.NoWorldFile);
}

// "LON,LAT" (or easting and northing) → the cell under it; "col:row" → that cell of the grid. A
// text that is neither is a mistyped command line; a point off the map fails naming it.
TGridCell CellOfPointText(const TLoadedMap& Map, const std::string& Point) {
    const size_t Colon = Point.find(':');
    const size_t Comma = Point.find(',');
    const size_t Split = Colon != std::string::npos ? Colon : Comma;
    double X = 0.0, Y = 0.0;
    try {
        if (Split == std::string::npos ||
            Point.find_first_of(":,", Split + 1) != std::string::npos) {
            throw EMisuse(Text(TText::PointNotUnderstood, {Point}));
        }
        const std::string_view First = std::string_view(Point).substr(0, Split);
        const std::string_view Second = std::string_view(Point).substr(Split + 1);
        if (Colon != std::string::npos) {
            if (const auto Cell = CellOfRow(Map, StrToInt(First), StrToInt(Second))) {
                return *Cell;
            }
        } else {
            X = StrToFloat(First);
            Y = StrToFloat(Second);
            if (const auto Cell = CellAt(Map, {X, Y})) {
                return *Cell;
            }
        }
    } catch (const EConvertError&) {
        throw EMisuse(Text(TText::PointNotUnderstood, {Point}));
    }
    throw Placed(ETalvoError(Text(TText::PointOffMap, {Point})), Map.NumHeader.MapFileName);
}

// A point of --from or --to: a cell's centre for "col:row", else the point given.
TMapPoint PointOfText(const TLoadedMap& Map, const std::string& Point) {
    const TGridCell Cell = CellOfPointText(Map, Point);
    const size_t Comma = Point.find(',');
    if (Comma == std::string::npos) {
        return CellCentre(Map, Cell);
    }
    return {StrToFloat(Point.substr(0, Comma)), StrToFloat(Point.substr(Comma + 1))};
}

void PrintAt(const TRequest& Request, std::ostream& Out) {
    TDocument Document;
    Open(Document, Request.Files[0]);
    const TLoadedMap& Map = *Document.Map();
    const TGridCell Cell = CellOfPointText(Map, Request.Files[1]);
    for (const TMapInfoField& Field : ReadoutFields(Map, Cell)) {
        Out << Field.Name << ": " << Field.Value << '\n';
    }
}

void Profile(const TRequest& Request, std::ostream& Out) {
    TDocument Document;
    const std::string& MapPath = Request.Files.front();
    Open(Document, MapPath);
    const TLoadedMap& Map = *Document.Map();
    const TMapKindTraits& Kind = KindTraits(Map.NumHeader.MapKind);
    if (Kind.Colouring != TColouring::Elevation) {
        throw EFailed(Text(TText::ProfileNeedsHeights, {MapPath, Kind.Code}));
    }
    const std::vector<TProfileSample> Samples =
        SampleProfile(Map, PointOfText(Map, Request.From), PointOfText(Map, Request.To));
    if (Request.OutPath.empty()) {
        Out << ProfileCsv(Map, Samples);
        return;
    }
    RefuseOverwritingInput(Request.OutPath, Document.InputFiles());
    WriteProfileCsv(Map, Samples, Request.OutPath);
}

// --sea's value as a number; a text that is none is a mistyped command line.
std::optional<double> SeaValue(const std::optional<std::string>& Given) {
    if (!Given) {
        return std::nullopt;
    }
    double Value = 0.0;
    const char* End = Given->data() + Given->size();
    const auto [Stop, Error] = std::from_chars(Given->data(), End, Value);
    if (Error != std::errc() || Stop != End || !std::isfinite(Value)) {
        throw EMisuse(Text(TText::SeaNeedsNumber, {*Given}));
    }
    return Value;
}

void Export(const TRequest& Request) {
    // Checked first: nothing is read for an output that is not a GeoTIFF.
    if (!IsGeoTiffPath(Request.OutPath)) {
        throw EFailed(Text(TText::ExportNeedsTif, {Request.OutPath}));
    }
    // GDAL, which writes the file, starts while the map is read.
    std::future<void> GdalStarted = std::async(std::launch::async, [] { GdalModule(); });
    TDocument Document;
    OpenInputs(Document, Request);
    GdalStarted.get();
    RefuseOverwritingInput(Request.OutPath, Document.InputFiles());
    TProgress Unwatched;
    ExportHeights(*Document.Map(), {SeaValue(Request.Sea)}, Request.OutPath, Unwatched);
}

// --render or --export with -o DIR/: a folder, one output per tile.
bool IsBatch(const TRequest& Request) {
    return (Request.Render || Request.Export) && Request.OutPath.ends_with('/');
}

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

int Batch(const TRequest& Request, std::ostream& Out, std::ostream& Err) {
    if (Request.Export) {
        return RunBatch(BatchOptionsOf(Request), TExportTiles({SeaValue(Request.Sea)}), Out, Err);
    }
    TDocument Settings = StartDocument(Request.IniPath, Err);
    const TLayerFlags Layers =
        Request.Layers ? ParseLayers(*Request.Layers) : Settings.Settings().GmpChk;
    const TRenderTiles Action(std::move(Settings), Layers, !Request.NoWorldFile);
    return RunBatch(BatchOptionsOf(Request), Action, Out, Err);
}

// --hscale as the single-precision float the mesh holds; a value that float cannot hold is refused.
float HeightScale(const std::string& Given) {
    const double Scale = StrToFloat(Given);
    if (std::abs(Scale) > std::numeric_limits<float>::max()) {
        throw ETalvoError(Text(TText::HeightScaleRange, {Given}));
    }
    return static_cast<float>(Scale);
}

void Mesh(const TRequest& Request, std::ostream& Err) {
    // Checked first: nothing is read or written for an output that is not an OBJ file.
    if (!SameTextIgnoringCase(std::filesystem::path(Request.OutPath).extension().string(),
                              ".obj")) {
        throw EFailed(Text(TText::MeshNeedsObj, {Request.OutPath}));
    }
    TDocument Document = StartDocument(Request.IniPath, Err);
    const std::string& MapPath = Request.Files.front();
    Open(Document, MapPath);
    const TLoadedMap& Map = *Document.Map();
    if (!KindTraits(Map.NumHeader.MapKind).ShownIn3D) {
        throw EFailed(
            Text(TText::MeshNeedsHeights, {MapPath, KindTraits(Map.NumHeader.MapKind).Code}));
    }
    const std::vector<std::string> Parts = SplitValues(Request.Region, false);
    if (Parts.size() != 4) {
        throw ETalvoError(Text(TText::RegionNeedsFour));
    }
    const TRegion Region{StrToInt(Parts[0]), StrToInt(Parts[1]),     StrToInt(Parts[2]),
                         StrToInt(Parts[3]), StrToInt(Request.Step), HeightScale(Request.HScale)};
    CheckTerrainRegion(Map, Region);
    // The picture the viewer would draw, its region laid on the terrain.
    std::optional<TBitmap> Drape;
    if (Request.Drape) {
        const TLayerFlags Layers =
            Request.Layers ? ParseLayers(*Request.Layers) : Document.Settings().GmpChk;
        const TDrawing Drawing = Document.StartDrawing(Layers);
        if (!Drawing.OverlayFailure.empty()) {
            throw EFailed(Drawing.OverlayFailure);
        }
        TTerminalProgress Progress(Err);
        Drape = DrapeTexture(*Drawing.Job(Progress), Map, Region);
    }
    TRenderer Renderer;
    TTerrainMesh Terrain;
    InitTerrainMesh(Terrain);
    auto Builder =
        BuildTerrainMesh(Renderer, *Renderer.Scene, Terrain, Map, Region, Document.Settings(),
                         Document.ColourTable(), Drape ? &*Drape : nullptr);
    const std::vector<std::string> Inputs = Document.InputFiles();
    RefuseOverwritingInput(Request.OutPath, Inputs);
    RefuseOverwritingInput(ObjMaterialsPath(Request.OutPath), Inputs);
    if (Drape) {
        RefuseOverwritingInput(ObjTexturePath(Request.OutPath), Inputs);
    }
    WriteObj(Builder->Triangles(), Request.OutPath);
}

// The option that Args ends with while it still wants its value; "" when there is none.
std::string OptionWithoutValue(const std::vector<std::string>& Args) {
    for (const char* Option :
         {"-o", "--layers", "--ini", "--region", "--step", "--hscale", "--from", "--to", "--sea",
          "--crs", "--jobs", "--manifest", "--shard"}) {
        if (!Args.empty() && Args.back() == Option) {
            return Option;
        }
    }
    return "";
}

// A whole number of at least 1 written in decimal digits; nothing for any other text.
std::optional<int> PositiveNumber(std::string_view Digits) {
    int Value = 0;
    const auto [End, Error] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Value);
    if (Error != std::errc() || End != Digits.data() + Digits.size() || Value < 1 ||
        Digits.front() == '+') {
        return std::nullopt;
    }
    return Value;
}

// "I/N" of --shard.
TShard ParseShard(const std::string& Given) {
    const size_t Slash = Given.find('/');
    const std::string_view Whole(Given);
    const auto Index = PositiveNumber(Whole.substr(0, std::min(Slash, Given.size())));
    const auto Count =
        Slash == std::string::npos ? std::nullopt : PositiveNumber(Whole.substr(Slash + 1));
    if (!Index || !Count || *Index > *Count) {
        throw EMisuse(Text(TText::ShardNotUnderstood, {Given}));
    }
    return {*Index, *Count};
}

// "EPSG:" and a code, the only form --crs takes.
bool IsEpsgCode(const std::string& Crs) {
    return Crs.size() > 5 && UpperAscii(Crs.substr(0, 5)) == "EPSG:" &&
           std::all_of(Crs.begin() + 5, Crs.end(), [](char C) { return C >= '0' && C <= '9'; });
}

// Reads Args into a request; a command line that cannot be one raises EMisuse.
TRequest ParseArguments(const std::vector<std::string>& Args) {
    TRequest Request;
    CLI::App Parser("talvo");
    Parser.set_help_flag();
    Parser.allow_extras();
    Parser.add_flag("-h,--help", Request.Help);
    Parser.add_flag("--version", Request.Version);
    Parser.add_flag("--info", Request.Info);
    Parser.add_flag("--render", Request.Render);
    Parser.add_flag("--export", Request.Export);
    Parser.add_flag("--mesh", Request.Mesh);
    Parser.add_flag("--drape", Request.Drape);
    Parser.add_flag("--no-world-file", Request.NoWorldFile);
    Parser.add_flag("--at", Request.At);
    Parser.add_flag("--profile", Request.Profile);
    Parser.add_flag("--verify", Request.Verify);
    Parser.add_flag("--force", Request.Force);
    Parser.add_flag("--quiet", Request.Quiet);
    Parser.add_flag("--mosaic", Request.Mosaic);
    std::string Jobs;
    std::string Shard;
    Parser.add_option("--jobs", Jobs);
    Parser.add_option("--shard", Shard);
    Parser.add_option("--manifest", Request.Manifest);
    Parser.add_option("--from", Request.From);
    Parser.add_option("--to", Request.To);
    Parser.add_option("-o", Request.OutPath);
    Parser.add_option("--layers", Request.Layers);
    Parser.add_option("--ini", Request.IniPath);
    Parser.add_option("--sea", Request.Sea);
    Parser.add_option("--crs", Request.Crs);
    Parser.add_option("--region", Request.Region);
    Parser.add_option("--step", Request.Step);
    Parser.add_option("--hscale", Request.HScale);
    Parser.add_option("FILE", Request.Files);
    std::vector<std::string> Reversed(Args.rbegin(), Args.rend());
    try {
        Parser.parse(Reversed);
    } catch (const CLI::ParseError& Error) {
        const std::string Option = OptionWithoutValue(Args);
        throw EMisuse(Option.empty() ? Error.what() : Text(TText::NeedsValue, {Option}));
    }
    for (const std::string& Extra : Parser.remaining()) {
        if (Extra != "--") { // CLI11 keeps the end of the options among what it did not take
            throw EMisuse(Text(TText::UnknownOption, {Extra}));
        }
    }
    const int Commands = Request.Info + Request.Render + Request.Export + Request.Mesh +
                         Request.At + Request.Profile + Request.Verify;
    if (Commands > 1) {
        throw EMisuse(Text(TText::OneCommand));
    }
    const bool Drawing = Request.Render || Request.Mesh;
    if ((!Request.OutPath.empty() && !Drawing && !Request.Profile && !Request.Export) ||
        (Request.Sea && !Request.Export) ||
        (Parser.count("--crs") > 0 && !Request.Render && !Request.Export) ||
        ((!Request.From.empty() || !Request.To.empty()) && !Request.Profile) ||
        (Request.Layers && !Request.Render && !Request.Drape) || (Request.Drape && !Request.Mesh) ||
        (Request.NoWorldFile && !Request.Render) || (Request.IniPath && !Drawing) ||
        (!Request.Mesh &&
         (!Request.Region.empty() || Parser.count("--step") > 0 || Parser.count("--hscale") > 0))) {
        throw EMisuse(Text(TText::OptionNeedsCommand));
    }
    if (Request.Info && Request.Files.size() != 1) {
        throw EMisuse(Text(TText::InfoNeedsOneFile));
    }
    if (Request.Render && (Request.Files.empty() || Request.OutPath.empty())) {
        throw EMisuse(Text(TText::RenderNeeds));
    }
    if (Request.Export && (Request.Files.empty() || Request.OutPath.empty())) {
        throw EMisuse(Text(TText::ExportNeeds));
    }
    if (Parser.count("--crs") > 0 && !IsEpsgCode(Request.Crs)) {
        throw EMisuse(Text(TText::CrsNeedsEpsg, {Request.Crs}));
    }
    SeaValue(Request.Sea);
    const bool Many = IsBatch(Request);
    if (Request.Mosaic && (!(Request.Render || Request.Export) || Many)) {
        throw EMisuse(Text(TText::MosaicNeedsFile));
    }
    if ((Request.Render || Request.Export) && Request.Files.size() > 1 && !Many &&
        !Request.Mosaic) {
        throw EMisuse(Text(TText::BatchNeedsFolder));
    }
    if (!Many && (Parser.count("--jobs") > 0 || Parser.count("--shard") > 0 ||
                  Parser.count("--manifest") > 0 || Request.Force || Request.Quiet)) {
        throw EMisuse(Text(TText::BatchOptionNeedsFolder));
    }
    if (Parser.count("--jobs") > 0) {
        const auto Count = PositiveNumber(Jobs);
        if (!Count) {
            throw EMisuse(Text(TText::JobsNotUnderstood, {Jobs}));
        }
        Request.Jobs = *Count;
    }
    if (Parser.count("--shard") > 0) {
        Request.Shard = ParseShard(Shard);
    }
    if (Request.Verify && Request.Files.size() != 1) {
        throw EMisuse(Text(TText::VerifyNeedsManifest));
    }
    if (Request.Mesh &&
        (Request.Files.size() != 1 || Request.OutPath.empty() || Request.Region.empty())) {
        throw EMisuse(Text(TText::MeshNeeds));
    }
    if (Request.At && Request.Files.size() != 2) {
        throw EMisuse(Text(TText::AtNeeds));
    }
    if (Request.Profile &&
        (Request.Files.size() != 1 || Request.From.empty() || Request.To.empty())) {
        throw EMisuse(Text(TText::ProfileNeeds));
    }
    if (Commands == 0 && Request.Files.size() > 1) {
        throw EMisuse(Text(TText::ViewerOpensOneFile));
    }
    return Request;
}

} // namespace

std::optional<int> RunCommandLine(const std::vector<std::string>& Args, std::ostream& Out,
                                  std::ostream& Err, std::string* ViewerFile) {
    TRequest Request;
    try {
        Request = ParseArguments(Args);
    } catch (const EMisuse& Problem) {
        Err << Text(TText::Misuse, {Problem.what()}) << "\n\n" << Text(TText::Usage);
        return 2;
    }
    if (Request.Help) {
        Out << Text(TText::Usage);
        return 0;
    }
    if (Request.Version) {
        Out << "talvo " << TALVO_VERSION << '\n';
        return 0;
    }
    try {
        if (Request.Info) {
            PrintInfo(Request.Files.front(), Out);
        } else if (IsBatch(Request)) {
            return Batch(Request, Out, Err);
        } else if (Request.Render) {
            Render(Request, Err);
        } else if (Request.Export) {
            Export(Request);
        } else if (Request.Verify) {
            return VerifyManifest(Request.Files.front(), Out, Err);
        } else if (Request.Mesh) {
            Mesh(Request, Err);
        } else if (Request.At) {
            PrintAt(Request, Out);
        } else if (Request.Profile) {
            Profile(Request, Out);
        } else {
            if (ViewerFile) {
                *ViewerFile = Request.Files.empty() ? "" : Request.Files.front();
            }
            return std::nullopt;
        }
    } catch (const EMisuse& Problem) {
        Err << Text(TText::Misuse, {Problem.what()}) << "\n\n" << Text(TText::Usage);
        return 2;
    } catch (const std::exception& Error) {
        Err << Error.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace talvo
