// libFuzzer target: any bytes as a settings file, read, changed and read again.
#include <cstdint>
#include <string_view>

#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::string_view Bytes(reinterpret_cast<const char*>(Data), Size);
    talvo::TProfileText Profile(Bytes);
    talvo::TViewSettings Settings;
    talvo::LoadSettings(Profile, Settings);

    // A key written into any text reads back as written.
    Profile.Set("Palette", "Sea", "00FF00");
    talvo::TProfileText Again(Profile.Text());
    talvo::LoadSettings(Again, Settings);
    if (Settings.Sea != 0x00FF00) {
        __builtin_trap();
    }
    return 0;
}
