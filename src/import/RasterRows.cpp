// Raster data files of Global Map and 30-second rasters: no header, Rows rows of Columns cells
// of BytesPerCell bytes from the first byte of the file, the northernmost row first and the
// westernmost cell first in each row. One-byte cells are class codes (0..255); two-byte cells are
// signed metres, least significant byte first unless the header said BYTEORDER M. A cell of the
// header's no-data value holds no data. Bytes after the last row are not read.

#include "import/RasterRows.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <vector>

#include "model/DimError.h"
#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

constexpr int64_t MaxGridBytes = INT32_MAX;
// A grid over this many cells (64 MiB of heights) is refused when its data file cannot fill
// even half of it: a short header must not take gigabytes for a few bytes of data.
constexpr int64_t LargeGridCells = (int64_t{64} << 20) / 4;
// Rows are read in blocks of about this many bytes, each decoded on every core.
constexpr size_t BlockBytes = size_t{4} << 20;

// Sizes come from a header anyone can write: refuse what cannot be held before allocating.
void CheckRasterSize(const TNum_HeaderRec& H) {
    if (H.BytesPerCell > 2) {
        throw ETalvoError(Text(TText::CellsTooWide, {std::to_string(H.BytesPerCell)}));
    }
    if (H.Rows < 1) {
        RaiseDimError(TText::InvalidIndex); // as the grid would, but blaming the header
    }
    if (static_cast<int64_t>(H.Rows) * H.Columns * 4 > MaxGridBytes) {
        throw ETalvoError(
            Text(TText::RasterTooLarge, {std::to_string(H.Columns), std::to_string(H.Rows)}));
    }
}

// The bytes Data holds; nothing for what is not a regular file (a pipe, a stream in memory).
std::optional<int64_t> FileBytes(std::FILE* Data) {
    struct stat Status {};
    if (::fstat(::fileno(Data), &Status) != 0 || !S_ISREG(Status.st_mode)) {
        return std::nullopt;
    }
    return Status.st_size;
}

void CheckDataFileSize(std::FILE* Data, const TNum_HeaderRec& H, int32_t RowBytes) {
    if (int64_t{H.Rows} * H.Columns <= LargeGridCells) {
        return;
    }
    const int64_t Declared = int64_t{RowBytes} * H.Rows;
    const std::optional<int64_t> Held = FileBytes(Data);
    if (Held && *Held < (Declared + 1) / 2) {
        throw EInOutError(Text(TText::ReadBeyondEnd));
    }
}

void StoreRows(const unsigned char* Block, size_t RowBytes, int32_t First, int32_t Count,
               TLoadedMap& Map) {
    tbb::parallel_for(
        tbb::blocked_range<int32_t>(0, Count, 64), [&](const tbb::blocked_range<int32_t>& Rows) {
            for (int32_t R = Rows.begin(); R != Rows.end(); ++R) {
                StoreRasterRow(Block + static_cast<size_t>(R) * RowBytes, First + R, Map);
            }
        });
}

} // namespace

TOpenOutcome ReadRasterFile(const std::string& HeaderPath, TLoadedMap& Map, TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    if (H.BytesPerCell < 1 || H.Columns < 1) {
        return TOpenOutcome::HeaderOnly;
    }
    try {
        CheckRasterSize(H);
    } catch (ETalvoError& Error) {
        Error.AddPlace(HeaderPath);
        throw;
    }
    errno = 0;
    TFileHandle Data(std::fopen(H.DataFileName.c_str(), "rb"));
    if (!Data) {
        throw Placed(InOutError(errno), H.DataFileName);
    }
    try {
        ReadRasterRows(Data.get(), Map, Progress);
    } catch (ETalvoError& Error) {
        Error.AddPlace(H.DataFileName);
        throw;
    }
    return TOpenOutcome::Loaded;
}

void ReadRasterRows(std::FILE* Data, TLoadedMap& Map, TProgress& Progress) {
    TNum_HeaderRec& H = Map.NumHeader;
    Map.RowsRead = 0;
    const int32_t DeclaredRowBytes = CheckedMul(H.BytesPerCell, H.Columns);
    CheckDataFileSize(Data, H, DeclaredRowBytes);
    Map.NumData.RowLineGrid.ReDim(1, H.Rows, false);
    Map.NumData.HeightGrid.ReDim(H.Rows, H.Columns, false);
    H.CellSpacing = 10000;

    const auto RowBytes = static_cast<size_t>(DeclaredRowBytes);
    const auto BlockRows =
        static_cast<int32_t>(std::clamp<size_t>(BlockBytes / RowBytes, 1, size_t(H.Rows)));
    std::vector<unsigned char> Block(RowBytes * static_cast<size_t>(BlockRows));
    Progress.Start(H.Rows);
    while (Map.RowsRead < H.Rows) {
        Progress.StopIfCancelled();
        const int32_t Wanted = std::min(BlockRows, H.Rows - Map.RowsRead);
        const size_t Got =
            std::fread(Block.data(), 1, RowBytes * static_cast<size_t>(Wanted), Data);
        // RowsRead counts the rows stored: a short file leaves it at the rows that arrived whole.
        const auto Whole = static_cast<int32_t>(Got / RowBytes);
        StoreRows(Block.data(), RowBytes, Map.RowsRead, Whole, Map);
        Map.RowsRead += Whole;
        Progress.Advance(Whole);
        if (Whole < Wanted) {
            if (std::ferror(Data)) {
                throw InOutError(errno);
            }
            throw EInOutError(Text(TText::ReadBeyondEnd));
        }
    }
}

void StoreRasterRow(const unsigned char* Cells, int32_t Row, TLoadedMap& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    Map.NumData.RowLineGrid.SetVal(0, Row, Row + 1);
    int32_t* Heights = HeightRow(Map, Row);
    // No stored cell holds INT32_MIN: without a no-data value none is marked.
    const int32_t NoData = H.NoDataValue.value_or(INT32_MIN);
    if (H.BytesPerCell == 1) {
        for (int32_t C = 0; C < H.Columns; ++C) {
            Heights[C] = Cells[C] == NoData ? MarkedNoDataHeight : Cells[C];
        }
        return;
    }
    // Signed 16-bit metres, stored in tenths of a metre; 32-bit cells hold every product.
    const int High = H.BigEndian ? 0 : 1;
    for (int32_t C = 0; C < H.Columns; ++C) {
        const unsigned char* Cell = Cells + 2 * static_cast<size_t>(C);
        auto Metres = static_cast<int16_t>(Cell[High] << 8 | Cell[1 - High]);
        Heights[C] = Metres == NoData ? MarkedNoDataHeight : Metres * 10;
    }
}

} // namespace talvo
