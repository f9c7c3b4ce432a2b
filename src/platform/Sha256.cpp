#include "platform/Sha256.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileErrors.h"

namespace talvo {

namespace {

constexpr std::array<uint32_t, 64> RoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<uint32_t, 8> InitialState = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                  0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

} // namespace

TSha256::TSha256() : State(InitialState) {}

void TSha256::Compress(const uint8_t* Bytes) {
    std::array<uint32_t, 64> W;
    for (size_t I = 0; I < 16; ++I) {
        W[I] = uint32_t{Bytes[4 * I]} << 24 | uint32_t{Bytes[4 * I + 1]} << 16 |
               uint32_t{Bytes[4 * I + 2]} << 8 | uint32_t{Bytes[4 * I + 3]};
    }
    for (size_t I = 16; I < 64; ++I) {
        const uint32_t S0 = std::rotr(W[I - 15], 7) ^ std::rotr(W[I - 15], 18) ^ (W[I - 15] >> 3);
        const uint32_t S1 = std::rotr(W[I - 2], 17) ^ std::rotr(W[I - 2], 19) ^ (W[I - 2] >> 10);
        W[I] = W[I - 16] + S0 + W[I - 7] + S1;
    }
    auto [A, B, C, D, E, F, G, H] = State;
    for (size_t I = 0; I < 64; ++I) {
        const uint32_t S1 = std::rotr(E, 6) ^ std::rotr(E, 11) ^ std::rotr(E, 25);
        const uint32_t Choice = (E & F) ^ (~E & G);
        const uint32_t T1 = H + S1 + Choice + RoundConstants[I] + W[I];
        const uint32_t S0 = std::rotr(A, 2) ^ std::rotr(A, 13) ^ std::rotr(A, 22);
        const uint32_t Majority = (A & B) ^ (A & C) ^ (B & C);
        H = G;
        G = F;
        F = E;
        E = D + T1;
        D = C;
        C = B;
        B = A;
        A = T1 + S0 + Majority;
    }
    const std::array<uint32_t, 8> Added = {A, B, C, D, E, F, G, H};
    for (size_t I = 0; I < 8; ++I) {
        State[I] += Added[I];
    }
}

void TSha256::Add(const void* Bytes, size_t Count) {
    const auto* From = static_cast<const uint8_t*>(Bytes);
    Length += Count;
    while (Count > 0) {
        const size_t Taken = std::min(Count, Block.size() - Filled);
        std::memcpy(Block.data() + Filled, From, Taken);
        Filled += Taken;
        From += Taken;
        Count -= Taken;
        if (Filled == Block.size()) {
            Compress(Block.data());
            Filled = 0;
        }
    }
}

std::string TSha256::HexDigest() {
    const uint64_t Bits = Length * 8;
    const uint8_t One = 0x80;
    Add(&One, 1);
    const uint8_t Zero = 0;
    while (Filled != 56) {
        Add(&Zero, 1);
    }
    for (int Shift = 56; Shift >= 0; Shift -= 8) {
        const uint8_t Byte = static_cast<uint8_t>(Bits >> Shift);
        Add(&Byte, 1);
    }
    static constexpr char Digits[] = "0123456789abcdef";
    std::string Hex;
    for (const uint32_t Word : State) {
        for (int Shift = 28; Shift >= 0; Shift -= 4) {
            Hex += Digits[(Word >> Shift) & 0xF];
        }
    }
    return Hex;
}

std::string Sha256Hex(std::string_view Bytes) {
    TSha256 Hash;
    Hash.Add(Bytes.data(), Bytes.size());
    return Hash.HexDigest();
}

std::string FileSha256Hex(const std::string& Path) {
    const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) {
        throw Placed(InOutError(errno), Path);
    }
    TSha256 Hash;
    std::vector<char> Piece(1 << 20);
    while (true) {
        const ssize_t Got = ::read(Fd, Piece.data(), Piece.size());
        if (Got < 0 && errno == EINTR) {
            continue;
        }
        if (Got < 0) {
            const int Reason = errno;
            ::close(Fd);
            throw Placed(InOutError(Reason), Path);
        }
        if (Got == 0) {
            break;
        }
        Hash.Add(Piece.data(), static_cast<size_t>(Got));
    }
    ::close(Fd);
    return Hash.HexDigest();
}

} // namespace talvo
