#include "app/RecentFiles.h"

#include <algorithm>
#include <filesystem>

namespace talvo {

namespace {

std::string KeyOf(size_t Index) {
    return "File" + std::to_string(Index + 1);
}

} // namespace

std::vector<std::string> StartRecentFiles(const TDocument& Document) {
    std::vector<std::string> Files;
    for (size_t Index = 0; Index < RecentFileCount; ++Index) {
        const std::string Path = Document.StartValue("Recent", KeyOf(Index));
        std::error_code Unknown;
        if (!Path.empty() && std::filesystem::exists(Path, Unknown) &&
            std::find(Files.begin(), Files.end(), Path) == Files.end()) {
            Files.push_back(Path);
        }
    }
    return Files;
}

std::vector<std::string> WithRecentFile(std::vector<std::string> Files, const std::string& Path) {
    std::erase(Files, Path);
    Files.insert(Files.begin(), Path);
    if (Files.size() > RecentFileCount) {
        Files.resize(RecentFileCount);
    }
    return Files;
}

std::vector<TExtraKey> RecentFileKeys(const std::vector<std::string>& Files) {
    std::vector<TExtraKey> Keys;
    for (size_t Index = 0; Index < RecentFileCount; ++Index) {
        Keys.push_back({"Recent", KeyOf(Index), Index < Files.size() ? Files[Index] : ""});
    }
    return Keys;
}

} // namespace talvo
