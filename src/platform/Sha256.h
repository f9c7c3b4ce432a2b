#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace talvo {

// SHA-256 (FIPS 180-4) of bytes given in pieces: what a manifest stores to tell an output that
// changed after it was written. libcrypto's, which uses the processor's SHA instructions.
class TSha256 {
  public:
    TSha256();
    void Add(const void* Bytes, size_t Count);
    // The digest as 64 lower-case hexadecimal digits; the hash takes no more bytes after it.
    std::string HexDigest();

  private:
    struct TContextFree {
        void operator()(evp_md_ctx_st* Context) const;
    };
    std::unique_ptr<evp_md_ctx_st, TContextFree> Context;
};

std::string Sha256Hex(std::string_view Bytes);

// The SHA-256 of the file at Path, read in pieces; raises naming the file when it cannot be read.
std::string FileSha256Hex(const std::string& Path);

} // namespace talvo
