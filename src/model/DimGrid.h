#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "model/DimError.h"
#include "platform/CheckedMath.h"
#include "platform/ZeroedBlock.h"

namespace talvo {

// A dense row-major matrix of T in one zero-filled block, dimensioned after construction.
// The shared body of TDelDim, TSDelDim and TVertexGrid.
template <typename T> class TDimGrid {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= 127);

  public:
    TDimGrid() = default;
    TDimGrid(const TDimGrid&) = delete;
    TDimGrid& operator=(const TDimGrid&) = delete;
    // A map that a reader returns moves into place; its cells are never copied.
    TDimGrid(TDimGrid&& Other) noexcept { *this = std::move(Other); }
    TDimGrid& operator=(TDimGrid&& Other) noexcept {
        FElemSize = std::exchange(Other.FElemSize, int8_t{0});
        FRows = std::exchange(Other.FRows, 0);
        FCols = std::exchange(Other.FCols, 0);
        FData = std::move(Other.FData);
        FMaxRow = std::exchange(Other.FMaxRow, 0u);
        FMaxCol = std::exchange(Other.FMaxCol, 0u);
        return *this;
    }

    // Empty grid → Rows × Cols zeros.
    void SetDim(int32_t Rows, int32_t Cols) {
        if (FRows != 0 || FCols != 0) {
            RaiseDimError(TText::DimensionExists);
        }
        if (Rows < 1 || Cols < 1) {
            RaiseDimError(TText::InvalidIndex);
        }
        FElemSize = static_cast<int8_t>(sizeof(T));
        Adopt(Allocate(Rows, Cols, FElemSize), Rows, Cols);
    }

    // New dimensions; with Keep the cells where old and new overlap survive, others are 0.
    void ReDim(int32_t Rows, int32_t Cols, bool Keep) {
        if (Rows < 1 || Cols < 1) {
            RaiseDimError(TText::InvalidIndex);
        }
        if (!Keep) {
            ClearDim();
            SetDim(Rows, Cols);
            return;
        }
        TBlock Block = Allocate(Rows, Cols, FElemSize);
        int32_t CopyRows = std::min(Rows, FRows);
        int32_t CopyCols = std::min(Cols, FCols);
        for (int32_t R = 0; R < CopyRows; ++R) {
            std::memcpy(static_cast<T*>(Block.Data()) +
                            static_cast<size_t>(R) * static_cast<size_t>(Cols),
                        Cells() + static_cast<size_t>(R) * static_cast<size_t>(FCols),
                        static_cast<size_t>(CopyCols) * sizeof(T));
        }
        Adopt(std::move(Block), Rows, Cols);
    }

    void ClearDim() {
        FData = TBlock();
        FElemSize = 0;
        FRows = FCols = 0;
        FMaxRow = FMaxCol = 0;
    }

    T GetVal(int32_t Row, int32_t Col) const { return Cells()[Offset(Row, Col)]; }
    void SetVal(int32_t Row, int32_t Col, T Value) { Cells()[Offset(Row, Col)] = Value; }

    // Row Row's Cols cells, for loops that visit a whole row: the row is checked once here
    // instead of every cell in GetVal/SetVal.
    T* RowData(int32_t Row) { return Cells() + Offset(Row, 0); }
    const T* RowData(int32_t Row) const { return Cells() + Offset(Row, 0); }

    int8_t ElemSize() const { return FElemSize; }
    int32_t Rows() const { return FRows; }
    int32_t Cols() const { return FCols; }
    uint32_t MaxRow() const { return FMaxRow; }
    uint32_t MaxCol() const { return FMaxCol; }

  private:
    using TBlock = TZeroedBlock;

    static TBlock Allocate(int32_t Rows, int32_t Cols, int8_t ElemSize) {
        int32_t Bytes = CheckedMul(CheckedMul(Rows, int32_t{ElemSize}), Cols);
        // Zero bytes means an empty grid asked to keep its contents: there is nothing to keep.
        TBlock Block = Bytes == 0 ? TBlock() : TBlock(static_cast<size_t>(Bytes));
        if (!Block.Data()) {
            RaiseDimError(TText::AllocationFailed);
        }
        return Block;
    }

    T* Cells() const { return static_cast<T*>(FData.Data()); }

    void Adopt(TBlock Block, int32_t Rows, int32_t Cols) {
        FData = std::move(Block);
        FRows = Rows;
        FCols = Cols;
        FMaxRow = static_cast<uint32_t>(Rows - 1);
        FMaxCol = static_cast<uint32_t>(Cols - 1);
    }

    // Comparing against the counts rather than MaxRow/MaxCol gives the same answer on a
    // dimensioned grid and refuses every index on an empty one, without touching memory.
    size_t Offset(int32_t Row, int32_t Col) const {
        if (static_cast<uint32_t>(Row) >= static_cast<uint32_t>(FRows)) {
            RaiseIndexOverRange(1, Row);
        }
        if (static_cast<uint32_t>(Col) >= static_cast<uint32_t>(FCols)) {
            RaiseIndexOverRange(2, Col);
        }
        return static_cast<size_t>(Row) * static_cast<size_t>(FCols) + static_cast<size_t>(Col);
    }

    int8_t FElemSize = 0;
    int32_t FRows = 0;
    int32_t FCols = 0;
    TBlock FData;
    uint32_t FMaxRow = 0;
    uint32_t FMaxCol = 0;
};

// A grid of signed 32-bit cells.
class TDelDim : public TDimGrid<int32_t> {};

// A grid of signed 16-bit cells. A wider value written to it keeps only its low 16 bits.
class TSDelDim : public TDimGrid<int16_t> {
  public:
    void SetVal(int32_t Row, int32_t Col, int32_t Value) {
        TDimGrid::SetVal(Row, Col, static_cast<int16_t>(Value));
    }
};

// A 3-D vector in the layout of the 3D renderer: x, y, z in that order.
struct TVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A grid of 3-D vectors; an unwritten cell is the zero vector.
class TVertexGrid : public TDimGrid<TVertex> {};

} // namespace talvo
