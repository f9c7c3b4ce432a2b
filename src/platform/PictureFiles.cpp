#include "platform/PictureFiles.h"

#include <algorithm>
#include <bit>
#include <cerrno>
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
#include "platform/PngStrips.h"

namespace talvo {

namespace {

// Count pixels of row Y from column First as blue, green, red bytes: a bitmap file's order.
void BgrPixels(const TBitmap& Picture, int32_t Y, int64_t First, int64_t Count,
               unsigned char* Out) {
    const int32_t* Pixels = Picture.Row(Y);
    for (int64_t X = First; X < First + Count; ++X) {
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 16);
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 8);
        *Out++ = static_cast<unsigned char>(Pixels[X]);
    }
}

constexpr int64_t BmpBlockBytes = int64_t{4} << 20;
// PNG rows longer than this are written unfiltered.
constexpr int64_t PngFilteredRowBytes = int64_t{16} << 20;
static_assert(std::endian::native == std::endian::little, "pixels are read as bytes");

// 65500 → "65,500".
std::string GroupedThousands(int64_t Value) {
    const std::string Digits = std::to_string(Value);
    std::string Grouped;
    for (size_t I = 0; I < Digits.size(); ++I) {
        if (I > 0 && (Digits.size() - I) % 3 == 0) {
            Grouped += ',';
        }
        Grouped += Digits[I];
    }
    return Grouped;
}

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

// The libraries' own warnings would reach the terminal in their words: a failure is told by the
// writer instead.
void JpegQuiet(j_common_ptr, int) {}

void PngQuiet(png_structp, png_const_charp) {}

[[noreturn]] void PngErrorExit(png_structp Png, png_const_charp) {
    png_longjmp(Png, 1);
}

