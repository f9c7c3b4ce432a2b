// libFuzzer target: any bytes as an FG-GML DEM document, its structure and then its tuple list.
// Grids beyond a million cells are only described: the reader checks that they fit a map, and
// filling one would spend the fuzzer's time on memory.
#include <cstdint>
#include <string_view>
#include <vector>

#include "import/FgGmlReader.h"
#include "import/FgGmlTuples.h"
#include "platform/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string_view Bytes(reinterpret_cast<const char*>(Data), Size);
    try {
        const talvo::TFgGmlTile Tile = talvo::ReadFgGmlTile(Bytes, "fuzz.xml");
        const int64_t Cells = int64_t{Tile.Cols} * Tile.Rows;
        if (Cells <= (1 << 20)) {
            std::vector<int32_t> Grid(static_cast<size_t>(Cells));
            talvo::ReadFgGmlTuples(Tile, Bytes, "fuzz.xml", Grid.data());
        }
    } catch (const talvo::ETalvoError&) {
    }
    return 0;
}
