#include "cli/CommandLine.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <mutex>
#include <unistd.h>

#include "import/E00Reader.h"
#include "import/MapFiles.h"
#include "import/OpenMap.h"
#include "model/MapInfo.h"
#include "model/MapState.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/ExecutablePath.h"
#include "platform/Messages.h"
#include "platform/PictureFiles.h"
#include "platform/Progress.h"
#include "platform/SameFile.h"
#include "platform/TextConvert.h"
#include "platform/ValueSplit.h"
#include "render/MapPicture.h"
#include "settings/IniProc.h"
#include "settings/SettingsFile.h"
#include "view3d/Dx3dProc.h"
#include "view3d/ObjFile.h"

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

int Misuse(const std::string& Problem, std::ostream& Err) {
    Err << Text(TText::Misuse, {Problem}) << "\n\n" << Text(TText::Usage);
    return 2;
}

// Opens Path; nothing (with the reason on Err) when the load failed or the window would have
// shown a message instead of a map.
std::optional<TOpenedMap> Open(const std::string& Path, std::ostream& Err) {
    try {
        TOpenedMap Opened = OpenMap(Path);
        if (Opened.Outcome == TOpenOutcome::CompanionMissing) {
            Err << TerminalText(Opened.Message) << '\n';
            return std::nullopt;
        }
        return Opened;
    } catch (const std::exception& Error) {
        Err << Error.what() << '\n';
        return std::nullopt;
    }
}

int PrintInfo(const std::string& Path, std::ostream& Out, std::ostream& Err) {
    const std::optional<TOpenedMap> Opened = Open(Path, Err);
    if (!Opened) {
        return 1;
    }
    for (const auto& Fields : {MapInfoFields(Opened->Map), MapDetailFields(Opened->Map)}) {
        for (const TMapInfoField& Field : Fields) {
            Out << Field.Name << ": " << Field.Value << '\n';
        }
    }
    return 0;
}

struct TRenderRequest {
    std::string MapPath;
    std::string OutPath;
    std::optional<std::string> Layers;
    std::optional<std::string> IniPath;
};

// "ad,rw" → the check boxes of those layers; "" → none.
bool ParseLayers(const std::string& Text, TLayerFlags& Checked, std::string& Bad) {
    Checked.fill(false);
    size_t Start = 0;
    while (Start <= Text.size() && !Text.empty()) {
        size_t Comma = std::min(Text.find(',', Start), Text.size());
        std::string Code = Text.substr(Start, Comma - Start);
        bool Known = false;
        for (size_t Layer = 0; Layer < OverlayLayerCodes.size(); ++Layer) {
            if (SameTextIgnoringCase(Code, OverlayLayerCodes[Layer])) {
                Checked[Layer] = Known = true;
            }
        }
        if (!Known) {
            Bad = Code;
            return false;
        }
        Start = Comma + 1;
    }
    return true;
}

// The settings of a command and their colour ramp.
struct TSession {
    TSettingsFile File;
    TIni Settings;
    THeightColourTable Table{};
};

// The settings from IniPath (or the viewer's file, or on a first run the shipped palette);
// nothing, with the reason on Err, when they cannot be read. Colours that could not be read are
// named on Err.
std::optional<TSession> StartSession(const std::optional<std::string>& IniPath, std::ostream& Err) {
    TSession Session;
    Session.File = IniPath ? TSettingsFile{*IniPath, true} : SettingsFile(ExecutableDir());
    std::vector<std::string> BadKeys;
    try {
        BadKeys =
            LoadStartSettings(Session.File, ShippedPalettePath(ExecutableDir()), Session.Settings);
    } catch (const std::exception& Error) {
        Err << Error.what() << '\n';
        return std::nullopt;
    }
    if (!BadKeys.empty()) {
        Err << "talvo: " << Text(TText::ColoursNotHexadecimal, {Session.File.Path});
        for (const std::string& Key : BadKeys) {
            Err << ' ' << Key;
        }
        Err << '\n';
    }
    BuildHeightColourTable(Session.Settings, Session.Table);
    return Session;
}