bool EncodeJpeg(std::FILE* File, const TBitmap& Picture, unsigned char* Row) {
    jpeg_compress_struct Info;
    TJpegError Error;
    Info.err = jpeg_std_error(&Error.Manager);
    Error.Manager.error_exit = JpegErrorExit;
    Error.Manager.emit_message = JpegQuiet;
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

// Rows up to PngFilteredRowBytes are filtered and compressed on every core. Longer ones go
// unfiltered to libpng, which drops every fourth byte (0x00BBGGRR in memory is red, green, blue
// and a filler): no row is copied, and a picture a few pixels high but a hundred million wide
// needs no row of its own.
bool EncodePng(std::FILE* File, const TBitmap& Picture, unsigned char*) {
    if (int64_t{Picture.Width()} * 3 <= PngFilteredRowBytes) {
        return WritePngStrips(File, Picture);
    }
    png_structp Png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorExit, PngQuiet);
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
    // PNG holds 2^31 - 1 pixels a side; libpng stops at a million unless told.
    png_set_user_limits(Png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Picture.Width()),
                 static_cast<png_uint_32>(Picture.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // The adaptive filters would keep three more rows of their own.
    png_set_filter(Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(Png, Info);
    png_set_filler(Png, 0, PNG_FILLER_AFTER);
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        png_write_row(Png, reinterpret_cast<png_const_bytep>(Picture.Row(Y)));
    }
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    return true;
}

// Writes through a library encoder that takes the file and a buffer of RowBytes for one row.
void WriteEncoded(const TBitmap& Picture, const std::string& Path,
                  bool (*Encode)(std::FILE*, const TBitmap&, unsigned char*), size_t RowBytes) {
    TAtomicFile File(Path);
    std::vector<unsigned char> Row(RowBytes);
    errno = 0; // what a failed write of the encoder leaves is the reason told
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

    // Lines go bottom-up in blocks: while one block is written, the next is converted. A line
    // longer than a block goes in blocks of its own pieces.
    const int64_t Width = Picture.Width();
    const int32_t Height = Picture.Height();
    const int64_t PiecePixels = BmpBlockBytes / 3;
    const int64_t Pieces = std::max<int64_t>(1, (Width + PiecePixels - 1) / PiecePixels);
    const auto BlockLines = static_cast<int32_t>(
        Pieces > 1 ? 1 : std::clamp<int64_t>(BmpBlockBytes / RowBytes, 1, std::max(Height, 1)));
    const int64_t Blocks = Pieces > 1 ? Height * Pieces : (Height + BlockLines - 1) / BlockLines;
    std::vector<unsigned char> Ready(
        static_cast<size_t>(std::min<int64_t>(int64_t{RowBytes} * BlockLines, BmpBlockBytes + 3)));
    std::vector<unsigned char> Next(Ready.size());
    // The bytes of Block in Out; their count.
    auto Convert = [&](int64_t Block, std::vector<unsigned char>& Out) -> size_t {
        if (Pieces > 1) {
            const auto Y = static_cast<int32_t>(Height - 1 - Block / Pieces);
            const int64_t First = Block % Pieces * PiecePixels;
            const int64_t Count = std::min(PiecePixels, Width - First);
            BgrPixels(Picture, Y, First, Count, Out.data());
            const size_t Padding = First + Count == Width ? RowBytes - Width * 3 : 0;
            std::fill_n(Out.data() + Count * 3, Padding, 0);
            return static_cast<size_t>(Count * 3) + Padding;
        }
        const auto First = static_cast<int32_t>(Block * BlockLines);
        const int32_t Count = std::min(BlockLines, Height - First);
        tbb::parallel_for(0, Count, [&](int32_t K) {
            BgrPixels(Picture, Height - 1 - (First + K), 0, Width,
                      Out.data() + size_t{RowBytes} * static_cast<size_t>(K));
        });
        return size_t{RowBytes} * static_cast<size_t>(Count);
    };
    size_t ReadyBytes = Blocks > 0 ? Convert(0, Ready) : 0;
    for (int64_t Block = 1; ReadyBytes > 0; ++Block) {
        size_t NextBytes = 0;
        tbb::task_group Converting;
        if (Block < Blocks) {
            Converting.run([&] { NextBytes = Convert(Block, Next); });
        }
        File.Write(Ready.data(), ReadyBytes);
        Converting.wait();
        std::swap(Ready, Next);
        ReadyBytes = NextBytes;
    }
    File.Commit();
}

void WriteJpeg(const TBitmap& Picture, const std::string& Path) {
    WriteEncoded(Picture, Path, EncodeJpeg, static_cast<size_t>(Picture.Width()) * 3);
}

void WritePng(const TBitmap& Picture, const std::string& Path) {
    WriteEncoded(Picture, Path, EncodePng, 0);
}

void CheckPictureSize(const std::string& Path, int64_t Width, int64_t Height) {
    const std::string Ext = UpperAscii(std::filesystem::path(Path).extension().string());
    if (Ext != ".BMP" && Ext != ".JPG" && Ext != ".JPEG" && Ext != ".PNG" && Ext != ".TIF" &&
        Ext != ".TIFF") {
        throw Placed(ETalvoError(Text(TText::PictureExtension)), Path);
    }
    // BMP, PNG and GeoTIFF hold any picture a map gives (at most 536,870,911 pixels); JPEG does
    // not.
    if ((Ext == ".JPG" || Ext == ".JPEG") && std::max(Width, Height) > JPEG_MAX_DIMENSION) {
        throw ETalvoError(
            Text(TText::PictureSideLimit, {"JPEG", GroupedThousands(JPEG_MAX_DIMENSION),
                                           GroupedThousands(Width), GroupedThousands(Height)}));
    }
}

bool IsGeoTiffPath(const std::string& Path) {
    const std::string Ext = UpperAscii(std::filesystem::path(Path).extension().string());
    return Ext == ".TIF" || Ext == ".TIFF";
}

void WritePicture(const TBitmap& Picture, const std::string& Path) {
    CheckPictureSize(Path, Picture.Width(), Picture.Height());
    const std::string Ext = UpperAscii(std::filesystem::path(Path).extension().string());
    if (Ext == ".BMP") {
        WriteBmp(Picture, Path);
    } else if (Ext == ".JPG" || Ext == ".JPEG") {
        WriteJpeg(Picture, Path);
    } else if (Ext == ".PNG") {
        WritePng(Picture, Path);
    } else {
        // A GeoTIFF carries its map's georeference: the document writes it.
        throw Placed(ETalvoError(Text(TText::PictureExtension)), Path);
    }
}

bool PngDecodesWhole(const std::string& Path, int64_t Width, int64_t Height) {
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&Image, Path.c_str()) == 0) {
        return false;
    }
    if (Image.width != Width || Image.height != Height) {
        png_image_free(&Image);
        return false;
    }
    Image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> Pixels(PNG_IMAGE_SIZE(Image));
    return png_image_finish_read(&Image, nullptr, Pixels.data(), 0, nullptr) != 0;
}

} // namespace talvo
