#include "platform/Sha256.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <openssl/evp.h>
#include <unistd.h>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileErrors.h"

namespace talvo {

namespace {

// The hash could not be made: only a libcrypto without SHA-256 or out of memory does this.
[[noreturn]] void HashFailed() {
    throw std::bad_alloc();
}

} // namespace

void TSha256::TContextFree::operator()(evp_md_ctx_st* Context) const {
    EVP_MD_CTX_free(Context);
}

TSha256::TSha256() : Context(EVP_MD_CTX_new()) {
    if (!Context || EVP_DigestInit_ex(Context.get(), EVP_sha256(), nullptr) != 1) {
        HashFailed();
    }
}

void TSha256::Add(const void* Bytes, size_t Count) {
    if (EVP_DigestUpdate(Context.get(), Bytes, Count) != 1) {
        HashFailed();
    }
}

std::string TSha256::HexDigest() {
    unsigned char Digest[EVP_MAX_MD_SIZE];
    unsigned int Size = 0;
    if (EVP_DigestFinal_ex(Context.get(), Digest, &Size) != 1) {
        HashFailed();
    }
    static constexpr char Digits[] = "0123456789abcdef";
    std::string Hex;
    for (unsigned int At = 0; At < Size; ++At) {
        Hex += Digits[Digest[At] >> 4];
        Hex += Digits[Digest[At] & 0xF];
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
