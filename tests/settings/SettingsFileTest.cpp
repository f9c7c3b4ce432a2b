#include "settings/SettingsFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Errors.h"
#include "settings/SettingsFile.h"
#include "support/NumMapText.h"
#include "support/ScopedEnv.h"

namespace talvo {
namespace {

class SettingsFileTest : public ::testing::Test {
  protected:
    std::vector<std::string> Load(const std::string& Text) {
        return LoadSettings(TProfileText(Text), Settings);
    }
    TViewSettings Settings;
};

TEST_F(SettingsFileTest, NoFileGivesEveryDefault) {
    Settings.Sea = 5;
    PaletteColour(Settings, 3) = 5;
    Settings.GmpChk.fill(true);
    auto Bad = LoadSettings("/nonexistent-talvo/Talvo.ini", Settings);
    EXPECT_TRUE(Bad.empty());
    EXPECT_EQ(Settings.Sea, 0);
    EXPECT_EQ(Settings.Out, 0);
    for (int I = 0; I < 36; ++I) {
        EXPECT_EQ(PaletteColour(Settings, static_cast<size_t>(I)), 0) << I;
    }
    EXPECT_EQ(Settings.Min, 0);
    EXPECT_EQ(Settings.Max, 5000);
    EXPECT_EQ(Settings.Pit, 100);
    EXPECT_EQ(Settings.ShadowKK, 64);
    EXPECT_EQ(Settings.Quality, "GOURAUD");
    EXPECT_FALSE(Settings.SeaExp);
    for (bool Checked : Settings.GmpChk) {
        EXPECT_FALSE(Checked);
    }
}

TEST_F(SettingsFileTest, ValueForms) {
    Load("[Palette]\nSea=0000ff\nSet0=ffffffff\n"
         "[Height]\nMin=0x10\nMax=-7\nPit=abc\nShadowKK=0x\n"
         "[Settings]\nSeaExp=2\n"
         "[GmpChk]\nAd=1\nRv=0x1\nLk=yes\nRd=-1\n");
    EXPECT_EQ(Settings.Sea, 255);
    EXPECT_EQ(PaletteColour(Settings, 0), -1);
    EXPECT_EQ(Settings.Min, 16);
    EXPECT_EQ(Settings.Max, -7);
    EXPECT_EQ(Settings.Pit, 100);
    EXPECT_EQ(Settings.ShadowKK, 64); // "0x" alone is no hexadecimal number
    EXPECT_TRUE(Settings.SeaExp);
    EXPECT_EQ(Settings.GmpChk, (std::array<bool, 6>{true, true, false, true, false, false}));
}

TEST_F(SettingsFileTest, BadColourKeysAreNamedAndLaterKeysStillRead) {
    auto Bad = Load("[Palette]\nSea=\nOut=12345678\nSet0=$FF\nSet1=00FF00\n"
                    "[GmpPal]\nrw=123456789\n[Height]\nMax=3000\n");
    EXPECT_EQ(Bad, (std::vector<std::string>{"Palette/Sea", "Palette/Set0", "GmpPal/rw"}));
    EXPECT_EQ(Settings.Sea, 0);
    EXPECT_EQ(Settings.Out, 0x12345678);
    EXPECT_EQ(PaletteColour(Settings, 0), 0);
    EXPECT_EQ(PaletteColour(Settings, 1), 0x00FF00);
    EXPECT_EQ(PaletteColour(Settings, 35), 0);
    EXPECT_EQ(Settings.Max, 3000);
}

TEST_F(SettingsFileTest, SaveWritesEveryKeyAndReadsBackTheSame) {
    std::string Path = test::WriteTempFile("Talvo.ini", "; mine\r\n[Extra]\r\nkept=1\r\n"
                                                        "[Height]\r\nUnknown=yes\r\n");
    Settings.Sea = 255;
    Settings.Out = -2;
    for (int I = 0; I < 36; ++I) {
        PaletteColour(Settings, static_cast<size_t>(I)) = I * 0x010203;
    }
    Settings.Min = 0;
    Settings.Max = 3000;
    Settings.Pit = 7;
    Settings.ShadowKK = -3;
    Settings.Quality = "MAPPING";
    Settings.SeaExp = true;
    Settings.GmpChk = {true, false, true, false, false, true};
    SaveSettings(Path, Settings);
    EXPECT_EQ(Settings.Pit, 60);

    std::string Text = test::FileText(Path);
    EXPECT_EQ(Text.rfind("; mine\r\n[Extra]\r\nkept=1\r\n[Height]\r\nUnknown=yes\r\nMin=0\r\n"
                         "Max=3000\r\nShadowKK=-3\r\nPit=60\r\n[Palette]\r\nSea=0000FF\r\n"
                         "Out=FFFFFFFE\r\nSet0=000000\r\nSet1=010203\r\n",
                         0),
              0u)
        << Text;
    EXPECT_NE(Text.find("[GmpChk]\r\nAd=1\r\nRv=0\r\nLk=1\r\nRd=0\r\nHw=0\r\nRw=1\r\n"),
              std::string::npos);

    TViewSettings Read;
    EXPECT_TRUE(LoadSettings(Path, Read).empty());
    EXPECT_EQ(Read.Sea, Settings.Sea);
    EXPECT_EQ(Read.Out, Settings.Out);
    for (size_t Index = 0; Index < PaletteColourCount; ++Index) {
        EXPECT_EQ(PaletteColour(Read, Index), PaletteColour(Settings, Index)) << Index;
    }
    EXPECT_EQ(Read.Min, Settings.Min);
    EXPECT_EQ(Read.Max, Settings.Max);
    EXPECT_EQ(Read.ShadowKK, Settings.ShadowKK);
    EXPECT_EQ(Read.Quality, "MAPPING");
    EXPECT_TRUE(Read.SeaExp);
    EXPECT_EQ(Read.GmpChk, Settings.GmpChk);
}

// The picture's shading: the ramp when the file names none or one Talvo does not know; a file
// that never chose one is saved without the key, so that older programs read it as before.
TEST_F(SettingsFileTest, TheShadingIsWrittenOnceChosen) {
    const struct {
        const char* File;
        TShadeMode Read;
        TShadeMode Chosen;
        const char* Written;
    } Cases[] = {{"[Height]\r\nMin=0\r\n", TShadeMode::Ramp, TShadeMode::Ramp, ""},
                 {"[Height]\r\nShade=sepia\r\n", TShadeMode::Ramp, TShadeMode::Ramp, "ramp"},
                 {"[Height]\r\nShade=multidirectional\r\n", TShadeMode::Multidirectional,
                  TShadeMode::Ramp, "ramp"},
                 {"", TShadeMode::Ramp, TShadeMode::RedRelief, "redrelief"}};
    for (const auto& Case : Cases) {
        const std::string Path = test::WriteTempFile("shade.ini", Case.File);
        TViewSettings Read;
        LoadSettings(Path, Read);
        EXPECT_EQ(Read.Shade, Case.Read) << Case.File;
        Read.Shade = Case.Chosen;
        SaveSettings(Path, Read);
        EXPECT_EQ(GetPrivateProfileString("Height", "Shade", "", Path), Case.Written) << Case.File;
    }
}

TEST_F(SettingsFileTest, PitFollowsTheLimitsOnSaving) {
    std::string Path = test::WriteTempFile("pit.ini", "");
    Settings.Min = 0;
    Settings.Max = 30;
    SaveSettings(Path, Settings);
    EXPECT_EQ(Settings.Pit, 0);
    Settings.Max = 3776;
    SaveSettings(Path, Settings);
    EXPECT_EQ(Settings.Pit, 75);
    EXPECT_EQ(GetPrivateProfileString("Height", "Pit", "", Path), "75");
}

TEST_F(SettingsFileTest, ARefusedWriteRaises) {
    std::string Missing = "/nonexistent-talvo/Talvo.ini";
    try {
        SaveSettings(Missing, Settings);
        FAIL() << "a file in a missing folder cannot be written";
    } catch (const EInOutError& Error) {
        EXPECT_EQ(std::string(Error.what()),
                  Missing + " に書き込めません (フォルダーがありません)");
    }

    // A file that cannot be read is not overwritten either.
    std::string Path = test::WriteTempFile("readonly.ini", "[Palette]\r\nSea=000001\r\n");
    ::chmod(Path.c_str(), 0);
    if (::access(Path.c_str(), R_OK) != 0) {
        EXPECT_THROW(SaveSettings(Path, Settings), EInOutError);
    }
    ::chmod(Path.c_str(), 0644);
    EXPECT_EQ(test::FileText(Path), "[Palette]\r\nSea=000001\r\n");
}

using test::TScopedEnv;

TEST_F(SettingsFileTest, AByteOrderMarkIsSkippedAndAnOverflowedStepWritesNothing) {
    Load("\xEF\xBB\xBF[Palette]\r\nSea=0000FF\r\n");
    EXPECT_EQ(Settings.Sea, 0xFF);

    const std::string Path = test::WriteTempFile("overflow.ini", "[Height]\r\nMin=1\r\n");
    Settings.Min = INT32_MIN;
    Settings.Max = INT32_MAX;
    EXPECT_THROW(SaveSettings(Path, Settings), EIntOverflow);
    EXPECT_EQ(test::FileText(Path), "[Height]\r\nMin=1\r\n");
}

TEST(SettingsFile, WhatAStartReads) {
    const std::string Shipped = test::WriteTempFile("shipped.ini", "[Height]\nMax=1200\n");
    const std::string Present = test::WriteTempFile("present.ini", "[Height]\nMax=700\n");
    const std::string Missing = Present + ".missing";
    const std::string Folder = std::filesystem::path(Present).parent_path().string();
    struct TCase {
        TSettingsFile File;
        int32_t Max; // 0: refused
    };
    for (const TCase& Case :
         {TCase{{Present, true}, 700}, TCase{{Present, false}, 700}, TCase{{Missing, false}, 1200},
          TCase{{Missing, true}, 0}, TCase{{Folder, false}, 0}, TCase{{Folder, true}, 0}}) {
        SCOPED_TRACE(Case.File.Path + (Case.File.Named ? " named" : ""));
        TViewSettings Settings;
        TProfileText Read;
        if (Case.Max == 0) {
            try {
                LoadStartSettings(Case.File, Shipped, Settings, Read);
                ADD_FAILURE() << "read";
            } catch (const EInOutError& Error) {
                EXPECT_NE(std::string(Error.what()).find("\n" + Case.File.Path), std::string::npos);
            }
        } else {
            LoadStartSettings(Case.File, Shipped, Settings, Read);
            EXPECT_EQ(Settings.Max, Case.Max);
        }
    }
}

TEST(SettingsFile, OverrideBesideTheProgramOrConfigFolder) {
    // A program folder of its own: other tests leave files in the common one.
    const std::string Folder =
        (std::filesystem::path(test::WriteTempFile("where", "")).parent_path() / "program")
            .string();
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    const std::string Xdg = Folder + "/config";
    TScopedEnv Ini("TALVO_INI", "/somewhere/else.ini");
    TScopedEnv Config("XDG_CONFIG_HOME", Xdg.c_str());
    TScopedEnv Home("HOME", Folder.c_str());
    EXPECT_EQ(SettingsFile(Folder).Path, "/somewhere/else.ini");
    EXPECT_TRUE(SettingsFile(Folder).Named);
    {
        TScopedEnv NoOverride("TALVO_INI", nullptr);
        EXPECT_EQ(SettingsFile(Folder).Path, Xdg + "/talvo/Talvo.ini"); // writable, but no file
        std::ofstream(Folder + "/Talvo.ini").put('\n');
        EXPECT_EQ(SettingsFile(Folder).Path, Folder + "/Talvo.ini");
        EXPECT_FALSE(SettingsFile(Folder).Named);
        EXPECT_EQ(SettingsFile("/nonexistent-talvo").Path, Xdg + "/talvo/Talvo.ini");
        EXPECT_FALSE(std::filesystem::exists(Xdg)); // nothing is made until the window saves
        TScopedEnv Relative("XDG_CONFIG_HOME", "relative");
        EXPECT_EQ(SettingsFile("/nonexistent-talvo").Path, Folder + "/.config/talvo/Talvo.ini");
    }
}

} // namespace
} // namespace talvo
