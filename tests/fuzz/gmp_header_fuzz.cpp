// libFuzzer target: any bytes as a Global Map header.
#include <cstdint>
#include <cstdio>
#include <string>

#include "import/GlobalMapProc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::string Bytes(reinterpret_cast<const char*>(Data), Size);
    std::FILE* Stream = fmemopen(Bytes.data(), Bytes.size(), "rb");
    if (!Stream) {
        return 0;
    }
    talvo::MapState Map;
    try {
        talvo::TTextFile File(Stream);
        talvo::ReadGmpLines(File, Map);
    } catch (const talvo::ETalvoError&) {
    }
    return 0;
}
