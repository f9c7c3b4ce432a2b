#include "ui/CommandLine.h"

#include <unistd.h>

#include "import/NumMapProc.h"
#include "import/OverlayProc.h"
#include "model/MapInfo.h"
#include "model/MapState.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/ExecutablePath.h"
#include "platform/PictureFiles.h"
#include "platform/TextConvert.h"
#include "platform/ValueSplit.h"
#include "render/RenderMap.h"
#include "settings/IniProc.h"
#include "view3d/Dx3dProc.h"
#include "view3d/ObjFile.h"

namespace talvo {

namespace {

const char* const Usage = R"(Usage:
  talvo [FILE]                       open the viewer; load FILE when given
  talvo --info FILE                  print the header of FILE as "Name: value" lines
  talvo --render FILE -o OUT         draw FILE as the viewer would into OUT (.bmp, .jpg, .png)
        [--layers ad,rv,lk,rd,hw,rw] layers to draw ("" for none; default: as last saved)
        [--ini PATH]                 the settings file to use (default: the viewer's)
  talvo --mesh FILE --region X,Y,W,H -o OUT.obj
        [--step S] [--hscale H]      the 3D terrain of a region (first column X, first row Y,
        [--ini PATH]                 W × H cells) as a Wavefront OBJ with its .mtl
  talvo --help                       show this help
  talvo --version                    show the version

FILE is a numeric map mesh (*.Mem, *.Sem, *.Tem), a Global Map header (EL*.hdr, LU*.hdr,
VG*.hdr) or a 30-arc-second raster (*.bil with its .hdr). Vector layers (layer code + mesh
code + ".e00") are read from beside the map.
)";

// The command line's stand-in for the main window: no controls to switch, messages kept for
// standard error, the picture drawn with the settings given and kept for the caller.
class THeadlessHost : public TMapHost {
  public:
    THeadlessHost(MapState& Map, const TIni& Settings, const THeightColourTable& Table, bool Draw,
                  std::ostream& Err)
        : Map(Map), Settings(Settings), Table(Table), Draw(Draw), Err(Err),
          ShowProgress(Draw && ::isatty(STDERR_FILENO)) {}

    void SetProgressMax(int32_t Max) override { ProgressMax = Max; }
    void SetProgressPosition(int32_t Position) override {
        if (!ShowProgress || ProgressMax <= 0) {
            return;
        }
        int64_t Percent = static_cast<int64_t>(Position) * 100 / ProgressMax;
        if (Percent != LastPercent) {
            LastPercent = Percent;
            Err << "\rDrawing " << Percent << "%" << std::flush;
        }
    }
    void SetProgressVisible(bool Visible) override {
        if (ShowProgress && !Visible) {
            Err << "\r" << std::string(16, ' ') << "\r" << std::flush;
        }
    }
    void ProcessMessages() override {}
    void SetControlEnabled(TMapControl, bool) override {}
    void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
    void RenderMap(const std::string& Kind) override {
        if (Draw) {
            talvo::RenderMap(Kind, Map, Settings, Table, *this);
        }
    }
    void SetPictureVisible(bool) override {}
    void ShowPicture(TBitmap Shown) override { Picture.emplace(std::move(Shown)); }
    bool LayerChecked(int Layer) const override { return Checked[static_cast<size_t>(Layer)]; }
    void SetLayerChecked(int Layer, bool Value) override {
        Checked[static_cast<size_t>(Layer)] = Value;
    }

    std::vector<std::string> Messages;
    std::optional<TBitmap> Picture;
    std::array<bool, 6> Checked{};

