#pragma once

#include <string>
#include <string_view>

namespace talvo {

// Letter case of ASCII letters only: every other byte, Shift-JIS and UTF-8 included, is
// compared and kept as it is.

inline char LowerAscii(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C;
}

inline std::string UpperAscii(std::string_view Text) {
    std::string Upper(Text);
    for (char& C : Upper) {
        if (C >= 'a' && C <= 'z') {
            C = static_cast<char>(C - 32);
        }
    }
    return Upper;
}

inline bool SameTextIgnoringCase(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) {
        return false;
    }
    for (size_t I = 0; I < A.size(); ++I) {
        if (LowerAscii(A[I]) != LowerAscii(B[I])) {
            return false;
        }
    }
    return true;
}

} // namespace talvo
