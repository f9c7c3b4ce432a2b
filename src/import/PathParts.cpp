#include "import/PathParts.h"

#include "platform/AsciiCase.h"

namespace talvo {

std::string_view FileNameOf(std::string_view Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string_view::npos ? Path : Path.substr(Slash + 1);
}

std::string UpperExtensionOf(std::string_view Path) {
    const std::string_view FileName = FileNameOf(Path);
    const size_t Dot = FileName.find_last_of('.');
    return Dot == std::string_view::npos ? "" : UpperAscii(FileName.substr(Dot));
}

std::string WithoutExtension(const std::string& Path) {
    return Path.substr(0, Path.size() >= 4 ? Path.size() - 4 : 0);
}

} // namespace talvo
