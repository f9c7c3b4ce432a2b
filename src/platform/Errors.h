#pragma once

#include <stdexcept>
#include <string>

namespace talvo {

// Every error the program raises: the message is UTF-8 and is what the user reads,
// in the error box or on standard error.
class ETalvoError : public std::runtime_error {
  public:
    explicit ETalvoError(const std::string& Message) : std::runtime_error(Message) {}
};

// A text that is not a number of the kind asked for.
class EConvertError : public ETalvoError {
  public:
    using ETalvoError::ETalvoError;
};

// A file that cannot be opened, read or written.
class EInOutError : public ETalvoError {
  public:
    using ETalvoError::ETalvoError;
};

// Integer arithmetic that would not fit its type.
class EIntOverflow : public ETalvoError {
  public:
    EIntOverflow() : ETalvoError("整数オーバーフロー") {}
};

} // namespace talvo
