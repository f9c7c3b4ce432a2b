// Writing the picture of a 4800 × 6000 elevation raster (28.8 million pixels) as BMP, as PNG
// the way Talvo writes it, and as PNG the way libpng writes it by default (level 6, adaptive
// filters, one stream): the time of each and the size of the file ("bytes").
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <png.h>
#include <vector>

#include "TileMap.h"
#include "platform/PictureFiles.h"
#include "render/MapPicture.h"

namespace {

const talvo::TBitmap& TilePicture() {
    static const talvo::TBitmap Picture = [] {
        const talvo::TLoadedMap Map = BenchTileMap();
        const talvo::TViewSettings Settings = BenchTileSettings();
        talvo::THeightColourTable Table{};
        talvo::BuildHeightColourTable(Settings, Table);
        talvo::TProgress Progress;
        return std::move(*talvo::DrawMapPicture(Map, {}, Settings, Table, {}, Progress));
    }();
    return Picture;
}

std::string BenchPath(const char* Name) {
    return (std::filesystem::temp_directory_path() / Name).string();
}

using TWrite = void (*)(const talvo::TBitmap&, const std::string&);

void BM_WritePicture(benchmark::State& State, TWrite Write, const char* Name) {
    const talvo::TBitmap& Picture = TilePicture();
    const std::string Path = BenchPath(Name);
    for (auto _ : State) {
        Write(Picture, Path);
    }
    State.counters["bytes"] = static_cast<double>(std::filesystem::file_size(Path));
    std::filesystem::remove(Path);
}

void LibpngDefault(const talvo::TBitmap& Picture, const std::string& Path) {
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    Image.width = static_cast<png_uint_32>(Picture.Width());
    Image.height = static_cast<png_uint_32>(Picture.Height());
    Image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> Rgb(static_cast<size_t>(Picture.Width()) * 3 *
                              static_cast<size_t>(Picture.Height()));
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        const int32_t* Row = Picture.Row(Y);
        png_byte* Out = Rgb.data() + static_cast<size_t>(Y) * Picture.Width() * 3;
        for (int32_t X = 0; X < Picture.Width(); ++X) {
            Out[3 * X] = static_cast<png_byte>(Row[X]);
            Out[3 * X + 1] = static_cast<png_byte>(Row[X] >> 8);
            Out[3 * X + 2] = static_cast<png_byte>(Row[X] >> 16);
        }
    }
    png_image_write_to_file(&Image, Path.c_str(), 0, Rgb.data(), 0, nullptr);
}

BENCHMARK_CAPTURE(BM_WritePicture, bmp, talvo::WriteBmp, "talvo_bench.bmp")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WritePicture, png, talvo::WritePng, "talvo_bench.png")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WritePicture, png_libpng_default, LibpngDefault, "talvo_bench_libpng.png")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
