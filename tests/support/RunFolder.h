#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace talvo::test {

// A folder of a fuzzing run's own, made from Template ("/tmp/NAME-XXXXXX") and removed when the
// run ends; Path is empty when it could not be made.
struct TRunFolder {
    std::string Path;
    explicit TRunFolder(std::string Template) { Path = mkdtemp(Template.data()) ? Template : ""; }
    ~TRunFolder() {
        if (!Path.empty()) {
            std::filesystem::remove_all(Path);
        }
    }
    TRunFolder(const TRunFolder&) = delete;
    TRunFolder& operator=(const TRunFolder&) = delete;
};

} // namespace talvo::test
