#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "platform/Messages.h"

namespace talvo {

// Every error the program raises: the message is UTF-8 and is what the user reads,
// in the error box or on standard error.
class ETalvoError : public std::exception {
  public:
    explicit ETalvoError(std::string Message) : FMessage(std::move(Message)) {}

    const char* what() const noexcept override { return FMessage.c_str(); }

    // Names the file the error arose in, as every message about a file does: its full path on a
    // new line, with ":" and Line for a line of a text file (0: no line). Only the first place
    // counts: it is the innermost, nearest the cause.
    void AddPlace(const std::string& Path, int64_t Line = 0);

  private:
    std::string FMessage;
    bool HasPlace = false;
};

// Error with its place added, keeping its own type: throw Placed(EInOutError(...), Path).
template <typename TError> TError Placed(TError Error, const std::string& Path, int64_t Line = 0) {
    Error.AddPlace(Path, Line);
    return Error;
}

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

// Work given up because whoever waited for it cancelled it: nothing to report.
class ECancelled : public ETalvoError {
  public:
    ECancelled() : ETalvoError("cancelled") {}
};

// Integer arithmetic that would not fit its type.
class EIntOverflow : public ETalvoError {
  public:
    EIntOverflow() : ETalvoError(Text(TText::IntegerOverflow)) {}
};

} // namespace talvo
