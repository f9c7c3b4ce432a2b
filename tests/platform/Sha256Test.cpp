#include "platform/Sha256.h"

#include <gtest/gtest.h>
#include <string>

namespace talvo {
namespace {

// The examples of FIPS 180-4 and NIST's short and long messages, whole and fed in uneven pieces
// that cross the 64-byte blocks and the padding's boundary.
TEST(Sha256, NistVectors) {
    const struct {
        std::string Message;
        const char* Digest;
    } Cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
         "lmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& Case : Cases) {
        EXPECT_EQ(Sha256Hex(Case.Message), Case.Digest) << Case.Message.size() << " bytes";
        TSha256 Pieces;
        for (size_t At = 0, Step = 1; At < Case.Message.size(); At += Step, Step = Step * 2 + 1) {
            const size_t Count = std::min(Step, Case.Message.size() - At);
            Pieces.Add(Case.Message.data() + At, Count);
        }
        EXPECT_EQ(Pieces.HexDigest(), Case.Digest) << Case.Message.size() << " bytes in pieces";
    }
}

} // namespace
} // namespace talvo
