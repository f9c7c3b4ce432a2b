// libFuzzer target: any bytes as a numeric map file. Every outcome must be a clean load or a
// raised program error; sanitizers catch everything else.
#include "import/NumMapReader.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    talvo::TLoadedMap Map;
    talvo::InitLoadedMap(Map);
    talvo::TProgress Unwatched;
    return talvo::test::ReadAsTextFile(Data, Size, [&](talvo::TTextFile& File) {
        talvo::ReadNumMap(File, 500, Map, Unwatched);
        // Everything the reader claims to hold must be readable.
        for (int32_t R = 0; R < Map.RowsRead; ++R) {
            Map.NumData.RowLineGrid.GetVal(0, R);
            const int32_t* Cells = talvo::HeightRow(Map, R);
            for (int32_t C = 0; C < Map.NumHeader.Columns; ++C) {
                static_cast<void>(Cells[C]);
            }
        }
    });
}