  private:
    MapState& Map;
    const TIni& Settings;
    const THeightColourTable& Table;
    bool Draw;
    std::ostream& Err;
    bool ShowProgress;
    int32_t ProgressMax = 0;
    int64_t LastPercent = -1;
};

// A message box's text for a terminal: its line breaks as plain line feeds.
std::string TerminalText(std::string Text) {
    std::erase(Text, '\r');
    return Text;
}

int Misuse(const std::string& Problem, std::ostream& Err) {
    Err << "talvo: " << Problem << "\n\n" << Usage;
    return 2;
}

// Loads Path through Host; false (with the reason on Err) when the load failed or the window
// would have shown a message instead of a map.
bool Load(const std::string& Path, MapState& Map, THeadlessHost& Host, std::ostream& Err) {
    try {
        LoadMapFile(Path, Map, Host);
    } catch (const std::exception& Error) {
        Err << Error.what() << '\n';
        return false;
    }
    for (const std::string& Message : Host.Messages) {
        Err << TerminalText(Message) << '\n';
    }
    return Host.Messages.empty();
}

int PrintInfo(const std::string& Path, std::ostream& Out, std::ostream& Err) {
    MapState Map;
    InitMapState(Map);
    TIni Settings;
    THeightColourTable Table{};
    THeadlessHost Host(Map, Settings, Table, false, Err);
    if (!Load(Path, Map, Host, Err)) {
        return 1;
    }
    for (const auto& Fields : {MapInfoFields(Map), MapDetailFields(Map)}) {
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
bool ParseLayers(const std::string& Text, std::array<bool, 6>& Checked, std::string& Bad) {
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

// Loads the settings from IniPath (or the viewer's file), naming colours it could not read.
void LoadCommandSettings(const std::optional<std::string>& IniPath, TIni& Settings,
                         THeadlessHost& Host, std::ostream& Err) {
    const std::string Path = IniPath ? *IniPath : SettingsFilePath(ExecutableDir());
    std::vector<std::string> BadKeys = LoadSettings(Path, Settings, Host);
    if (!BadKeys.empty()) {
        Err << "talvo: " << Path << ": colours that are not hexadecimal are drawn black:";
        for (const std::string& Key : BadKeys) {
            Err << ' ' << Key;
        }
        Err << '\n';
    }
}

// What a command that draws or builds from a map holds: the map, the settings (with the
// layer check boxes in the host) and the colour ramp.
struct TSession {
    TSession(bool Draw, const std::optional<std::string>& IniPath, std::ostream& Err)
        : Host(Map, Settings, Table, Draw, Err) {
        InitMapState(Map);
        LoadCommandSettings(IniPath, Settings, Host, Err);
        BuildHeightColourTable(Settings, Table);
    }
    MapState Map;
    TIni Settings;
    THeightColourTable Table{};
    THeadlessHost Host;
};

int Render(const TRenderRequest& Request, std::ostream& Err) {
    TSession Session(true, Request.IniPath, Err);
    THeadlessHost& Host = Session.Host;
    if (Request.Layers) {
        std::string Bad;
        if (!ParseLayers(*Request.Layers, Host.Checked, Bad)) {
            return Misuse("unknown layer '" + Bad + "' in --layers", Err);
        }
    }
    if (!Load(Request.MapPath, Session.Map, Host, Err)) {
        return 1;
    }
    if (!Host.Picture) {
        Err << Request.MapPath << ": the map holds nothing that can be drawn\n";
        return 1;
    }
    try {
        WritePicture(*Host.Picture, Request.OutPath);
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

int Mesh(const TMeshRequest& Request, std::ostream& Err) {
    TSession Session(false, Request.IniPath, Err);
    MapState& Map = Session.Map;
    if (!Load(Request.MapPath, Map, Session.Host, Err)) {
        return 1;
    }
    try {
        std::vector<std::string> Parts = SplitValues(Request.Region, false);
        if (Parts.size() != 4) {
            throw ETalvoError("--region takes four numbers: X,Y,W,H");
        }
        TNum_HeaderRec& H = Map.NumHeader;
        H.D3StartX = StrToInt(Parts[0]);
        H.D3StartY = StrToInt(Parts[1]);
        H.D3SizeX = StrToInt(Parts[2]);
        H.D3SizeY = StrToInt(Parts[3]);
        H.D3Step = StrToInt(Request.Step);
        H.D3HScale = static_cast<float>(StrToFloat(Request.HScale));
        TRenderer Renderer;
        TTerrainMesh Terrain;
        InitTerrainMesh(Terrain);
        auto Builder = BuildTerrainMesh(Renderer, *Renderer.Scene, Terrain, Map, Session.Settings,
                                        Session.Table);
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
                return Misuse(Arg + " needs a value", Err);
            }
            *Target = Args[++I];
        } else if (Arg.starts_with("-") || !Request.MapPath.empty()) {
            return Misuse("unexpected " + Arg + " after --mesh", Err);
        } else {
            Request.MapPath = Arg;
        }
    }
    if (Request.MapPath.empty() || Request.OutPath.empty() || Request.Region.empty()) {
        return Misuse("--mesh needs a FILE, --region X,Y,W,H and -o OUT.obj", Err);
    }
    return Mesh(Request, Err);
}

std::optional<int> RenderCommand(const std::vector<std::string>& Args, std::ostream& Err) {
    TRenderRequest Request;
    for (size_t I = 1; I < Args.size(); ++I) {
        const std::string& Arg = Args[I];
        auto Value = [&](const char* Option) -> std::optional<std::string> {
            if (I + 1 >= Args.size()) {
                Misuse(std::string(Option) + " needs a value", Err);
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
            return Misuse("unexpected " + Arg + " after --render", Err);
        } else {
            Request.MapPath = Arg;
        }
    }
    if (Request.MapPath.empty() || Request.OutPath.empty()) {
        return Misuse("--render needs a FILE and -o OUT", Err);
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
        Out << Usage;
        return 0;
    }
    if (First == "--version") {
        Out << "talvo " << TALVO_VERSION << '\n';
        return 0;
    }
    if (First == "--info") {
        if (Args.size() != 2) {
            return Misuse("--info takes exactly one FILE", Err);
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
        return Misuse("unknown option " + First, Err);
    }
    if (Args.size() > 1) {
        return Misuse("the viewer opens one FILE", Err);
    }
    return std::nullopt;
}

} // namespace talvo
