#include "platform/PictureFiles.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

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
}

TEST(PictureFiles, FailuresNameThePath) {
    TBitmap Picture = Sample();
    for (const char* Path :
         {"/nonexistent-talvo/p.bmp", "/nonexistent-talvo/p.jpg", "/nonexistent-talvo/p.png"}) {
        try {
            WritePicture(Picture, Path);
            ADD_FAILURE() << Path;
        } catch (const EInOutError& Error) {
            EXPECT_EQ(std::string(Error.what()), std::string(Path) + " に書き込めません");
        }
    }
    EXPECT_THROW(WritePicture(Picture, "/tmp/p.gif"), ETalvoError);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_THROW(WriteBmp(Picture, "/dev/full"), EInOutError);
        EXPECT_THROW(WritePng(Picture, "/dev/full"), EInOutError);
        EXPECT_THROW(WriteJpeg(Picture, "/dev/full"), EInOutError);
    }
}

} // namespace
} // namespace talvo
