#pragma once

#include <cstdio>
#include <memory>

namespace talvo {

struct TFileCloser {
    void operator()(std::FILE* File) const { std::fclose(File); }
};

// An open stdio stream, closed when the handle goes.
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

} // namespace talvo
