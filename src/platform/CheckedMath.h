#pragma once

#include "platform/Errors.h"

namespace talvo {

// Integer arithmetic never wraps: a result that does not fit raises EIntOverflow.
template <typename T> T CheckedAdd(T A, T B) {
    T Result;
    if (__builtin_add_overflow(A, B, &Result)) {
        throw EIntOverflow();
    }
    return Result;
}

template <typename T> T CheckedSub(T A, T B) {
    T Result;
    if (__builtin_sub_overflow(A, B, &Result)) {
        throw EIntOverflow();
    }
    return Result;
}

template <typename T> T CheckedMul(T A, T B) {
    T Result;
    if (__builtin_mul_overflow(A, B, &Result)) {
        throw EIntOverflow();
    }
    return Result;
}

} // namespace talvo
