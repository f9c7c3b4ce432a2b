#include "platform/ProfileFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string_view>

#include "platform/Errors.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

// ASCII Text as UTF-16 of a byte order, after its byte-order mark.
std::string Utf16(std::string_view Text, bool BigEndian) {
    std::string Bytes = BigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char C : Text) {
        Bytes += BigEndian ? std::string{'\0', C} : std::string{C, '\0'};
    }
    return Bytes;
}

// UTF-16 with its byte-order mark, as Windows Notepad saves "Unicode" text: read as text, and
// written back as it came.
TEST(ProfileText, Utf16IsReadAsTextAndWrittenBackSo) {
    for (const bool BigEndian : {false, true}) {
        TProfileText Profile(Utf16("[Palette]\r\nSea=FF8000\r\n", BigEndian));
        EXPECT_EQ(Profile.Get("palette", "sea", ""), "FF8000");
        EXPECT_TRUE(Profile.HasKeyIn("Palette"));
        Profile.Set("Palette", "Out", "123456");
        EXPECT_EQ(Profile.Text(), Utf16("[Palette]\r\nSea=FF8000\r\nOut=123456\r\n", BigEndian));
    }
}

TEST(ProfileText, LooksUpWithoutRegardToCaseAndUnquotes) {
    TProfileText Profile("; comment\r\n"
                         "Key=outside\r\n"
                         "[Palette]\r\n"
                         "  sea =  B48246  \r\n"
                         "Quoted=\"  spaced  \"\r\n"
                         "Single='x'\r\n"
                         "Lone=\"\r\n"
                         "Empty=\r\n"
                         "[ height ]\r\n"
                         "Max=1200\r\n"
                         "Max=9999\r\n");
    EXPECT_EQ(Profile.Get("PALETTE", "Sea", "0"), "B48246");
    EXPECT_EQ(Profile.Get("Palette", "Quoted", ""), "  spaced  ");
    EXPECT_EQ(Profile.Get("Palette", "Single", ""), "x");
    EXPECT_EQ(Profile.Get("Palette", "Lone", ""), "\"");
    EXPECT_EQ(Profile.Get("Palette", "Empty", "dflt"), "");
    EXPECT_EQ(Profile.Get("Height", "max", "0"), "1200");
    EXPECT_EQ(Profile.Get("Height", "Sea", "none"), "none");
    EXPECT_EQ(Profile.Get("Nowhere", "Key", "none"), "none");
    EXPECT_EQ(Profile.Get("Palette", "Key", "none"), "none");

    TProfileText Long("[S]\nK=" + std::string(5000, 'v') + "\n");
    EXPECT_EQ(Long.Get("S", "K", "").size(), TProfileText::MaxValueBytes);
}

TEST(ProfileText, WritesInPlaceInSectionOrAtTheEnd) {
    TProfileText Profile("; keep me\n[A]\nx=1\n\n[B]\ny=2\n");
    Profile.Set("a", "X", "10");  // replaced in place
    Profile.Set("A", "z", "3");   // after the section's last line, before the blank one
    Profile.Set("C", "w", "4");   // a new section at the end
    Profile.Set("B", "y", "a=b"); // values may hold "="
    EXPECT_EQ(Profile.Text(), "; keep me\n[A]\nX=10\nz=3\n\n[B]\ny=a=b\n[C]\nw=4\n");

    TProfileText Empty;
    Empty.Set("S", "k", "v");
    EXPECT_EQ(Empty.Text(), "[S]\r\nk=v\r\n");
}

TEST(ProfileFile, WriteCreatesUpdatesAndRefuses) {
    std::string Path = test::WriteTempFile("profile.ini", "[Old]\r\nkeep=yes\r\n");
    WritePrivateProfileString("New", "k", "v", Path);
    WritePrivateProfileString("Old", "keep", "still", Path);
    EXPECT_EQ(test::FileText(Path), "[Old]\r\nkeep=still\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(GetPrivateProfileString("new", "K", "", Path), "v");

    std::filesystem::remove(Path);
    EXPECT_EQ(GetPrivateProfileString("Old", "keep", "gone", Path), "gone");
    WritePrivateProfileString("S", "k", "v", Path);
    EXPECT_EQ(test::FileText(Path), "[S]\r\nk=v\r\n");

    std::string Folder = std::filesystem::path(Path).parent_path().string();
    try {
        WritePrivateProfileString("S", "k", "v", Folder);
        FAIL() << "writing to a folder must fail";
    } catch (const EInOutError& Error) {
        EXPECT_EQ(std::string(Error.what()), Folder + " に書き込めません");
    }
    EXPECT_THROW(WritePrivateProfileString("S", "k", "v", "/nonexistent-talvo/x.ini"), EInOutError);
}

} // namespace
} // namespace talvo
