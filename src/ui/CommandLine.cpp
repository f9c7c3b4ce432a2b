#include "ui/CommandLine.h"

#include "import/NumMapProc.h"
#include "model/MapInfo.h"
#include "model/MapState.h"

namespace talvo {

namespace {

const char* const Usage = R"(Usage:
  talvo [FILE]          open the viewer; load FILE when given
  talvo --info FILE     print the header of FILE as "Name: value" lines
  talvo --help          show this help
  talvo --version       show the version

FILE is a numeric map mesh (*.Mem, *.Sem, *.Tem), a Global Map header (EL*.hdr, LU*.hdr,
VG*.hdr) or a 30-arc-second raster (*.bil).
)";

// The command line has no window: nothing to draw, no gauge, no controls, no layers. A
// message the window would show in a box ends the command.
class THeadlessHost : public TMapHost {
  public:
    void SetProgressMax(int32_t) override {}
    void SetControlEnabled(TMapControl, bool) override {}
    void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
    void RenderMap(const std::string&) override {}
    bool LayerChecked(int) const override { return false; }
    void SetLayerChecked(int, bool) override {}

    std::vector<std::string> Messages;
};

// A message box's text for a terminal: its line breaks as plain line feeds.
std::string TerminalText(std::string Text) {
    std::erase(Text, '\r');
    return Text;
}

int PrintInfo(const std::string& Path, std::ostream& Out, std::ostream& Err) {
    MapState Map;
    InitMapState(Map);
    THeadlessHost Host;
    try {
        LoadMapFile(Path, Map, Host);
    } catch (const std::exception& Error) {
        Err << Error.what() << '\n';
        return 1;
    }
    if (!Host.Messages.empty()) {
        for (const std::string& Message : Host.Messages) {
            Err << TerminalText(Message) << '\n';
        }
        return 1;
    }
    for (const auto& Fields : {MapInfoFields(Map), MapDetailFields(Map)}) {
        for (const TMapInfoField& Field : Fields) {
            Out << Field.Name << ": " << Field.Value << '\n';
        }
    }
    return 0;
}

int Misuse(const std::string& Problem, std::ostream& Err) {
    Err << "talvo: " << Problem << "\n\n" << Usage;
    return 2;
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
    if (First.starts_with("-")) {
        return Misuse("unknown option " + First, Err);
    }
    if (Args.size() > 1) {
        return Misuse("the viewer opens one FILE", Err);
    }
    return std::nullopt;
}

} // namespace talvo
