#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talvo::test {

// A decoded picture: Width × Height colour values (red in bits 0-7), top row first.
struct TDecoded {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<int32_t> Pixels;
    int32_t At(int32_t X, int32_t Y) const { return Pixels[static_cast<size_t>(Y * Width + X)]; }
};

// Readers written for the tests, independent of the writers; they raise std::runtime_error.
TDecoded ReadBmp24(const std::string& Path);
TDecoded ReadPng(const std::string& Path);
TDecoded ReadJpeg(const std::string& Path);

} // namespace talvo::test
