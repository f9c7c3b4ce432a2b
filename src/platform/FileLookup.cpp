#include "platform/FileLookup.h"

#include <filesystem>
#include <set>

#include "platform/AsciiCase.h"

namespace talvo {

namespace {

bool IsFile(const std::filesystem::path& Path) {
    std::error_code Error;
    auto Status = std::filesystem::status(Path, Error);
    return !Error && std::filesystem::exists(Status) && !std::filesystem::is_directory(Status);
}

} // namespace

std::optional<std::string> FindFileIgnoringCase(const std::string& Path) {
    const std::filesystem::path Wanted(Path);
    if (IsFile(Wanted)) {
        return Path;
    }
    const std::string Name = Wanted.filename().string();
    std::filesystem::path Folder = Wanted.parent_path();
    if (Folder.empty()) {
        Folder = ".";
    }
    std::set<std::string> Matches;
    std::error_code Error;
    for (std::filesystem::directory_iterator Entry(Folder, Error), End; !Error && Entry != End;
         Entry.increment(Error)) {
        std::string Candidate = Entry->path().filename().string();
        if (SameTextIgnoringCase(Candidate, Name) && IsFile(Entry->path())) {
            Matches.insert(Candidate);
        }
    }
    if (Matches.empty()) {
        return std::nullopt;
    }
    return (Wanted.parent_path() / *Matches.begin()).string();
}

} // namespace talvo