// The files a command reads: the map's and the settings file.
std::vector<std::string> InputFiles(const MapState& Map, const TSession& Session) {
    std::vector<std::string> Files = MapFiles(Map);
    Files.push_back(Session.File.Path);
    return Files;
}

int Render(const TRenderRequest& Request, std::ostream& Err) {
    const std::optional<TSession> Session = StartSession(Request.IniPath, Err);
    if (!Session) {
        return 1;
    }
    TLayerFlags Layers = Session->Settings.GmpChk;
    if (Request.Layers) {
        std::string Bad;
        if (!ParseLayers(*Request.Layers, Layers, Bad)) {
            return Misuse(Text(TText::UnknownLayer, {Bad}), Err);
        }
    }
    std::optional<TOpenedMap> Opened = Open(Request.MapPath, Err);
    if (!Opened) {
        return 1;
    }
    if (Opened->Outcome != TOpenOutcome::Loaded) {
        Err << Text(TText::NothingToDraw, {Request.MapPath}) << '\n';
        return 1;
    }
    try {
        MapState& Map = Opened->Map;
        LoadOverlays(Map, Layers);
        RefuseOverwritingInput(Request.OutPath, InputFiles(Map, *Session));
        CheckPictureSize(Request.OutPath, Map.NumHeader.Pts_WE, Map.NumHeader.Pts_NS);
        TTerminalProgress Progress(Err);
        const std::optional<TBitmap> Picture =
            DrawMapPicture(Map, Session->Settings, Session->Table, Layers, Progress);
        WritePicture(*Picture, Request.OutPath);
    } catch (const std::exception& Error) {
        Err << Error.what() << '\n';
        return 1;
    }
    return 0;
}

struct TMeshRequest {
    std::string MapPath;
    std::string OutPath;
    std::string Region;
    std::string Step = "1";
    std::string HScale = "1";
    std::optional<std::string> IniPath;
};

// --hscale as the single-precision float the mesh holds; a value that float cannot hold is refused.
float HeightScale(const std::string& Given) {
    const double Scale = StrToFloat(Given);
    if (std::abs(Scale) > std::numeric_limits<float>::max()) {
        throw ETalvoError(Text(TText::HeightScaleRange, {Given}));
    }
    return static_cast<float>(Scale);
}

int Mesh(const TMeshRequest& Request, std::ostream& Err) {
    // Checked first: nothing is read or written for an output that is not an OBJ file.
    if (!SameTextIgnoringCase(std::filesystem::path(Request.OutPath).extension().string(),
                              ".obj")) {
        Err << Text(TText::MeshNeedsObj, {Request.OutPath}) << '\n';
        return 1;
    }
    const std::optional<TSession> Session = StartSession(Request.IniPath, Err);
    if (!Session) {
        return 1;
    }
    std::optional<TOpenedMap> Opened = Open(Request.MapPath, Err);
    if (!Opened) {
        return 1;
    }
    MapState& Map = Opened->Map;
    if (!ShownIn3D(Map.NumHeader.MapKind)) {
        Err << Text(TText::MeshNeedsHeights, {Request.MapPath, Map.NumHeader.MapKind}) << '\n';
        return 1;
    }
    try {
        std::vector<std::string> Parts = SplitValues(Request.Region, false);
        if (Parts.size() != 4) {
            throw ETalvoError(Text(TText::RegionNeedsFour));
        }
        Set3DRegion(Map.NumHeader,
                    {StrToInt(Parts[0]), StrToInt(Parts[1]), StrToInt(Parts[2]), StrToInt(Parts[3]),
                     StrToInt(Request.Step), HeightScale(Request.HScale)});
        TRenderer Renderer;
        TTerrainMesh Terrain;
        InitTerrainMesh(Terrain);
        auto Builder = BuildTerrainMesh(Renderer, *Renderer.Scene, Terrain, Map, Session->Settings,
                                        Session->Table);
        const std::vector<std::string> Inputs = InputFiles(Map, *Session);
        RefuseOverwritingInput(Request.OutPath, Inputs);
        RefuseOverwritingInput(ObjMaterialsPath(Request.OutPath), Inputs);
        WriteObj(Builder->Triangles(), Request.OutPath);
    } catch (const std::exception& Error) {
        Err << Error.what() << '\n';
        return 1;
    }
    return 0;
}

