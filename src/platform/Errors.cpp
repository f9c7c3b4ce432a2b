#include "platform/Errors.h"

#include "platform/FullPath.h"

namespace talvo {

void ETalvoError::AddPlace(const std::string& Path, int64_t Line) {
    if (HasPlace) {
        return;
    }
    HasPlace = true;
    FMessage += '\n' + FullPath(Path);
    if (Line > 0) {
        FMessage += ':' + std::to_string(Line);
    }
}

} // namespace talvo
