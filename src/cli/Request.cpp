#include "cli/Request.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "cli/ReliefRequest.h"
#include "model/PointText.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/TextConvert.h"
#include "platform/ValueSplit.h"

namespace talvo {

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
    if (std::abs(Value) > std::numeric_limits<float>::max()) {
        throw EMisuse(Text(TText::SeaBeyondCells, {*Given}));
    }
    return Value;
}

bool IsBatch(const TRequest& Request) {
    return (Request.Render || Request.Export) && Request.OutPath.ends_with('/');
}

namespace {

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

// "WxH" of --size: two whole numbers of at least 1.
std::pair<int32_t, int32_t> ParseSize(const std::string& Given) {
    const size_t Times = Given.find_first_of("xX");
    const std::string_view Whole(Given);
    const auto Cols = PositiveNumber(Whole.substr(0, std::min(Times, Given.size())));
    const auto Rows =
        Times == std::string::npos ? std::nullopt : PositiveNumber(Whole.substr(Times + 1));
    if (!Cols || !Rows) {
        throw EMisuse(Text(TText::SizeNotUnderstood, {Given}));
    }
    return {*Cols, *Rows};
}

// "EPSG:" and a code, the only form --crs takes.
bool IsEpsgCode(const std::string& Crs) {
    return Crs.size() > 5 && UpperAscii(Crs.substr(0, 5)) == "EPSG:" &&
           std::all_of(Crs.begin() + 5, Crs.end(), [](char C) { return C >= '0' && C <= '9'; });
}

// --mesh's "X,Y,W,H", --step and --hscale (a value its single-precision mesh holds) as a region.
TRegion MeshRegion(const std::string& Corners, const std::string& Step, const std::string& Scale) {
    const std::vector<std::string> Parts = SplitValues(Corners, false);
    int32_t Values[4] = {};
    if (Parts.size() != 4 ||
        !std::equal(Parts.begin(), Parts.end(), Values,
                    [](const auto& Part, int32_t& Value) { return TryStrToInt(Part, Value); })) {
        throw EMisuse(Text(TText::RegionNeedsFour));
    }
    TRegion Region{Values[0], Values[1], Values[2], Values[3], 0, 0.0f};
    if (!TryStrToInt(Step, Region.Step)) {
        throw EMisuse(Text(TText::OptionNeedsNumber, {"--step", Step}));
    }
    double HeightScale = 0.0;
    try {
        HeightScale = StrToFloat(Scale);
    } catch (const EConvertError&) {
        throw EMisuse(Text(TText::OptionNeedsNumber, {"--hscale", Scale}));
    }
    if (std::abs(HeightScale) > std::numeric_limits<float>::max()) {
        throw EMisuse(Text(TText::HeightScaleRange, {Scale}));
    }
    Region.HScale = static_cast<float>(HeightScale);
    return Region;
}

} // namespace