std::optional<int> MeshCommand(const std::vector<std::string>& Args, std::ostream& Err) {
    TMeshRequest Request;
    for (size_t I = 1; I < Args.size(); ++I) {
        const std::string& Arg = Args[I];
        std::string* Target = Arg == "-o"         ? &Request.OutPath
                              : Arg == "--region" ? &Request.Region
                              : Arg == "--step"   ? &Request.Step
                              : Arg == "--hscale" ? &Request.HScale
                                                  : nullptr;
        if (Arg == "--ini") {
            Target = &Request.IniPath.emplace();
        }
        if (Target) {
            if (I + 1 >= Args.size()) {
                return Misuse(Text(TText::NeedsValue, {Arg}), Err);
            }
            *Target = Args[++I];
        } else if (Arg.starts_with("-") || !Request.MapPath.empty()) {
            return Misuse(Text(TText::Unexpected, {Arg, "--mesh"}), Err);
        } else {
            Request.MapPath = Arg;
        }
    }
    if (Request.MapPath.empty() || Request.OutPath.empty() || Request.Region.empty()) {
        return Misuse(Text(TText::MeshNeeds), Err);
    }
    return Mesh(Request, Err);
}

std::optional<int> RenderCommand(const std::vector<std::string>& Args, std::ostream& Err) {
    TRenderRequest Request;
    for (size_t I = 1; I < Args.size(); ++I) {
        const std::string& Arg = Args[I];
        auto Value = [&](const char* Option) -> std::optional<std::string> {
            if (I + 1 >= Args.size()) {
                Misuse(Text(TText::NeedsValue, {Option}), Err);
                return std::nullopt;
            }
            return Args[++I];
        };
        if (Arg == "-o" || Arg == "--layers" || Arg == "--ini") {
            std::optional<std::string> Given = Value(Arg.c_str());
            if (!Given) {
                return 2;
            }
            if (Arg == "-o") {
                Request.OutPath = *Given;
            } else if (Arg == "--layers") {
                Request.Layers = *Given;
            } else {
                Request.IniPath = *Given;
            }
        } else if (Arg.starts_with("-") || !Request.MapPath.empty()) {
            return Misuse(Text(TText::Unexpected, {Arg, "--render"}), Err);
        } else {
            Request.MapPath = Arg;
        }
    }
    if (Request.MapPath.empty() || Request.OutPath.empty()) {
        return Misuse(Text(TText::RenderNeeds), Err);
    }
    return Render(Request, Err);
}

} // namespace

std::optional<int> RunCommandLine(const std::vector<std::string>& Args, std::ostream& Out,
                                  std::ostream& Err) {
    if (Args.empty()) {
        return std::nullopt;
    }
    const std::string& First = Args[0];
    if (First == "--help" || First == "-h") {
        Out << Text(TText::Usage);
        return 0;
    }
    if (First == "--version") {
        Out << "talvo " << TALVO_VERSION << '\n';
        return 0;
    }
    if (First == "--info") {
        if (Args.size() != 2) {
            return Misuse(Text(TText::InfoNeedsOneFile), Err);
        }
        return PrintInfo(Args[1], Out, Err);
    }
    if (First == "--render") {
        return RenderCommand(Args, Err);
    }
    if (First == "--mesh") {
        return MeshCommand(Args, Err);
    }
    if (First.starts_with("-")) {
        return Misuse(Text(TText::UnknownOption, {First}), Err);
    }
    if (Args.size() > 1) {
        return Misuse(Text(TText::ViewerOpensOneFile), Err);
    }
    return std::nullopt;
}

} // namespace talvo
