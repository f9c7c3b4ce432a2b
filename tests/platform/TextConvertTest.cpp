#include "platform/TextConvert.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"

namespace talvo {
namespace {

std::string ConvertMessage(std::string_view Text, bool Real) {
    try {
        Real ? static_cast<void>(StrToFloat(Text)) : static_cast<void>(StrToInt(Text));
    } catch (const EConvertError& Error) {
        return Error.what();
    }
    return "";
}

TEST(StrToInt, AcceptsLeadingBlanksAndOneSign) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("  123"), 123);
    EXPECT_EQ(StrToInt("-42"), -42);
    EXPECT_EQ(StrToInt(" +7"), 7);
    EXPECT_EQ(StrToInt("  -0"), 0);
    EXPECT_EQ(StrToInt("37760"), 37760);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToInt, RefusesEverythingElseWithTheFieldText) {
    for (const char* Bad : {"", "   ", "12 ", "1 2", "+", "-", "--1", "0x10", "1.0", "\t5",
                            "2147483648", "-2147483649", "99999999999999999999"}) {
        EXPECT_EQ(ConvertMessage(Bad, false), std::string("'") + Bad + "' は整数ではありません")
            << Bad;
    }
    EXPECT_EQ(ConvertMessage("\x83\x54", false), "'サ' は整数ではありません");
}

TEST(StrToFloat, ReadsDecimalNumbers) {
    EXPECT_DOUBLE_EQ(StrToFloat("035.3000"), 35.3);
    EXPECT_DOUBLE_EQ(StrToFloat("-84.1949"), -84.1949);
    EXPECT_DOUBLE_EQ(StrToFloat(" +5. "), 5.0);
    EXPECT_DOUBLE_EQ(StrToFloat(".25"), 0.25);
    EXPECT_DOUBLE_EQ(StrToFloat("1.3950000E+02"), 139.5);
    EXPECT_DOUBLE_EQ(StrToFloat("8e-3"), 0.008);
}

TEST(StrToFloat, RefusesWhatIsNoNumber) {
    for (const char* Bad : {"", ".", "-.", "  ", "3 5.1", "035.30 0", "1e", "1e+", "inf", "nan",
                            "0x1p3", "1,5", "1e999", "12a"}) {
        EXPECT_EQ(ConvertMessage(Bad, true),
                  std::string("'") + Bad + "' は浮動小数点数ではありません")
            << Bad;
    }
}

} // namespace
} // namespace talvo
