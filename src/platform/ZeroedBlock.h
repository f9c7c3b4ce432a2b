#pragma once

#include <cstddef>

namespace talvo {

// A block of zero bytes. Blocks of megabytes (grids and pictures of large maps) come straight
// from the system in huge pages where it offers them, which spares tens of thousands of page
// faults per picture; small ones come from the heap.
class TZeroedBlock {
  public:
    TZeroedBlock() = default;
    // Nothing (Data() null) when the memory cannot be had.
    explicit TZeroedBlock(size_t Bytes);
    ~TZeroedBlock();
    TZeroedBlock(TZeroedBlock&& Other) noexcept;
    TZeroedBlock& operator=(TZeroedBlock&& Other) noexcept;
    TZeroedBlock(const TZeroedBlock&) = delete;
    TZeroedBlock& operator=(const TZeroedBlock&) = delete;

    void* Data() const { return FData; }

  private:
    void Release();

    void* FData = nullptr;
    size_t FBytes = 0;
    bool Mapped = false;
};

} // namespace talvo
