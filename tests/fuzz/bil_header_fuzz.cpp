// libFuzzer target: any bytes as a 30-second raster header.
#include "import/BilReader.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    talvo::TLoadedMap Map;
    return talvo::test::ReadAsTextFile(Data, Size,
                                       [&](talvo::TTextFile& File) { ReadBilLines(File, Map); });
}
