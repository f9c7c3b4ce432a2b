#include "settings/SettingsFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/Messages.h"
#include "platform/ProfileFile.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// A settings key.
struct TKey {
    const char* Section;
    const char* Key;
};

// The keys of the palette's colours, in palette order.
constexpr std::array<TKey, PaletteColourCount> ColourKeys = {{
    {"Palette", "Set0"}, {"Palette", "Set1"}, {"Palette", "Set2"}, {"Palette", "Set3"},
    {"Palette", "Set4"}, {"Palette", "Set5"}, {"GmpPal", "LU1"},   {"GmpPal", "LU2"},
    {"GmpPal", "LU3"},   {"GmpPal", "LU4"},   {"GmpPal", "LU5"},   {"GmpPal", "LU6"},
    {"GmpPal", "LU7"},   {"GmpPal", "LU8"},   {"GmpPal", "LU9"},   {"GmpPal", "VG1"},
    {"GmpPal", "VG2"},   {"GmpPal", "VG3"},   {"GmpPal", "VG4"},   {"GmpPal", "VG5"},
    {"GmpPal", "VG6"},   {"GmpPal", "VG7"},   {"GmpPal", "VG8"},   {"GmpPal", "VG9"},
    {"GmpPal", "VG10"},  {"GmpPal", "VG11"},  {"GmpPal", "VG12"},  {"GmpPal", "VG13"},
    {"GmpPal", "VG14"},  {"GmpPal", "VG15"},  {"GmpPal", "ad"},    {"GmpPal", "rv"},
    {"GmpPal", "lk"},    {"GmpPal", "rd"},    {"GmpPal", "hw"},    {"GmpPal", "rw"},
}};

// The sections that hold what a picture is drawn with (a window placement alone draws nothing).
constexpr std::string_view SettingsSections[] = {"Palette", "GmpPal",   "Height",
                                                 "3DDraw",  "Settings", "GmpChk"};

// Raises naming Path when Profile holds no key in any of them: an empty file, a binary one or
// /dev/null would otherwise draw with every colour black, as if all were well.
void RequireKnownSettings(const TProfileText& Profile, const std::string& Path) {
    if (std::none_of(std::begin(SettingsSections), std::end(SettingsSections),
                     [&](std::string_view Section) { return Profile.HasKeyIn(Section); })) {
        throw Placed(ETalvoError(Text(TText::SettingsNoKnownKey)), Path);
    }
}

constexpr std::array<const char*, 6> CheckBoxKeys = {"Ad", "Rv", "Lk", "Rd", "Hw", "Rw"};

constexpr const char* DefaultQuality = "GOURAUD";

// Reads keys from a profile, noting colour keys that are not hexadecimal.
class TSettingsReader {
  public:
    explicit TSettingsReader(const TProfileText& Profile) : Profile(Profile) {}

    int32_t Colour(const char* Section, const char* Key) {
        int32_t Value = 0;
        if (!TryHexToInt(Profile.Get(Section, Key, "0"), Value)) {
            BadKeys.push_back(std::string(Section) + "/" + Key);
            return 0;
        }
        return Value;
    }

    // A colour that the file may leave out.
    std::optional<int32_t> OptionalColour(const char* Section, const char* Key) {
        if (Profile.Get(Section, Key, "").empty()) {
            return std::nullopt;
        }
        return Colour(Section, Key);
    }

    // Decimal, or hexadecimal after "0x"; anything else gives Default.
    int32_t Integer(const char* Section, const char* Key, int32_t Default) const {
        std::string Text = Profile.Get(Section, Key, "");
        int32_t Value = 0;
        bool Hex = Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
        bool Valid =
            Hex ? TryHexToInt(std::string_view(Text).substr(2), Value) : TryStrToInt(Text, Value);
        return Valid ? Value : Default;
    }

    bool Boolean(const char* Section, const char* Key, bool Default) const {
        return Integer(Section, Key, Default ? 1 : 0) != 0;
    }

    std::string Text(const char* Section, const char* Key, const char* Default) const {
        return Profile.Get(Section, Key, Default);
    }

    std::vector<std::string> BadKeys;

  private:
    const TProfileText& Profile;
};

std::string ColourText(int32_t Colour) {
    char Text[16];
    std::snprintf(Text, sizeof Text, "%06X", static_cast<unsigned>(Colour));
    return Text;
}

} // namespace

std::vector<std::string> LoadSettings(const std::string& Path, TViewSettings& Settings) {
    return LoadSettings(ReadProfileFile(Path), Settings);
}

std::vector<std::string> LoadSettings(const TProfileText& Profile, TViewSettings& Settings) {
    TSettingsReader Reader(Profile);
    Settings.Sea = Reader.Colour("Palette", "Sea");
    Settings.Out = Reader.Colour("Palette", "Out");
    Settings.NoData = Reader.OptionalColour("Palette", "NoData");
    for (size_t Index = 0; Index < ColourKeys.size(); ++Index) {
        PaletteColour(Settings, Index) =
            Reader.Colour(ColourKeys[Index].Section, ColourKeys[Index].Key);
    }
    Settings.Min = Reader.Integer("Height", "Min", 0);
    Settings.Max = Reader.Integer("Height", "Max", 5000);
    Settings.Pit = Reader.Integer("Height", "Pit", 100);
    Settings.ShadowKK = Reader.Integer("Height", "ShadowKK", 64);
    Settings.Shade = ShadeModeNamed(Reader.Text("Height", "Shade", "")).value_or(TShadeMode::Ramp);
    Settings.Quality = Reader.Text("3DDraw", "Quality", DefaultQuality);
    Settings.SeaExp = Reader.Boolean("Settings", "SeaExp", false);
    for (size_t Layer = 0; Layer < CheckBoxKeys.size(); ++Layer) {
        Settings.GmpChk[Layer] = Reader.Boolean("GmpChk", CheckBoxKeys[Layer], false);
    }
    return Reader.BadKeys;
}

