#include "support/PictureReaders.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <png.h>
#include <stdexcept>

namespace talvo::test {

namespace {

uint32_t Little(const std::string& Bytes, size_t At, int Count) {
    uint32_t Value = 0;
    for (int I = Count - 1; I >= 0; --I) {
        Value = Value << 8 | static_cast<unsigned char>(Bytes.at(At + static_cast<size_t>(I)));
    }
    return Value;
}

int32_t Pack(unsigned R, unsigned G, unsigned B) {
    return static_cast<int32_t>(B << 16 | G << 8 | R);
}

} // namespace

TDecoded ReadBmp24(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    if (Bytes.size() < 54 || Bytes[0] != 'B' || Bytes[1] != 'M' || Little(Bytes, 28, 2) != 24) {
        throw std::runtime_error(Path + " is no 24-bit BMP");
    }
    TDecoded Picture;
    Picture.Width = static_cast<int32_t>(Little(Bytes, 18, 4));
    Picture.Height = static_cast<int32_t>(Little(Bytes, 22, 4));
    const size_t Offset = Little(Bytes, 10, 4);
    const size_t RowBytes = (static_cast<size_t>(Picture.Width) * 3 + 3) & ~size_t{3};
    if (Little(Bytes, 2, 4) != Bytes.size() || Offset + RowBytes * Picture.Height != Bytes.size()) {
        throw std::runtime_error(Path + " has the wrong size");
    }
    Picture.Pixels.resize(static_cast<size_t>(Picture.Width) * Picture.Height);
    for (int32_t Y = 0; Y < Picture.Height; ++Y) {
        const size_t Row = Offset + RowBytes * static_cast<size_t>(Picture.Height - 1 - Y);
        for (int32_t X = 0; X < Picture.Width; ++X) {
            const size_t At = Row + 3 * static_cast<size_t>(X);
            Picture.Pixels[static_cast<size_t>(Y * Picture.Width + X)] = Pack(
                static_cast<unsigned char>(Bytes[At + 2]),
                static_cast<unsigned char>(Bytes[At + 1]), static_cast<unsigned char>(Bytes[At]));
        }
    }
    return Picture;
}

TDecoded ReadPng(const std::string& Path) {
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&Image, Path.c_str())) {
        throw std::runtime_error(Path + ": " + Image.message);
    }
    Image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> Rgb(PNG_IMAGE_SIZE(Image));
    if (!png_image_finish_read(&Image, nullptr, Rgb.data(), 0, nullptr)) {
        throw std::runtime_error(Path + ": " + Image.message);
    }
    TDecoded Picture{static_cast<int32_t>(Image.width), static_cast<int32_t>(Image.height), {}};
    for (size_t I = 0; I + 2 < Rgb.size(); I += 3) {
        Picture.Pixels.push_back(Pack(Rgb[I], Rgb[I + 1], Rgb[I + 2]));
    }
    return Picture;
}

TDecoded ReadJpeg(const std::string& Path) {
    std::FILE* File = std::fopen(Path.c_str(), "rb");
    if (!File) {
        throw std::runtime_error("cannot open " + Path);
    }
    jpeg_decompress_struct Info;
    jpeg_error_mgr Errors;
    Info.err = jpeg_std_error(&Errors); // a broken file ends the test process: fine here
    jpeg_create_decompress(&Info);
    jpeg_stdio_src(&Info, File);
    jpeg_read_header(&Info, TRUE);
    Info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&Info);
    TDecoded Picture{
        static_cast<int32_t>(Info.output_width), static_cast<int32_t>(Info.output_height), {}};
    std::vector<unsigned char> Row(Info.output_width * 3);
    while (Info.output_scanline < Info.output_height) {
        JSAMPROW Rows[1] = {Row.data()};
        jpeg_read_scanlines(&Info, Rows, 1);
        for (size_t I = 0; I + 2 < Row.size(); I += 3) {
            Picture.Pixels.push_back(Pack(Row[I], Row[I + 1], Row[I + 2]));
        }
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    std::fclose(File);
    return Picture;
}

} // namespace talvo::test
