#include "platform/PictureFiles.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/Errors.h"
#include "support/NumMapText.h"
#include "support/PictureReaders.h"

namespace talvo {
namespace {

// 7 × 5 pixels (odd width: BMP rows are padded) of distinct colours.
TBitmap Sample() {
    TBitmap Picture(7, 5);
    for (int32_t Y = 0; Y < 5; ++Y) {
        for (int32_t X = 0; X < 7; ++X) {
            Picture.SetPixel(X, Y, (X * 36) | (Y * 60) << 8 | ((X + Y) * 20) << 16);
        }
    }
    return Picture;
}

void ExpectSame(const TBitmap& Written, const test::TDecoded& Read, int Tolerance) {
    ASSERT_EQ(Read.Width, Written.Width());
    ASSERT_EQ(Read.Height, Written.Height());
    for (int32_t Y = 0; Y < Read.Height; ++Y) {
        for (int32_t X = 0; X < Read.Width; ++X) {
            for (int Shift : {0, 8, 16}) {
                int Want = Written.Pixel(X, Y) >> Shift & 0xFF;
                int Got = Read.At(X, Y) >> Shift & 0xFF;
                EXPECT_LE(std::abs(Want - Got), Tolerance) << X << "," << Y << " channel " << Shift;
            }
        }
    }
}

// PNG pictures are compressed in strips of rows on several threads: shapes of one strip, of
// several, and of rows longer than deflate's window read back exactly.
TEST(PictureFiles, PngInStripsReadsBackExactly) {
    const std::string Folder = std::filesystem::path(test::WriteTempFile("x", "")).parent_path();
    for (const auto& [Width, Height] : {std::pair{1, 1}, {2000, 700}, {40000, 30}}) {
        TBitmap Picture(Width, Height);
        uint32_t Noise = 12345;
        for (int32_t Y = 0; Y < Height; ++Y) {
            for (int32_t X = 0; X < Width; ++X) {
                Noise = Noise * 1103515245u + 12345u;
                // Smooth slopes with noise: every branch of the filter's predictor is taken.
                Picture.SetPixel(X, Y,
                                 static_cast<int32_t>(((X + Y) & 0xFF) | (Noise >> 8 & 0x0F0F00)));
            }
        }
        WritePng(Picture, Folder + "/strips.png");
        ExpectSame(Picture, test::ReadPng(Folder + "/strips.png"), 0);
    }
}

TEST(PictureFiles, BmpAndPngReadBackExactlyAndJpegClosely) {
    TBitmap Picture = Sample();
    std::string Folder = std::filesystem::path(test::WriteTempFile("x", "")).parent_path();
    WritePicture(Picture, Folder + "/p.BMP");
    ExpectSame(Picture, test::ReadBmp24(Folder + "/p.BMP"), 0);
    WritePicture(Picture, Folder + "/p.png");
    ExpectSame(Picture, test::ReadPng(Folder + "/p.png"), 0);
    WritePicture(Picture, Folder + "/p.Jpg");
    ExpectSame(Picture, test::ReadJpeg(Folder + "/p.Jpg"), 40);

    TBitmap Flat(16, 16);
    for (int32_t Y = 0; Y < 16; ++Y) {
        for (int32_t X = 0; X < 16; ++X) {
            Flat.SetPixel(X, Y, 0x3080C0);
        }
    }
    WriteJpeg(Flat, Folder + "/flat.jpeg");
    ExpectSame(Flat, test::ReadJpeg(Folder + "/flat.jpeg"), 3);

    // Lines longer than the blocks a bitmap is written in (1,398,101 pixels) go in pieces.
    TBitmap Wide(3000001, 2);
    for (int32_t X = 0; X < Wide.Width(); ++X) {
        Wide.SetPixel(X, 0, X * 37);
        Wide.SetPixel(X, 1, X * 11);
    }
    WriteBmp(Wide, Folder + "/wide.bmp");
    ExpectSame(Wide, test::ReadBmp24(Folder + "/wide.bmp"), 0);
}

// A failed write names the file and says why; a name near the longest allowed is written all the
// same, though its hidden temporary name is longer.
TEST(PictureFiles, FailuresNameThePathAndTheReason) {
    const TBitmap Picture = Sample();
    const std::string ReadOnly = test::WriteTempFile("read-only.png", "earlier");
    std::filesystem::permissions(ReadOnly, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    const std::string Folder = std::filesystem::path(ReadOnly).parent_path().string();
    using TWriter = void (*)(const TBitmap&, const std::string&);
    const struct {
        TWriter Write;
        std::string Path;
        std::string Reason; // "" when the write succeeds
    } Cases[] = {
        {WritePicture, "/nonexistent-talvo/p.bmp", "フォルダーがありません"},
        {WritePicture, "/nonexistent-talvo/p.jpg", "フォルダーがありません"},
        {WritePicture, "/nonexistent-talvo/p.png", "フォルダーがありません"},
        {WriteBmp, "/dev/full", "ディスクに空きがありません"},
        {WritePng, "/dev/full", "ディスクに空きがありません"},
        {WriteJpeg, "/dev/full", "ディスクに空きがありません"},
        {WritePicture, ReadOnly, "ファイルが読み取り専用です"}, // root included
        {WritePicture, Folder + "/" + std::string(256, 'n') + ".png", "名前が長すぎます"},
        {WritePicture, Folder + "/" + std::string(251, 'n') + ".png", ""},
    };
    for (const auto& Case : Cases) {
        try {
            Case.Write(Picture, Case.Path);
            EXPECT_EQ(Case.Reason, "") << Case.Path;
        } catch (const EInOutError& Error) {
            EXPECT_EQ(std::string(Error.what()),
                      Case.Path + " に書き込めません (" + Case.Reason + ")");
        }
    }
    EXPECT_EQ(test::FileText(ReadOnly), "earlier");
    EXPECT_EQ(test::ReadPng(Folder + "/" + std::string(251, 'n') + ".png").Width, 7);
    EXPECT_THROW(WritePicture(Picture, "/tmp/p.gif"), ETalvoError);
}

// What a killed write left beside a picture goes when the picture is next written; a temporary
// file still being written (locked) stays, and so do other hidden files of a similar name.
TEST(PictureFiles, LeftoversOfKilledWritesGo) {
    const std::string Target = test::WriteTempFile("left.png", "");
    const std::string Folder = std::filesystem::path(Target).parent_path().string();
    const std::string Left = test::WriteTempFile(".left.png.Ab3XyZ", "half");
    const std::string Busy = test::WriteTempFile(".left.png.Busy00", "writing");
    const std::string Swap = test::WriteTempFile(".left.png.swp", "an editor's");
    const int Writer = ::open(Busy.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(Writer, LOCK_EX), 0);
    WritePng(Sample(), Target);
    ::close(Writer);
    EXPECT_FALSE(std::filesystem::exists(Left));
    EXPECT_TRUE(std::filesystem::exists(Busy));
    EXPECT_TRUE(std::filesystem::exists(Swap));
    int Hidden = 0;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
        Hidden += Entry.path().filename().string().starts_with(".left.png.");
    }
    EXPECT_EQ(Hidden, 2);
}

} // namespace
} // namespace talvo
