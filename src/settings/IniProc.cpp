#include "settings/IniProc.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// A settings key and the numeric entry of TIni that it holds.
struct TEntryKey {
    const char* Section;
    const char* Key;
    int Entry;
};

// Colour keys of entries 0..35, in file order.
constexpr std::array<TEntryKey, 36> ColourKeys = {{
    {"Palette", "Set0", 0}, {"Palette", "Set1", 1}, {"Palette", "Set2", 2}, {"Palette", "Set3", 3},
    {"Palette", "Set4", 4}, {"Palette", "Set5", 5}, {"GmpPal", "LU1", 6},   {"GmpPal", "LU2", 7},
    {"GmpPal", "LU3", 8},   {"GmpPal", "LU4", 9},   {"GmpPal", "LU5", 10},  {"GmpPal", "LU6", 11},
    {"GmpPal", "LU7", 12},  {"GmpPal", "LU8", 13},  {"GmpPal", "LU9", 14},  {"GmpPal", "VG1", 15},
    {"GmpPal", "VG2", 16},  {"GmpPal", "VG3", 17},  {"GmpPal", "VG4", 18},  {"GmpPal", "VG5", 19},
    {"GmpPal", "VG6", 20},  {"GmpPal", "VG7", 21},  {"GmpPal", "VG8", 22},  {"GmpPal", "VG9", 23},
    {"GmpPal", "VG10", 24}, {"GmpPal", "VG11", 25}, {"GmpPal", "VG12", 26}, {"GmpPal", "VG13", 27},
    {"GmpPal", "VG14", 28}, {"GmpPal", "VG15", 29}, {"GmpPal", "ad", 30},   {"GmpPal", "rv", 31},
    {"GmpPal", "lk", 32},   {"GmpPal", "rd", 33},   {"GmpPal", "hw", 34},   {"GmpPal", "rw", 35},
}};

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

std::vector<std::string> LoadSettings(const std::string& Path, TIni& Settings) {
    return LoadSettings(ReadProfileFile(Path), Settings);
}

std::vector<std::string> LoadSettings(const TProfileText& Profile, TIni& Settings) {
    TSettingsReader Reader(Profile);
    Settings.Sea = Reader.Colour("Palette", "Sea");
    Settings.Out = Reader.Colour("Palette", "Out");
    for (const TEntryKey& Key : ColourKeys) {
        Settings.Entry[static_cast<size_t>(Key.Entry)] = Reader.Colour(Key.Section, Key.Key);
    }
    Settings.Entry[IniMin] = Reader.Integer("Height", "Min", 0);
    Settings.Entry[IniMax] = Reader.Integer("Height", "Max", 5000);
    Settings.Entry[IniPit] = Reader.Integer("Height", "Pit", 100);
    Settings.Entry[IniShadowKK] = Reader.Integer("Height", "ShadowKK", 64);
    Settings.Quality = Reader.Text("3DDraw", "Quality", DefaultQuality);
    Settings.SeaExp = Reader.Boolean("Settings", "SeaExp", false);
    for (size_t Layer = 0; Layer < CheckBoxKeys.size(); ++Layer) {
        Settings.GmpChk[Layer] = Reader.Boolean("GmpChk", CheckBoxKeys[Layer], false);
    }
    return Reader.BadKeys;
}

void SaveSettings(const std::string& Path, TIni& Settings) {
    const int32_t Pit = CheckedSub(Settings.Entry[IniMax], Settings.Entry[IniMin]) / 50;
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
    for (const TEntryKey& Key : ColourKeys) {
        Write(Key.Section, Key.Key, ColourText(Settings.Entry[static_cast<size_t>(Key.Entry)]));
    }
    WriteInteger("Min", Settings.Entry[IniMin]);
    WriteInteger("Max", Settings.Entry[IniMax]);
    WriteInteger("ShadowKK", Settings.Entry[IniShadowKK]);
    WriteInteger("Pit", Pit);
    Write("3DDraw", "Quality", Settings.Quality);
    Write("Settings", "SeaExp", Settings.SeaExp ? "1" : "0");
    for (size_t Layer = 0; Layer < CheckBoxKeys.size(); ++Layer) {
        Write("GmpChk", CheckBoxKeys[Layer], Settings.GmpChk[Layer] ? "1" : "0");
    }
    WriteProfileFile(Profile, Path);
    Settings.Entry[IniPit] = Pit;
}

} // namespace talvo
