#include "settings/KnownSettings.h"

#include <algorithm>
#include <string_view>

#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// The sections that hold what a picture is drawn with (window placement alone draws nothing).
constexpr std::string_view SettingsSections[] = {"Palette", "GmpPal",   "Height",
                                                 "3DDraw",  "Settings", "GmpChk"};

} // namespace

void RequireKnownSettings(const TProfileText& Profile, const std::string& Path) {
    if (std::none_of(std::begin(SettingsSections), std::end(SettingsSections),
                     [&](std::string_view Section) { return Profile.HasKeyIn(Section); })) {
        throw Placed(ETalvoError(Text(TText::SettingsNoKnownKey)), Path);
    }
}

} // namespace talvo
