#include "settings/SettingsFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/ProfileFile.h"
#include "settings/IniProc.h"
#include "settings/KnownSettings.h"

namespace talvo {

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
                                           const std::string& ShippedPalette, TIni& Settings) {
    std::optional<TProfileText> Profile = ReadExistingProfileFile(File.Path);
    if (!Profile && File.Named) {
        throw Placed(InOutError(ENOENT), File.Path);
    }
    if (Profile) {
        RequireKnownSettings(*Profile, File.Path);
    }
    if (!Profile && !ShippedPalette.empty()) {
        Profile = ReadExistingProfileFile(ShippedPalette);
    }
    return LoadSettings(Profile ? *Profile : TProfileText(), Settings);
}

} // namespace talvo
