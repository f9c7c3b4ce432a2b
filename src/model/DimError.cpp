#include "model/DimError.h"

#include <string>

#include "platform/Messages.h"

namespace talvo {

void RaiseDimError(TText Message) {
    throw EDimError(Text(Message));
}

void RaiseIndexOverRange(int Which, int32_t Index) {
    throw EDimError(Text(TText::IndexOverRange, {std::to_string(Which), std::to_string(Index)}));
}

} // namespace talvo
