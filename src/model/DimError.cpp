#include "model/DimError.h"

#include <string>

namespace talvo {

void RaiseDimError(const char* Message) {
    throw EDimError(Message);
}

void RaiseIndexOverRange(int Which, int32_t Index) {
    throw EDimError(std::to_string(Which) + "-Index Is Over Range(" + std::to_string(Index) + ")");
}

} // namespace talvo
