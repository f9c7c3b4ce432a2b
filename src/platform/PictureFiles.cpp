#include "platform/PictureFiles.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <memory>
#include <png.h>
#include <tbb/parallel_for.h>
#include <tbb/task_group.h>
#include <vector>

#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// Row Y as red, green, blue bytes.
void RgbRow(const TBitmap& Picture, int32_t Y, unsigned char* Out) {
    const int32_t* Pixels = Picture.Row(Y);
    for (int32_t X = 0; X < Picture.Width(); ++X) {
        *Out++ = static_cast<unsigned char>(Pixels[X]);
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 8);
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 16);
    }
}

// Row Y as blue, green, red bytes: a bitmap file's order.
void BgrRow(const TBitmap& Picture, int32_t Y, unsigned char* Out) {
    const int32_t* Pixels = Picture.Row(Y);
    for (int32_t X = 0; X < Picture.Width(); ++X) {
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 16);
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 8);
        *Out++ = static_cast<unsigned char>(Pixels[X]);
    }
}

constexpr int64_t BmpBlockBytes = int64_t{4} << 20;

void PutLittleEndian(unsigned char* At, uint32_t Value, int Bytes) {
    for (int I = 0; I < Bytes; ++I) {
        At[I] = static_cast<unsigned char>(Value >> (8 * I));
    }
}

// libjpeg and libpng report errors by longjmp; the functions below that call them keep only
// plain data between setjmp and the library calls, so that nothing needs unwinding.

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

void JpegErrorExit(j_common_ptr Info) {
    std::longjmp(reinterpret_cast<TJpegError*>(Info->err)->Jump, 1);
}

bool EncodeJpeg(std::FILE* File, const TBitmap& Picture, unsigned char* Row) {
    jpeg_compress_struct Info;
    TJpegError Error;
    Info.err = jpeg_std_error(&Error.Manager);
    Error.Manager.error_exit = JpegErrorExit;
    if (setjmp(Error.Jump)) {
        jpeg_destroy_compress(&Info);
        return false;
    }
    jpeg_create_compress(&Info);
    jpeg_stdio_dest(&Info, File);
    Info.image_width = static_cast<JDIMENSION>(Picture.Width());
    Info.image_height = static_cast<JDIMENSION>(Picture.Height());
    Info.input_components = 3;
    Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, 90, TRUE);
    jpeg_start_compress(&Info, TRUE);
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        RgbRow(Picture, Y, Row);
        JSAMPROW Rows[1] = {Row};
        jpeg_write_scanlines(&Info, Rows, 1);
    }
    jpeg_finish_compress(&Info);
    jpeg_destroy_compress(&Info);
    return true;
}

bool EncodePng(std::FILE* File, const TBitmap& Picture, unsigned char* Row) {
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = Png ? png_create_info_struct(Png) : nullptr;
    if (!Info) {
        png_destroy_write_struct(&Png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, &Info);
        return false;
    }
    png_init_io(Png, File);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Picture.Width()),
                 static_cast<png_uint_32>(Picture.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(Png, Info);
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        RgbRow(Picture, Y, Row);
        png_write_row(Png, Row);
    }
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    return true;
}

// Writes through a library encoder that takes the file and a buffer for one RGB row.
void WriteEncoded(const TBitmap& Picture, const std::string& Path,
                  bool (*Encode)(std::FILE*, const TBitmap&, unsigned char*)) {
    TAtomicFile File(Path);
    std::vector<unsigned char> Row(static_cast<size_t>(Picture.Width()) * 3);
    if (!Encode(File.Stream(), Picture, Row.data())) {
        File.Fail();
    }
    File.Commit();
}

} // namespace

void WriteBmp(const TBitmap& Picture, const std::string& Path) {
    const uint32_t RowBytes = (static_cast<uint32_t>(Picture.Width()) * 3 + 3) & ~3u;
    const uint32_t ImageBytes = RowBytes * static_cast<uint32_t>(Picture.Height());
    unsigned char Header[54] = {'B', 'M'};
    PutLittleEndian(Header + 2, 54 + ImageBytes, 4); // file size
    PutLittleEndian(Header + 10, 54, 4);             // offset of the pixels
    PutLittleEndian(Header + 14, 40, 4);             // BITMAPINFOHEADER
    PutLittleEndian(Header + 18, static_cast<uint32_t>(Picture.Width()), 4);
    PutLittleEndian(Header + 22, static_cast<uint32_t>(Picture.Height()), 4); // bottom-up
    PutLittleEndian(Header + 26, 1, 2);                                       // planes
    PutLittleEndian(Header + 28, 24, 2);                                      // bits per pixel
    PutLittleEndian(Header + 34, ImageBytes, 4);
    PutLittleEndian(Header + 38, 3780, 4); // 96 dots per inch
    PutLittleEndian(Header + 42, 3780, 4);

    TAtomicFile File(Path);
    File.Write(Header, sizeof Header);

    // Lines go bottom-up in blocks: while one block is written, the next is converted.
    const int32_t Height = Picture.Height();
    const auto BlockLines =
        static_cast<int32_t>(std::clamp<int64_t>(BmpBlockBytes / RowBytes, 1, std::max(Height, 1)));
    std::vector<unsigned char> Ready(size_t{RowBytes} * static_cast<size_t>(BlockLines), 0);
    std::vector<unsigned char> Next(Ready.size(), 0);
    auto Convert = [&](int32_t First, std::vector<unsigned char>& Out) {
        const int32_t Count = std::min(BlockLines, Height - First);
        tbb::parallel_for(0, Count, [&](int32_t K) {
            BgrRow(Picture, Height - 1 - (First + K), Out.data() + size_t{RowBytes} * K);
        });
        return size_t{RowBytes} * static_cast<size_t>(Count);
    };
    size_t ReadyBytes = Convert(0, Ready);
    for (int32_t First = BlockLines; ReadyBytes > 0; First += BlockLines) {
        size_t NextBytes = 0;
        tbb::task_group Converting;
        if (First < Height) {
            Converting.run([&] { NextBytes = Convert(First, Next); });
        }
        File.Write(Ready.data(), ReadyBytes);
        Converting.wait();
        std::swap(Ready, Next);
        ReadyBytes = NextBytes;
    }
    File.Commit();
}

void WriteJpeg(const TBitmap& Picture, const std::string& Path) {
    WriteEncoded(Picture, Path, EncodeJpeg);
}

void WritePng(const TBitmap& Picture, const std::string& Path) {
    WriteEncoded(Picture, Path, EncodePng);
}

void WritePicture(const TBitmap& Picture, const std::string& Path) {
    const std::string Ext = UpperAscii(std::filesystem::path(Path).extension().string());
    if (Ext == ".BMP") {
        WriteBmp(Picture, Path);
    } else if (Ext == ".JPG" || Ext == ".JPEG") {
        WriteJpeg(Picture, Path);
    } else if (Ext == ".PNG") {
        WritePng(Picture, Path);
    } else {
        throw Placed(ETalvoError(Text(TText::PictureExtension)), Path);
    }
}

} // namespace talvo
