// libFuzzer target: any bytes as a Global Map header.
#include "import/GlobalMapReader.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    talvo::TLoadedMap Map;
    return talvo::test::ReadAsTextFile(Data, Size,
                                       [&](talvo::TTextFile& File) { ReadGmpLines(File, Map); });
}