TRequest ParseArguments(const std::vector<std::string>& Args) {
    TRequest Request;
    CLI::App Parser("talvo");
    Parser.set_help_flag();
    Parser.allow_extras();
    Parser.add_flag("-h,--help", Request.Help);
    Parser.add_flag("--version", Request.Version);
    // The commands, of which a command line gives one at most.
    CLI::App* Commands = Parser.add_option_group("commands");
    Commands->require_option(0, 1);
    CLI::Option* Info = Commands->add_flag("--info", Request.Info);
    CLI::Option* Render = Commands->add_flag("--render", Request.Render);
    CLI::Option* Export = Commands->add_flag("--export", Request.Export);
    CLI::Option* Mesh = Commands->add_flag("--mesh", Request.Mesh);
    CLI::Option* At = Commands->add_flag("--at", Request.At);
    CLI::Option* Profile = Commands->add_flag("--profile", Request.Profile);
    CLI::Option* Verify = Commands->add_flag("--verify", Request.Verify);
    // The options that go with some commands only: each excludes the others, and none is given
    // without a command.
    std::vector<CLI::Option*> Scoped;
    auto Only = [&](CLI::Option* Option, std::initializer_list<CLI::Option*> With) {
        for (CLI::Option* Command : {Info, Render, Export, Mesh, At, Profile, Verify}) {
            if (std::find(With.begin(), With.end(), Command) == With.end()) {
                Option->excludes(Command);
            }
        }
        Scoped.push_back(Option);
    };
    Only(Parser.add_option("-o", Request.OutPath), {Render, Export, Mesh, Profile});
    Only(Parser.add_option("--sea", Request.Sea), {Export});
    Only(Parser.add_option("--crs", Request.Crs), {Render, Export});
    Only(Parser.add_option("--from", Request.From), {Profile});
    Only(Parser.add_option("--to", Request.To)
             ->expected(1)
             ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll),
         {Profile});
    std::string Xy;
    Only(Parser.add_option("--xy", Xy), {At});
    Only(Parser.add_option("--layers", Request.Layers), {Render, Mesh});
    Only(Parser.add_flag("--drape", Request.Drape), {Mesh});
    Only(Parser.add_flag("--no-world-file", Request.NoWorldFile), {Render});
    Only(Parser.add_option("--ini", Request.IniPath), {Render, Mesh});
    std::string Region;
    std::string Step = "1";
    std::string HScale = "1";
    std::string Size;
    Only(Parser.add_option("--region", Region), {Mesh, Render});
    Only(Parser.add_option("--size", Size), {Render});
    Only(Parser.add_option("--step", Step), {Mesh});
    Only(Parser.add_option("--hscale", HScale), {Mesh});
    Parser.add_flag("--mosaic", Request.Mosaic);
    Only(Parser.add_option("--shade", Request.Shade), {Render, Mesh});
    // A product of the heights, and the options that shape it.
    CLI::Option* Product = Parser.add_option("--product", Request.Product);
    Only(Product, {Export});
    for (CLI::Option* Shaping :
         {Parser.add_option("--azimuth", Request.Azimuth),
          Parser.add_option("--altitude", Request.Altitude), Parser.add_option("-z", Request.Z),
          Parser.add_option("--radius", Request.Radius),
          Parser.add_flag("--compute-edges", Request.ComputeEdges)}) {
        Only(Shaping->needs(Product), {Export});
    }
    // A batch's options, told apart by their own message.
    std::string Jobs;
    std::string Shard;
    CLI::Option* JobsOption = Parser.add_option("--jobs", Jobs);
    const std::vector<CLI::Option*> FolderOptions = {
        Parser.add_option("--shard", Shard), Parser.add_option("--manifest", Request.Manifest),
        Parser.add_flag("--force", Request.Force), Parser.add_flag("--quiet", Request.Quiet)};
    Parser.add_option("FILE", Request.Files);
    std::vector<std::string> Reversed(Args.rbegin(), Args.rend());
    const auto Given = [](const std::vector<CLI::Option*>& Options) {
        return std::any_of(Options.begin(), Options.end(),
                           [](const CLI::Option* Option) { return Option->count() > 0; });
    };
    try {
        Parser.parse(Reversed);
    } catch (const CLI::RequiredError&) {
        throw EMisuse(Text(TText::OneCommand));
    } catch (const CLI::ExcludesError&) {
        const int Count = Request.Info + Request.Render + Request.Export + Request.Mesh +
                          Request.At + Request.Profile + Request.Verify;
        throw EMisuse(Text(Count > 1 ? TText::OneCommand : TText::OptionNeedsCommand));
    } catch (const CLI::RequiresError&) {
        throw EMisuse(Text(TText::OptionNeedsProduct));
    } catch (const CLI::ParseError& Error) {
        // An option that ends the command line before its value.
        const CLI::Option* Last = Args.empty() ? nullptr : Parser.get_option_no_throw(Args.back());
        throw EMisuse(Last && Last->get_items_expected_min() > 0
                          ? Text(TText::NeedsValue, {Args.back()})
                          : std::string(Error.what()));
    }
    for (const std::string& Extra : Parser.remaining()) {
        if (Extra != "--") { // CLI11 keeps the end of the options among what it did not take
            throw EMisuse(Text(TText::UnknownOption, {Extra}));
        }
    }
    const bool Command = Request.Info || Request.Render || Request.Export || Request.Mesh ||
                         Request.At || Request.Profile || Request.Verify;
    // A mesh draws the layers and the shading of its draped picture only.
    const bool PictureOptions = Request.Layers || !Request.Shade.empty();
    if ((!Command && Given(Scoped)) || (PictureOptions && Request.Mesh && !Request.Drape)) {
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
    ReliefOptionsOf(Request);
    ShadeOf(Request);
    const bool Many = IsBatch(Request);
    if (Request.Mosaic && (!(Request.Render || Request.Export) || Many)) {
        throw EMisuse(Text(TText::MosaicNeedsFile));
    }
    if ((Request.Render || Request.Export) && Request.Files.size() > 1 && !Many &&
        !Request.Mosaic) {
        throw EMisuse(Text(TText::BatchNeedsFolder));
    }
    // A mosaic's export reads its tiles --jobs at once too.
    const bool JobsTaken = Many || (Request.Mosaic && Request.Export);
    if (!Many && (Given(FolderOptions) || (!JobsTaken && Given({JobsOption})))) {
        throw EMisuse(Text(TText::BatchOptionNeedsFolder));
    }
    if (Parser.count("--jobs") > 0) {
        const auto Count = PositiveNumber(Jobs);
        if (!Count) {
            throw EMisuse(Text(TText::JobsNotUnderstood, {Jobs}));
        }
        Request.Jobs = *Count;
    }
    if (Parser.count("--size") > 0) {
        Request.Size = ParseSize(Size);
    }
    if (Request.Render && !Region.empty()) {
        Request.Region = MeshRegion(Region, "1", "1");
    }
    if (Many && (Request.Size || !Region.empty())) {
        throw EMisuse(Text(TText::SizeNeedsOneMap));
    }
    if (Parser.count("--shard") > 0) {
        Request.Shard = ParseShard(Shard);
    }
    if (Request.Verify && Request.Files.size() != 1) {
        throw EMisuse(Text(TText::VerifyNeedsManifest));
    }
    if (Request.Mesh) {
        if (Request.Files.size() != 1 || Request.OutPath.empty() || Region.empty()) {
            throw EMisuse(Text(TText::MeshNeeds));
        }
        Request.Region = MeshRegion(Region, Step, HScale);
    }
    if (Request.At) {
        const size_t Given = Parser.count("--xy") > 0 ? 1 : 2;
        if (Request.Files.size() != Given) {
            throw EMisuse(Text(TText::AtNeeds));
        }
        Request.AtPoint = Given == 1 ? std::string(OwnCoordinates) + Xy : Request.Files[1];
    }
    if (Request.Profile &&
        (Request.Files.size() != 1 || Request.From.empty() || Request.To.empty())) {
        throw EMisuse(Text(TText::ProfileNeeds));
    }
    if (!Command && Request.Files.size() > 1) {
        throw EMisuse(Text(TText::ViewerOpensOneFile));
    }
    return Request;
}

} // namespace talvo