void SaveSettings(const std::string& Path, TViewSettings& Settings,
                  const std::vector<TExtraKey>& Extra) {
    const int32_t Pit = CheckedSub(Settings.Max, Settings.Min) / 50;
    std::optional<TProfileText> Existing;
    try {
        Existing = ReadExistingProfileFile(Path);
    } catch (const EInOutError&) {
        // A file that cannot be read is never overwritten: what it holds would be lost.
        throw EInOutError(Text(TText::CannotWrite, {Path}));
    }
    TProfileText Profile = Existing ? std::move(*Existing) : TProfileText();
    auto Write = [&](const char* Section, const char* Key, const std::string& Value) {
        Profile.Set(Section, Key, Value);
    };
    auto WriteInteger = [&](const char* Key, int32_t Value) {
        Write("Height", Key, std::to_string(Value));
    };
    Write("Palette", "Sea", ColourText(Settings.Sea));
    Write("Palette", "Out", ColourText(Settings.Out));
    if (Settings.NoData) {
        Write("Palette", "NoData", ColourText(*Settings.NoData));
    }
    for (size_t Index = 0; Index < ColourKeys.size(); ++Index) {
        Write(ColourKeys[Index].Section, ColourKeys[Index].Key,
              ColourText(PaletteColour(Settings, Index)));
    }
    WriteInteger("Min", Settings.Min);
    WriteInteger("Max", Settings.Max);
    WriteInteger("ShadowKK", Settings.ShadowKK);
    WriteInteger("Pit", Pit);
    // A file that never chose a shading keeps naming none.
    if (Settings.Shade != TShadeMode::Ramp || !Profile.Get("Height", "Shade", "").empty()) {
        Write("Height", "Shade", std::string(ShadeModeName(Settings.Shade)));
    }
    Write("3DDraw", "Quality", Settings.Quality);
    Write("Settings", "SeaExp", Settings.SeaExp ? "1" : "0");
    for (size_t Layer = 0; Layer < CheckBoxKeys.size(); ++Layer) {
        Write("GmpChk", CheckBoxKeys[Layer], Settings.GmpChk[Layer] ? "1" : "0");
    }
    for (const TExtraKey& Key : Extra) {
        Profile.Set(Key.Section, Key.Key, Key.Value);
    }
    WriteProfileFile(Profile, Path);
    Settings.Pit = Pit;
}

TSettingsFile SettingsFile(const std::string& ExecutableDir) {
    if (const char* Override = std::getenv("TALVO_INI"); Override && *Override) {
        return {Override, true};
    }
    // A Talvo.ini already beside the program makes it portable (the build tree, a folder on a
    // stick); a writable program folder alone does not, or running as root would write there.
    const std::filesystem::path Beside = std::filesystem::path(ExecutableDir) / "Talvo.ini";
    std::error_code Missing;
    if (std::filesystem::is_regular_file(Beside, Missing)) {
        return {Beside.string(), false};
    }
    std::filesystem::path Config;
    if (const char* Xdg = std::getenv("XDG_CONFIG_HOME"); Xdg && Xdg[0] == '/') {
        Config = Xdg;
    } else {
        const char* Home = std::getenv("HOME");
        Config = std::filesystem::path(Home ? Home : "/") / ".config";
    }
    return {(Config / "talvo" / "Talvo.ini").string(), false};
}

std::string ShippedPalettePath(const std::string& ExecutableDir) {
    const std::filesystem::path Program(ExecutableDir);
    for (const std::filesystem::path& Candidate : {Program / ".." / "share" / "talvo" / "Talvo.ini",
                                                   Program / "share" / "talvo" / "Talvo.ini"}) {
        std::error_code Missing;
        if (std::filesystem::is_regular_file(Candidate, Missing)) {
            return Candidate.lexically_normal().string();
        }
    }
    return "";
}

std::vector<std::string> LoadStartSettings(const TSettingsFile& File,
                                           const std::string& ShippedPalette,
                                           TViewSettings& Settings, TProfileText& Read) {
    std::optional<TProfileText> Profile = ReadExistingProfileFile(File.Path);
    if (!Profile && File.Named) {
        throw Placed(InOutError(ENOENT), File.Path);
    }
    if (Profile) {
        RequireKnownSettings(*Profile, File.Path);
        Read = *Profile;
    }
    if (!Profile && !ShippedPalette.empty()) {
        Profile = ReadExistingProfileFile(ShippedPalette);
    }
    return LoadSettings(Profile ? *Profile : TProfileText(), Settings);
}

} // namespace talvo
