#include "platform/ZeroedBlock.h"

#include <cstdlib>
#include <sys/mman.h>
#include <utility>

namespace talvo {

namespace {

constexpr size_t MappedFrom = size_t{4} << 20;

} // namespace

TZeroedBlock::TZeroedBlock(size_t Bytes) : FBytes(Bytes) {
    if (Bytes >= MappedFrom) {
        void* Block =
            mmap(nullptr, Bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (Block != MAP_FAILED) {
            madvise(Block, Bytes, MADV_HUGEPAGE); // a hint: refused where huge pages are off
            FData = Block;
            Mapped = true;
        }
        return;
    }
    FData = std::calloc(Bytes, 1);
}

TZeroedBlock::~TZeroedBlock() {
    Release();
}

TZeroedBlock::TZeroedBlock(TZeroedBlock&& Other) noexcept
    : FData(std::exchange(Other.FData, nullptr)), FBytes(std::exchange(Other.FBytes, 0)),
      Mapped(std::exchange(Other.Mapped, false)) {}

TZeroedBlock& TZeroedBlock::operator=(TZeroedBlock&& Other) noexcept {
    if (this != &Other) {
        Release();
        FData = std::exchange(Other.FData, nullptr);
        FBytes = std::exchange(Other.FBytes, 0);
        Mapped = std::exchange(Other.Mapped, false);
    }
    return *this;
}

void TZeroedBlock::Release() {
    if (Mapped) {
        munmap(FData, FBytes);
    } else {
        std::free(FData);
    }
    FData = nullptr;
    FBytes = 0;
    Mapped = false;
}

} // namespace talvo
