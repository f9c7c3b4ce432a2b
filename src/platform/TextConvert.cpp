#include "platform/TextConvert.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

[[noreturn]] void RaiseConvert(std::string_view Value, TText What) {
    throw EConvertError(Text(What, {Printable(Cp932ToUtf8(Value))}));
}

[[noreturn]] void RaiseNotInteger(std::string_view Text) {
    RaiseConvert(Text, TText::NotAnInteger);
}

[[noreturn]] void RaiseNotReal(std::string_view Text) {
    RaiseConvert(Text, TText::NotAReal);
}

size_t SkipDigits(std::string_view Text, size_t Pos) {
    while (Pos < Text.size() && IsDigit(Text[Pos])) {
        ++Pos;
    }
    return Pos;
}

} // namespace

int32_t StrToInt(std::string_view Text) {
    int32_t Value = 0;
    if (!TryStrToInt(Text, Value)) {
        RaiseNotInteger(Text);
    }
    return Value;
}

bool TryStrToInt(std::string_view Text, int32_t& Result) {
    size_t Pos = 0;
    while (Pos < Text.size() && Text[Pos] == ' ') {
        ++Pos;
    }
    bool Negative = false;
    if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-')) {
        Negative = Text[Pos] == '-';
        ++Pos;
    }
    if (Pos == Text.size()) {
        return false;
    }
    // Accumulate toward the negative side so that -2147483648 fits.
    int32_t Value = 0;
    for (; Pos < Text.size(); ++Pos) {
        char C = Text[Pos];
        if (!IsDigit(C) || __builtin_mul_overflow(Value, 10, &Value) ||
            __builtin_sub_overflow(Value, C - '0', &Value)) {
            return false;
        }
    }
    if (!Negative && __builtin_mul_overflow(Value, -1, &Value)) {
        return false;
    }
    Result = Value;
    return true;
}

bool TryHexToInt(std::string_view Text, int32_t& Result) {
    if (Text.empty()) {
        return false;
    }
    uint32_t Value = 0;
    for (char C : Text) {
        uint32_t Digit;
        if (IsDigit(C)) {
            Digit = static_cast<uint32_t>(C - '0');
        } else if (C >= 'A' && C <= 'F') {
            Digit = static_cast<uint32_t>(C - 'A' + 10);
        } else if (C >= 'a' && C <= 'f') {
            Digit = static_cast<uint32_t>(C - 'a' + 10);
        } else {
            return false;
        }
        if (Value > 0x0FFFFFFFu) {
            return false; // more than 32 bits
        }
        Value = Value << 4 | Digit;
    }
    Result = static_cast<int32_t>(Value);
    return true;
}

double StrToFloat(std::string_view Text) {
    size_t Begin = 0;
    while (Begin < Text.size() && Text[Begin] == ' ') {
        ++Begin;
    }
    size_t End = Text.size();
    while (End > Begin && Text[End - 1] == ' ') {
        --End;
    }
    std::string_view Number = Text.substr(Begin, End - Begin);

    // Check the whole grammar here: from_chars alone would accept "inf", "nan" and a
    // number followed by anything.
    size_t Pos = 0;
    if (Pos < Number.size() && (Number[Pos] == '+' || Number[Pos] == '-')) {
        ++Pos;
    }
    size_t IntEnd = SkipDigits(Number, Pos);
    size_t FracEnd = IntEnd;
    if (FracEnd < Number.size() && Number[FracEnd] == '.') {
        FracEnd = SkipDigits(Number, FracEnd + 1);
    }
    size_t MantissaDigits = (IntEnd - Pos) + (FracEnd > IntEnd ? FracEnd - IntEnd - 1 : 0);
    if (MantissaDigits == 0) {
        RaiseNotReal(Text);
    }
    size_t ExpEnd = FracEnd;
    if (ExpEnd < Number.size() && (Number[ExpEnd] == 'e' || Number[ExpEnd] == 'E')) {
        size_t ExpDigits = ExpEnd + 1;
        if (ExpDigits < Number.size() && (Number[ExpDigits] == '+' || Number[ExpDigits] == '-')) {
            ++ExpDigits;
        }
        ExpEnd = SkipDigits(Number, ExpDigits);
        if (ExpEnd == ExpDigits) {
            RaiseNotReal(Text);
        }
    }
    if (ExpEnd != Number.size()) {
        RaiseNotReal(Text);
    }

    std::string_view Unsigned = Number[0] == '+' ? Number.substr(1) : Number;
    double Value = 0.0;
    auto [Ptr, Err] = std::from_chars(Unsigned.data(), Unsigned.data() + Unsigned.size(), Value);
    if (Err != std::errc() || Ptr != Unsigned.data() + Unsigned.size() || !std::isfinite(Value)) {
        RaiseNotReal(Text);
    }
    return Value;
}

namespace {

template <typename TReal> std::string Shortest(TReal Value) {
    char Text[64];
    return std::string(Text, std::to_chars(Text, Text + sizeof Text, Value).ptr);
}

} // namespace

std::string ShortestText(float Value) {
    return Shortest(Value);
}

std::string ShortestText(double Value) {
    return Shortest(Value);
}

} // namespace talvo
