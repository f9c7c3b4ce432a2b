#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(Cp932, ConvertsShiftJisAndMarksBrokenBytes) {
    EXPECT_EQ(Cp932ToUtf8("Map 1"), "Map 1");
    EXPECT_EQ(Cp932ToUtf8("\x83\x57\x83\x83\x83\x62\x83\x4e"), "ジャック");
    EXPECT_EQ(Cp932ToUtf8("\xB1\xB2"), "ｱｲ"); // half-width katakana are single bytes
    EXPECT_EQ(Cp932ToUtf8("\x87\x40"), "①");  // a CP932 extension beyond plain Shift-JIS
    // A field cut in the middle of a double-byte character.
    EXPECT_EQ(Cp932ToUtf8("ab\x83"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(Cp932ToUtf8("\x83\x20x"), "\xEF\xBF\xBD x");
}

} // namespace
} // namespace talvo
