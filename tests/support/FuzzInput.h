#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace talvo::test {

// Runs Read on the fuzzer's bytes as a text file; the program's own errors are expected
// outcomes, anything else reaches the fuzzer.
template <typename TRead> int ReadAsTextFile(const uint8_t* Data, size_t Size, TRead Read) {
    std::string Bytes(reinterpret_cast<const char*>(Data), Size);
    std::FILE* Stream = fmemopen(Bytes.data(), Bytes.size(), "rb");
    if (!Stream) {
        return 0;
    }
    try {
        TTextFile File(Stream, "fuzz input");
        Read(File);
    } catch (const ETalvoError&) {
    }
    return 0;
}

} // namespace talvo::test
