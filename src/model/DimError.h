#pragma once

#include <cstdint>

#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

// Misuse of a grid container; the message is one of the fixed English texts of the grids.
class EDimError : public ETalvoError {
  public:
    using ETalvoError::ETalvoError;
};

[[noreturn]] void RaiseDimError(TText Message);
// "%d-Index Is Over Range(%d)": Which is 1 for the row index, 2 for the column index.
[[noreturn]] void RaiseIndexOverRange(int Which, int32_t Index);

} // namespace talvo
