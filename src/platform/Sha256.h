#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

// SHA-256 (FIPS 180-4) of bytes given in pieces: what a manifest stores to tell an output that
// changed after it was written.
class TSha256 {
  public:
    TSha256();
    void Add(const void* Bytes, size_t Count);
    // The digest as 64 lower-case hexadecimal digits; the hash takes no more bytes after it.
    std::string HexDigest();

  private:
    void Compress(const uint8_t* Block);

    std::array<uint32_t, 8> State;
    std::array<uint8_t, 64> Block{};
    size_t Filled = 0;
    uint64_t Length = 0; // bytes added
};

std::string Sha256Hex(std::string_view Bytes);

// The SHA-256 of the file at Path, read in pieces; raises naming the file when it cannot be read.
std::string FileSha256Hex(const std::string& Path);

} // namespace talvo
